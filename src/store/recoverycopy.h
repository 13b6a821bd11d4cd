#pragma once

#include "fileio.h"
#include "fileops.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dvw {

// An unsaved document's lines kept beside the program while it runs, so that a crash (or
// a power cut, or a logout) loses at most the last few seconds of work. The copy is a
// file of its own in the user's state folder; it is read back only when the user agrees.
struct RecoveryCopy
{
    // The document's file, absolute; empty for an untitled document.
    std::string path;
    // The version of the file the lines started from (read or last saved); none when there
    // was no file.
    std::optional<FileIdentity> base;
    // The program that wrote the copy: while it runs, the copy is its own and not offered.
    std::int64_t pid = 0;
    std::vector<std::string> lines;

    bool operator==(const RecoveryCopy &) const = default;
};

// The bytes of a copy: a short header, then the lines as the file would hold them.
std::string RecoveryCopyBytes(const RecoveryCopy &copy);
// The copy these bytes hold; none for bytes that are not a whole copy (another file, a
// copy cut short). The lines come back as the file would give them.
std::optional<RecoveryCopy> ReadRecoveryCopy(std::string_view bytes);

// The folder of the copies: $XDG_STATE_HOME/dayvane when that is an absolute path, else
// $HOME/.local/state/dayvane; empty when neither is known.
std::string RecoveryDirectory(const char *xdgStateHome, const char *home);

// The file name of a document's copy within the folder. One file and profile always give
// the same name; two files of the same name in different folders, and two profiles, give
// different ones. An untitled document is named by `untitledId`, unique while it runs.
std::string RecoveryFileName(const std::string &documentPath, std::optional<std::uint32_t> profile,
                             std::string_view untitledId);
// Whether a file of the folder is a copy of this profile's.
bool IsRecoveryFileOf(std::string_view fileName, std::optional<std::uint32_t> profile);

// What is known at start about one copy found in the folder.
struct RecoveryFacts
{
    bool untitled = false;
    // The copy's writer is still running (another instance of the program).
    bool writerRunning = false;
    std::optional<FileIdentity> base; // the copy's
    std::optional<FileIdentity> onDisk; // the file's now; none when it is not there
    // The file now holds exactly the copy's lines.
    bool sameLinesAsFile = false;
};

enum class RecoveryAction {
    Leave, // another running program's copy
    Discard, // nothing in it that the file lacks
    Offer, // the file is as the lines started from it
    OfferChanged, // another program changed the file since: the question says so
    OfferGone, // the file went since: the question says so
};

// The one decision about a copy at start. A copy is only ever offered, never applied.
RecoveryAction DecideRecovery(const RecoveryFacts &facts);

// What the copy changes against the file, for the question: "- line" for a line the copy
// lacks and "+ line" for one it adds, at most `maxLines` of them, each cut to
// `maxCharacters` characters, then a count of the lines left out.
std::string RecoveryDifference(const std::vector<std::string> &fileLines,
                               const std::vector<std::string> &copyLines, std::size_t maxLines,
                               std::size_t maxCharacters);

// Writes the copy atomically into the folder, making the folder (mode 0700) when it is
// missing; the file is either the previous copy or the new one at every instant.
SaveResult WriteRecoveryCopy(const std::string &directory, const std::string &fileName,
                             const RecoveryCopy &copy, FileOps &ops = SystemFileOps());
// Removes a copy; a copy that is not there is fine.
bool RemoveRecoveryCopy(const std::string &directory, const std::string &fileName,
                        FileOps &ops = SystemFileOps());
// Gives a copy another name of the same profile (with `tag` in it), so that the document
// it belongs to can keep its own copy meanwhile; the new name, or empty when it failed.
std::string SetRecoveryCopyAside(const std::string &directory, const std::string &fileName,
                                 std::string_view tag, FileOps &ops = SystemFileOps());
// The copies of the profile in the folder, by file name.
std::vector<std::string> RecoveryFileNames(const std::string &directory,
                                           std::optional<std::uint32_t> profile,
                                           FileOps &ops = SystemFileOps());

// A copy found in the folder, with the facts about it.
struct FoundRecovery
{
    std::string fileName;
    RecoveryCopy copy;
    RecoveryFacts facts;
    std::vector<std::string> fileLines; // the file's lines now, when it could be read
};
// Every copy of the profile in the folder, read and looked at. `selfPid` is this program:
// its own copies count as nobody's. Files that are no copy are left alone.
std::vector<FoundRecovery> FindRecoveryCopies(const std::string &directory,
                                              std::optional<std::uint32_t> profile,
                                              std::int64_t selfPid, FileOps &ops = SystemFileOps());

} // namespace dvw
