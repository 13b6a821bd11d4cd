#include "fileoperations.h"

#include "core/apptinfo.h"
#include "core/linereader.h"
#include "filerules.h"
#include "tapptdocument.h"
#include "textmatch.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace dvw {

namespace {

constexpr char CtrlZ = 26;

// A deleted line ("~") is never marked: saving drops it anyway.
bool markable(const TimeString &line)
{
    return !line.text.starts_with('~');
}

bool isOutdated(const ApptInfo &info, TDate today)
{
    switch (info.kind) {
    case CategoryLine:
    case Note:
    case Birthday:
    case EveryNMonths:
    case Unscheduled:
        return false;
    case MonthlyInYear: {
        if (!info.mainDate.isValid())
            return false;
        const TDate lastInYear(info.mainDate.DayOfMonth(), 12, info.mainDate.Year());
        return lastInYear.isValid() && lastInYear < today;
    }
    case Single:
    case SingleShowFollowing: {
        if (!info.mainDate.isValid() || info.nag)
            return false;
        const std::uint64_t lastDay = std::uint64_t {info.mainDate.dayNumber}
            + static_cast<std::uint32_t>(std::max(info.showFollowing, 0));
        return lastDay < today.dayNumber;
    }
    default:
        return info.hasEnd && info.endDate.isValid() && info.endDate < today;
    }
}

std::string absoluteName(const std::string &path)
{
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    return absolute.empty() ? path : absolute.lexically_normal().string();
}

// The name with links, "." and ".." resolved as far as the path exists. Made absolute
// first: a relative name none of whose parts exists would otherwise stay relative.
std::string canonicalName(const std::string &path)
{
    std::error_code ignored;
    const std::filesystem::path canonical
        = std::filesystem::weakly_canonical(absoluteName(path), ignored);
    return canonical.empty() ? absoluteName(path) : canonical.string();
}

void addKey(ProtectedFiles &files, const std::string &path, FileOps &ops)
{
    struct stat info = {};
    if (ops.stat(path.c_str(), &info) == 0)
        files.keys.push_back(
            {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)});
}

} // namespace

int MarkOutdated(TApptDocument &doc, TDate today)
{
    int marked = 0;
    std::vector<TimeString> &lines = doc.lineTable();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        TimeString &line = lines[i];
        if (line.marked || !markable(line))
            continue;
        ApptInfo info(static_cast<std::int32_t>(i));
        ReadAppt(info, doc, line);
        if (isOutdated(info, today)) {
            line.marked = true;
            ++marked;
        }
    }
    return marked;
}

int MarkMatching(TApptDocument &doc, std::string_view what)
{
    if (what.empty())
        return 0;
    int marked = 0;
    for (TimeString &line : doc.lineTable()) {
        if (!line.marked && markable(line) && ContainsFolded(line.text, what)) {
            line.marked = true;
            ++marked;
        }
    }
    return marked;
}

void ClearMarks(TApptDocument &doc)
{
    for (TimeString &line : doc.lineTable())
        line.marked = false;
}

int CountMarked(const TApptDocument &doc)
{
    return static_cast<int>(std::count_if(doc.lines().begin(), doc.lines().end(),
                                          [](const TimeString &line) { return line.marked; }));
}

std::vector<std::int32_t> MarkedLines(const TApptDocument &doc)
{
    std::vector<std::int32_t> marked;
    for (std::size_t i = 0; i < doc.lines().size(); ++i) {
        if (doc.lines()[i].marked)
            marked.push_back(static_cast<std::int32_t>(i));
    }
    return marked;
}

std::int32_t NextMatchingLine(const TApptDocument &doc, std::int32_t from, std::string_view what)
{
    if (what.empty())
        return -1;
    const std::vector<TimeString> &lines = doc.lines();
    for (std::size_t i = static_cast<std::size_t>(std::max(from + 1, 0)); i < lines.size(); ++i) {
        if (ContainsFolded(lines[i].text, what))
            return static_cast<std::int32_t>(i);
    }
    return -1;
}

std::string ArchivePath(const std::string &documentPath, const std::string &archiveFile)
{
    if (archiveFile.starts_with('/'))
        return archiveFile;
    const std::size_t slash = documentPath.rfind('/');
    if (slash == std::string::npos)
        return archiveFile;
    return documentPath.substr(0, slash + 1) + archiveFile;
}

