#pragma once

#include "fileops.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct stat;

namespace dvw {

// What tells one version of a file from another without reading it: when any of these
// differ from what was read, another program has changed or replaced the file.
struct FileIdentity
{
    std::uint64_t dev = 0;
    std::uint64_t ino = 0;
    std::int64_t size = 0;
    std::int64_t mtime = 0; // modification time, nanoseconds since the epoch
    // Change time, nanoseconds since the epoch: an edit in place that keeps the size and
    // puts the modification time back still moves it.
    std::int64_t ctime = 0;

    bool operator==(const FileIdentity &) const = default;
};

FileIdentity IdentityOf(const struct stat &info);
// The identity of what the path names now (links followed); none when nothing is there or
// it cannot be looked at.
std::optional<FileIdentity> CurrentIdentity(const std::string &path,
                                            FileOps &ops = SystemFileOps());

struct LoadResult
{
    enum Status { Loaded, Missing, Failed };
    Status status = Failed;
    std::string bytes; // the whole file, when Loaded
    FileIdentity identity; // of the version read, when Loaded
    std::string reason; // path and cause, when Failed
};

// The whole file as bytes. Only a path that does not exist (ENOENT) is Missing: a file
// that exists but cannot be read, and a directory, named pipe, device or socket, is
// Failed, with a reason naming the path and the cause. Never blocks on a named pipe.
LoadResult LoadFile(const std::string &path, FileOps &ops = SystemFileOps());

struct SaveResult
{
    // The new version is in place (possibly with a warning).
    bool ok = false;
    // Not saved because the file on disk is no longer the version that was read.
    bool changedOnDisk = false;
    // Not saved because the user may not write the file; forcing does not change that.
    bool readOnly = false;
    std::string reason; // path and cause, when not ok
    // When ok: what went wrong after the new version was in place (the directory could
    // not be synced, or the backup could not be made), naming where each version is.
    std::string warning;
    // The saved file's identity, set whenever the new version is in place; pass it as
    // `expected` to the next save.
    std::optional<FileIdentity> identity;
    // Set when a failed save left the version that was read in place but moved its change
    // time (the save gives it a second name for a moment): pass it as `expected` instead.
    std::optional<FileIdentity> unchangedIdentity;
};

// The advisory lock (flock) that every save of a file holds from the changed-on-disk
// check through the rename, on a lock file beside the file (links followed). A program
// that reads, changes and saves in one go (dayvane-cli add) takes it before reading, so
// concurrent changes of that kind queue up instead of losing each other.
class SaveLock
{
public:
    SaveLock() = default;
    ~SaveLock() { release(); }
    SaveLock(SaveLock &&other) noexcept;
    SaveLock &operator=(SaveLock &&other) noexcept;
    SaveLock(const SaveLock &) = delete;
    SaveLock &operator=(const SaveLock &) = delete;

    bool held() const { return m_fd >= 0; }
    // The file the lock guards, links followed.
    const std::string &target() const { return m_target; }
    // Why the lock could not be taken, naming the file, when !held().
    const std::string &reason() const { return m_reason; }
    // Removes the lock file and lets the next save go.
    void release();

private:
    friend class SaveLockTaker;
    FileOps *m_ops = nullptr;
    int m_fd = -1;
    std::string m_target;
    std::string m_lockPath;
    std::string m_reason;
};

// Waits about SaveLockWaitSeconds for another save of the same file to finish.
inline constexpr int SaveLockWaitSeconds = 5;

// Takes the save lock of the file `path` names, waiting for another program's save of it
// at most about SaveLockWaitSeconds. A file system without locks is saved unlocked.
SaveLock LockForSave(const std::string &path, FileOps &ops = SystemFileOps());

// Replaces the file at `path` by `bytes` so that at every instant the file is complete,
// either its previous version or the new one; the previous version becomes the backup
// (BackupPath). A symbolic link is followed: the file and its backup live beside the
// target. The file keeps its owner, group, exact mode bits and extended attributes (ACLs
// included); the backup is the previous file itself. A file the user may not write is
// not replaced (readOnly), even when forced.
//
// The save holds the SaveLock of the file from the changed-on-disk check through the
// rename, taking it itself unless `lock` is already held for the same file; when the
// lock cannot be had, nothing is saved. It removes the temporary files that saves killed
// before their rename left behind (their process is gone).
//
// `expected` is the identity of the version the caller read, nullopt when it found no
// file. When the file on disk differs from it (changed, replaced, created or removed by
// another program since) nothing is written and the result is changedOnDisk, unless
// `force`, which saves anyway with the version found going to the backup.
//
// Any failure leaves the file and its backup as they were and removes every temporary
// file. Once the new version is in place the save is ok, with a warning when the
// directory could not be synced (the new version may not survive a system crash) or
// when the backup could not be made and putting the previous version back failed too
// (the warning names the file that holds the previous version). Targets that are not
// regular files are refused.
//
// Without a backup (Backup::None) the previous version is simply replaced; that suits a
// file whose new version holds the old one whole (an archive that lines are appended to).
enum class Backup { Keep, None };
SaveResult SaveFileAtomically(const std::string &path, std::string_view bytes,
                              const std::optional<FileIdentity> &expected, bool force,
                              FileOps &ops = SystemFileOps(), const SaveLock *lock = nullptr,
                              Backup backup = Backup::Keep);

} // namespace dvw
