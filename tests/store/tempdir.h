#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace dvw::test {

// A fresh directory for one test, removed with everything in it afterwards.
class TempDir
{
public:
    TempDir()
    {
        std::string pattern
            = (std::filesystem::temp_directory_path() / "dvw-store-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::string &path() const { return m_path; }
    std::string file(const std::string &name) const { return m_path + "/" + name; }

    // The names in the directory, so a test can see that no temporary file stayed.
    std::set<std::string> names() const
    {
        std::set<std::string> result;
        for (const auto &entry : std::filesystem::directory_iterator(m_path))
            result.insert(entry.path().filename().string());
        return result;
    }

private:
    std::string m_path;
};

inline void writeBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// What inChild returns when the child could not become the user asked for.
inline constexpr int CouldNotSwitchUser = 99;

// Runs `body` in a child process (as `asUser`, group too, when given and the test runs
// as root) and returns its exit status, or -1 when the child did not end normally.
template<typename Body>
int inChild(Body body, uid_t asUser = 0)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (asUser != 0 && ::geteuid() == 0 && (::setgid(asUser) != 0 || ::setuid(asUser) != 0))
            ::_exit(CouldNotSwitchUser);
        ::_exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// Runs body(0) .. body(count - 1) in child processes at the same time; the sum of their
// exit statuses, or -1 when one did not end normally.
template<typename Body>
int sumOfChildren(int count, Body body)
{
    std::vector<pid_t> children;
    for (int i = 0; i < count; ++i) {
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(body(i));
        children.push_back(child);
    }
    int sum = 0;
    for (const pid_t child : children) {
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
            sum = -1;
        else if (sum >= 0)
            sum += WEXITSTATUS(status);
    }
    return sum;
}

} // namespace dvw::test
