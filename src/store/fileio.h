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

    bool operator==(const FileIdentity &) const = default;
};

FileIdentity IdentityOf(const struct stat &info);

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
LoadResult LoadFile(const std::string &path);

struct SaveResult
{
    bool ok = false;
    // Not saved because the file on disk is no longer the version that was read.
    bool changedOnDisk = false;
    std::string reason; // path and cause, when not ok
    // The saved file's identity, set whenever the new version is in place (also when only
    // the final directory sync failed); pass it as `expected` to the next save.
    std::optional<FileIdentity> identity;
};

// Replaces the file at `path` by `bytes` so that at every instant the file is complete,
// either its previous version or the new one; the previous version becomes the backup
// (BackupPath). A symbolic link is followed: the file and its backup live beside the
// target. The file keeps its owner, group and mode; the backup keeps the mode too.
//
// `expected` is the identity of the version the caller read, nullopt when it found no
// file. When the file on disk differs from it (changed, replaced, created or removed by
// another program since) nothing is written and the result is changedOnDisk, unless
// `force`, which saves anyway with the version found going to the backup.
//
// Any failure leaves the file and its backup as they were and removes every temporary
// file, with one exception the reason states: when the file was replaced but its
// directory could not be synced, the new version is in place but not known to be
// durable. Targets that are not regular files are refused.
SaveResult SaveFileAtomically(const std::string &path, std::string_view bytes,
                              const std::optional<FileIdentity> &expected, bool force,
                              FileOps &ops = SystemFileOps());

} // namespace dvw
