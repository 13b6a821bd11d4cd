#include "recoverycopy.h"

#include "filerules.h"
#include "linechange.h"
#include "textmatch.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>

namespace dvw {

namespace {

constexpr std::string_view magic = "Dayvane recovery copy 1\n";
constexpr std::string_view extension = ".recovery";
// The readable part of a file name kept in a copy's name.
constexpr std::size_t maxNameCharacters = 40;

// FNV-1a, 64 bits: two paths that differ give different names in all but a freak case.
std::uint64_t pathHash(std::string_view path)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : path) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::string hex(std::uint64_t value)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = digits[value & 0xf];
    return text;
}

std::string profileTag(std::optional<std::uint32_t> profile)
{
    return profile ? "p" + std::to_string(*profile) : std::string("main");
}

// The file name's own part, in characters any file system takes.
std::string safeName(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    name = name.substr(0, maxNameCharacters);
    std::string safe;
    for (const char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
            || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
        safe += plain ? c : '_';
    }
    return safe;
}

// Reads the header: one "key value" line at a time from the cursor.
class HeaderReader
{
public:
    explicit HeaderReader(std::string_view bytes)
        : m_rest(bytes)
    { }

    bool literal(std::string_view text)
    {
        if (m_rest.substr(0, text.size()) != text)
            return false;
        m_rest.remove_prefix(text.size());
        return true;
    }
    template<typename Number>
    bool number(Number &value)
    {
        const auto [end, error]
            = std::from_chars(m_rest.data(), m_rest.data() + m_rest.size(), value);
        if (error != std::errc())
            return false;
        m_rest.remove_prefix(static_cast<std::size_t>(end - m_rest.data()));
        return true;
    }
    // `length` bytes as they are.
    bool bytes(std::size_t length, std::string &out)
    {
        if (m_rest.size() < length)
            return false;
        out.assign(m_rest.substr(0, length));
        m_rest.remove_prefix(length);
        return true;
    }
    std::string_view rest() const { return m_rest; }

private:
    std::string_view m_rest;
};

bool readBase(HeaderReader &in, std::optional<FileIdentity> &base)
{
    if (in.literal("base none\n"))
        return true;
    FileIdentity id;
    if (!in.literal("base ") || !in.number(id.dev) || !in.literal(" ") || !in.number(id.ino)
        || !in.literal(" ") || !in.number(id.size) || !in.literal(" ") || !in.number(id.mtime)
        || !in.literal(" ") || !in.number(id.ctime) || !in.literal("\n"))
        return false;
    base = id;
    return true;
}

std::string joinPath(const std::string &directory, const std::string &name)
{
    return directory.empty() || directory.back() == '/' ? directory + name : directory + "/" + name;
}