ProtectedFiles ProtectedFilesOf(const std::vector<std::string> &documentPaths, FileOps &ops)
{
    ProtectedFiles files;
    for (const std::string &path : documentPaths) {
        if (path.empty())
            continue;
        const std::string name = canonicalName(path);
        const std::string backup = BackupPath(name);
        files.names.push_back(name);
        files.names.push_back(backup);
        addKey(files, path, ops);
        addKey(files, backup, ops);
    }
    return files;
}

std::string RefusedTarget(const std::string &target, const ProtectedFiles &protectedFiles,
                          FileOps &ops)
{
    const std::string refusal = "is an open appointment file or its backup; nothing was written";
    const std::string name = canonicalName(target);
    if (std::find(protectedFiles.names.begin(), protectedFiles.names.end(), name)
        != protectedFiles.names.end())
        return refusal;
    struct stat info = {};
    if (ops.stat(target.c_str(), &info) != 0) {
        // A target that cannot be looked up cannot be told from an open document.
        if (errno == ENOENT)
            return {};
        return "cannot look up the file: " + std::generic_category().message(errno);
    }
    const ProtectedFiles::Key key {static_cast<std::uint64_t>(info.st_dev),
                                   static_cast<std::uint64_t>(info.st_ino)};
    if (std::find(protectedFiles.keys.begin(), protectedFiles.keys.end(), key)
        != protectedFiles.keys.end())
        return refusal;
    return {};
}

std::string AppendedFileBytes(std::string_view old, const std::vector<std::string> &texts)
{
    std::string out(old);
    if (!out.empty() && out.back() == CtrlZ)
        out.pop_back();
    if (out.empty())
        return JoinFileText(texts);
    if (out.back() != '\n')
        out += "\r\n";
    // Written as the lines after a first one, so that a text the file would join to the
    // line before gets its leading blank.
    std::vector<std::string> withFirst;
    withFirst.reserve(texts.size() + 1);
    withFirst.emplace_back("x");
    withFirst.insert(withFirst.end(), texts.begin(), texts.end());
    out.append(JoinFileText(withFirst), 3);
    return out;
}

CopyMarkedResult AppendMarkedTo(const TApptDocument &doc, const std::string &target,
                                const ProtectedFiles &protectedFiles, FileOps &ops)
{
    CopyMarkedResult result;
    // Named in full in every message: the user may not know which directory a relative
    // name meant.
    result.target = absoluteName(target);
    const std::string &path = result.target;
    if (const std::string refusal = RefusedTarget(path, protectedFiles, ops); !refusal.empty()) {
        result.reason = path + ": " + refusal;
        return result;
    }
    std::vector<std::string> texts;
    for (const std::int32_t line : MarkedLines(doc)) {
        const std::string &text = doc.lines()[static_cast<std::size_t>(line)].text;
        if (markable(doc.lines()[static_cast<std::size_t>(line)]))
            texts.push_back(text);
    }
    if (texts.empty()) {
        result.ok = true;
        return result;
    }
    const SaveLock lock = LockForSave(path, ops);
    if (!lock.held()) {
        result.reason = lock.reason();
        return result;
    }
    const LoadResult old = LoadFile(path, ops);
    if (old.status == LoadResult::Failed) {
        result.reason = old.reason;
        return result;
    }
    std::optional<FileIdentity> expected;
    if (old.status == LoadResult::Loaded)
        expected = old.identity;
    const SaveResult saved = SaveFileAtomically(path, AppendedFileBytes(old.bytes, texts), expected,
                                                false, ops, &lock, Backup::None);
    result.ok = saved.ok;
    result.reason = saved.reason;
    result.warning = saved.warning;
    if (saved.ok)
        result.written = static_cast<int>(texts.size());
    return result;
}

AppendFromResult AppendLinesFrom(TApptDocument &doc, const std::string &source, FileOps &ops)
{
    AppendFromResult result;
    const LoadResult file = LoadFile(source, ops);
    if (file.status == LoadResult::Missing) {
        result.reason = source + ": " + std::generic_category().message(ENOENT);
        return result;
    }
    if (file.status == LoadResult::Failed) {
        result.reason = file.reason;
        return result;
    }
    if (file.bytes.find('\0') != std::string::npos) {
        result.reason = source + ": holds NUL bytes, so it is not an appointment file";
        return result;
    }
    const std::vector<std::string> texts = SplitFileText(file.bytes);
    doc.AppendLines(texts);
    result.ok = true;
    result.added = static_cast<int>(texts.size());
    return result;
}

} // namespace dvw
