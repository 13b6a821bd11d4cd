#pragma once

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace dvw::test {

// A fresh settings folder for one test: DAYVANE_CONFIG_DIR points at it while the object
// lives, and it is removed afterwards, so no test touches a user's real settings.
class TempSettingsDir
{
public:
    TempSettingsDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "dvw-settings-XXXXXX");
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        m_path = pattern;
        if (const char *old = std::getenv("DAYVANE_CONFIG_DIR"))
            m_previous = old;
        setenv("DAYVANE_CONFIG_DIR", m_path.c_str(), 1);
    }
    ~TempSettingsDir()
    {
        if (m_previous)
            setenv("DAYVANE_CONFIG_DIR", m_previous->c_str(), 1);
        else
            unsetenv("DAYVANE_CONFIG_DIR");
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempSettingsDir(const TempSettingsDir &) = delete;
    TempSettingsDir &operator=(const TempSettingsDir &) = delete;

    const std::string &path() const { return m_path; }
    std::string file(const std::string &name = "DVW.conf") const { return m_path + "/" + name; }

    // The INI reader reuses a file it parsed before while its size and modification time
    // (in milliseconds) are unchanged, so every file written here gets a later time.
    void write(const std::string &text, const std::string &name = "DVW.conf") const
    {
        std::ofstream(file(name), std::ios::binary) << text;
        static int rewrites = 0;
        std::filesystem::last_write_time(file(name),
                                         std::filesystem::file_time_type::clock::now()
                                             + std::chrono::seconds(++rewrites));
    }
    std::string read(const std::string &name = "DVW.conf") const
    {
        std::ifstream in(file(name), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool exists(const std::string &name = "DVW.conf") const
    {
        return std::filesystem::exists(file(name));
    }

private:
    std::string m_path;
    std::optional<std::string> m_previous;
};

} // namespace dvw::test