// Makes the folder and the ones above it that are missing.
bool makeDirectories(const std::string &directory, FileOps &ops)
{
    for (std::size_t slash = directory.find('/', 1);; slash = directory.find('/', slash + 1)) {
        const std::string part = directory.substr(0, slash);
        if (!part.empty() && ops.mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

std::string oneLine(std::string_view line, std::size_t maxCharacters)
{
    std::string text = CutToCharacters(line, maxCharacters);
    for (char &c : text) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return text;
}

bool processRuns(std::int64_t pid, std::int64_t selfPid, FileOps &ops)
{
    if (pid <= 0 || pid == selfPid)
        return false;
    return ops.kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

} // namespace

std::string RecoveryCopyBytes(const RecoveryCopy &copy)
{
    const std::string body = JoinFileText(copy.lines);
    std::string bytes(magic);
    bytes += "pid " + std::to_string(copy.pid) + "\n";
    bytes += "path " + std::to_string(copy.path.size()) + ":" + copy.path + "\n";
    if (copy.base) {
        const FileIdentity &id = *copy.base;
        bytes += "base " + std::to_string(id.dev) + " " + std::to_string(id.ino) + " "
            + std::to_string(id.size) + " " + std::to_string(id.mtime) + " "
            + std::to_string(id.ctime) + "\n";
    } else {
        bytes += "base none\n";
    }
    bytes += "lines " + std::to_string(body.size()) + "\n";
    return bytes + body;
}

std::optional<RecoveryCopy> ReadRecoveryCopy(std::string_view bytes)
{
    HeaderReader in(bytes);
    RecoveryCopy copy;
    std::size_t pathLength = 0;
    std::size_t bodyLength = 0;
    if (!in.literal(magic) || !in.literal("pid ") || !in.number(copy.pid) || !in.literal("\n")
        || !in.literal("path ") || !in.number(pathLength) || !in.literal(":")
        || !in.bytes(pathLength, copy.path) || !in.literal("\n") || !readBase(in, copy.base)
        || !in.literal("lines ") || !in.number(bodyLength) || !in.literal("\n")
        || in.rest().size() != bodyLength)
        return std::nullopt;
    copy.lines = SplitFileText(in.rest());
    return copy;
}

std::string RecoveryDirectory(const char *xdgStateHome, const char *home)
{
    if (xdgStateHome != nullptr && xdgStateHome[0] == '/')
        return std::string(xdgStateHome) + "/dayvane";
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.local/state/dayvane";
    return {};
}

std::string RecoveryFileName(const std::string &documentPath, std::optional<std::uint32_t> profile,
                             std::string_view untitledId)
{
    if (documentPath.empty())
        return profileTag(profile) + "-untitled-" + safeName(untitledId) + std::string(extension);
    return profileTag(profile) + "-" + hex(pathHash(documentPath)) + "-" + safeName(documentPath)
        + std::string(extension);
}

bool IsRecoveryFileOf(std::string_view fileName, std::optional<std::uint32_t> profile)
{
    const std::string prefix = profileTag(profile) + "-";
    return fileName.size() > prefix.size() + extension.size()
        && fileName.substr(0, prefix.size()) == prefix
        && fileName.substr(fileName.size() - extension.size()) == extension;
}

RecoveryAction DecideRecovery(const RecoveryFacts &facts)
{
    if (facts.writerRunning)
        return RecoveryAction::Leave;
    if (facts.sameLinesAsFile)
        return RecoveryAction::Discard;
    if (facts.untitled)
        return RecoveryAction::Offer;
    if (!facts.onDisk)
        return facts.base ? RecoveryAction::OfferGone : RecoveryAction::Offer;
    return facts.onDisk == facts.base ? RecoveryAction::Offer : RecoveryAction::OfferChanged;
}

std::string RecoveryDifference(const std::vector<std::string> &fileLines,
                               const std::vector<std::string> &copyLines, std::size_t maxLines,
                               std::size_t maxCharacters)
{
    std::string text;
    std::size_t shown = 0;
    std::size_t left = 0;
    const auto add = [&](char sign, const std::string &line) {
        if (shown == maxLines) {
            ++left;
            return;
        }
        if (shown++ > 0)
            text += '\n';
        text += sign;
        text += ' ';
        text += oneLine(line, maxCharacters);
    };
    for (const LineRun &run : DiffLines(fileLines, copyLines).runs) {
        for (const std::string &line : run.removed)
            add('-', line);
        for (const std::string &line : run.inserted)
            add('+', line);
    }
    if (left > 0)
        text += (text.empty() ? "(and " : "\n(and ") + std::to_string(left)
            + (left == 1 ? " more line)" : " more lines)");
    return text;
}

SaveResult WriteRecoveryCopy(const std::string &directory, const std::string &fileName,
                             const RecoveryCopy &copy, FileOps &ops)
{
    if (directory.empty() || !makeDirectories(directory, ops)) {
        SaveResult failed;
        failed.reason = directory + ": the folder for recovery copies cannot be made";
        return failed;
    }
    return SaveFileAtomically(joinPath(directory, fileName), RecoveryCopyBytes(copy), std::nullopt,
                              true, ops, nullptr, Backup::None);
}

bool RemoveRecoveryCopy(const std::string &directory, const std::string &fileName, FileOps &ops)
{
    return ops.unlink(joinPath(directory, fileName).c_str()) == 0 || errno == ENOENT;
}

std::string SetRecoveryCopyAside(const std::string &directory, const std::string &fileName,
                                 std::string_view tag, FileOps &ops)
{
    const std::size_t stem = fileName.size() - std::min(fileName.size(), extension.size());
    const std::string aside
        = fileName.substr(0, stem) + "-" + safeName(tag) + std::string(extension);
    if (ops.rename(joinPath(directory, fileName).c_str(), joinPath(directory, aside).c_str()) != 0)
        return {};
    return aside;
}

std::vector<std::string> RecoveryFileNames(const std::string &directory,
                                           std::optional<std::uint32_t> profile, FileOps &ops)
{
    std::vector<std::string> names;
    if (directory.empty() || ops.listDirectory(directory.c_str(), names) != 0)
        return {};
    std::erase_if(names, [profile](const std::string &n) { return !IsRecoveryFileOf(n, profile); });
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<FoundRecovery> FindRecoveryCopies(const std::string &directory,
                                              std::optional<std::uint32_t> profile,
                                              std::int64_t selfPid, FileOps &ops)
{
    std::vector<FoundRecovery> found;
    for (const std::string &name : RecoveryFileNames(directory, profile, ops)) {
        const LoadResult loaded = LoadFile(joinPath(directory, name), ops);
        std::optional<RecoveryCopy> copy;
        if (loaded.status == LoadResult::Loaded)
            copy = ReadRecoveryCopy(loaded.bytes);
        if (!copy)
            continue;
        FoundRecovery f {name, std::move(*copy), {}, {}};
        f.facts.untitled = f.copy.path.empty();
        f.facts.writerRunning = processRuns(f.copy.pid, selfPid, ops);
        f.facts.base = f.copy.base;
        if (!f.facts.untitled) {
            const LoadResult file = LoadFile(f.copy.path, ops);
            if (file.status == LoadResult::Loaded) {
                f.facts.onDisk = file.identity;
                f.fileLines = SplitFileText(file.bytes);
            } else if (file.status == LoadResult::Failed) {
                f.facts.onDisk = CurrentIdentity(f.copy.path, ops);
            }
        }
        f.facts.sameLinesAsFile
            = f.copy.lines == f.fileLines && (f.facts.onDisk || f.facts.untitled);
        found.push_back(std::move(f));
    }
    return found;
}

} // namespace dvw
