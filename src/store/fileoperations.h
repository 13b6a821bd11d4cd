#pragma once

#include "core/tdate.h"
#include "fileio.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dvw {

class TApptDocument;

// The whole-file operations of the file view (and dayvane-cli mark, archive): marks on
// lines, and lines copied to or taken from another file. Marks live in the line table
// only; they are never written.

// Marks every line whose dates all lie before today: a monthly line of one year once the
// main date's day of December has passed; a single appointment (and its following days)
// once they have passed, unless it nags; a repeating line with an end date once that has
// passed. Notes, definitions, birthdays and every-n-months lines are never outdated.
// Marks already set stay. How many lines this marked that were not marked before.
int MarkOutdated(TApptDocument &doc, TDate today);
// Marks every line whose text contains `what`, letter case aside. An empty `what` marks
// nothing (it would mark every line for archiving). How many lines this newly marked.
int MarkMatching(TApptDocument &doc, std::string_view what);
void ClearMarks(TApptDocument &doc);
int CountMarked(const TApptDocument &doc);
// The table positions of the marked lines, in file order.
std::vector<std::int32_t> MarkedLines(const TApptDocument &doc);

// The first line after `from` (exclusive) through the last whose text contains `what`,
// letter case aside; -1 when there is none or `what` is empty. The search does not wrap.
std::int32_t NextMatchingLine(const TApptDocument &doc, std::int32_t from, std::string_view what);

// The archive file of a document: `archiveFile` as given when absolute, else beside the
// document (an untitled document: relative to the current directory).
std::string ArchivePath(const std::string &documentPath, const std::string &archiveFile);

// Files the lines must never be appended to: the open documents and their backups. Each
// is known by device and inode when it exists, and by its name with links and "." and
// ".." resolved, so that a backup that does not exist yet is refused too.
struct ProtectedFiles
{
    struct Key
    {
        std::uint64_t dev = 0;
        std::uint64_t ino = 0;
        bool operator==(const Key &) const = default;
    };
    std::vector<Key> keys;
    std::vector<std::string> names;
};
// The protected files of the documents at these paths (untitled documents have none).
ProtectedFiles ProtectedFilesOf(const std::vector<std::string> &documentPaths,
                                FileOps &ops = SystemFileOps());
// Why the target must not be written to, empty when it may.
std::string RefusedTarget(const std::string &target, const ProtectedFiles &protectedFiles,
                          FileOps &ops = SystemFileOps());

struct CopyMarkedResult
{
    bool ok = false;
    int written = 0; // marked lines written
    std::string target; // the path written to, absolute
    std::string reason; // naming the path, when !ok
    std::string warning; // when ok: what went wrong after the target was in place
};

// The bytes of a target after the texts are appended to `old`: one final Ctrl-Z of `old`
// is dropped, a CR LF goes in first when `old` does not end in a line end, and the texts
// are written as a save writes them (continuation lines, a leading blank where the file
// would join a text to the line before).
std::string AppendedFileBytes(std::string_view old, const std::vector<std::string> &texts);

// Appends the marked lines, in file order, to `target` (created when missing), atomically:
// at every instant the target holds its old content or the old content plus the new lines.
// No backup is made of it. The document is not changed. Refused when the target is
// protected; a target another program changes meanwhile is not overwritten.
CopyMarkedResult AppendMarkedTo(const TApptDocument &doc, const std::string &target,
                                const ProtectedFiles &protectedFiles,
                                FileOps &ops = SystemFileOps());

struct AppendFromResult
{
    bool ok = false;
    int added = 0; // lines added to the document
    std::string reason; // naming the path, when !ok
};

// Reads `source` as the document reads its own file (continuations joined, a final Ctrl-Z
// dropped) and adds its lines at the end of the document. A source that is no regular file,
// cannot be read or holds NUL bytes (not a text file) adds nothing.
AppendFromResult AppendLinesFrom(TApptDocument &doc, const std::string &source,
                                 FileOps &ops = SystemFileOps());

} // namespace dvw
