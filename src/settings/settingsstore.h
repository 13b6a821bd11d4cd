#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

class QSettings;

namespace dvw {

// The outcome of a batch of settings writes: ok, or a reason a user can read (naming
// the file).
struct StoreResult
{
    bool ok = true;
    std::string reason;

    static StoreResult failure(std::string why) { return {false, std::move(why)}; }
};

// Larger settings files are ignored: a real one holds a few kilobytes.
inline constexpr std::int64_t kMaxSettingsFileSize = 1024 * 1024;

// The folder that holds the settings files: DAYVANE_CONFIG_DIR when set, else
// $XDG_CONFIG_HOME/dayvane (an absolute XDG_CONFIG_HOME only), else ~/.config/dayvane.
// Takes the three environment values (null or empty means unset).
std::string settingsDirectoryFrom(const char *dayvaneConfigDir, const char *xdgConfigHome,
                                  const char *home);
// The same, from this process's environment.
std::string settingsDirectory();
// "DVW.conf", or with a profile number n "DVW<n>.conf": each profile is a separate,
// complete set of settings.
std::string settingsFileName(std::optional<int> profile);

// The per-user store of named setting values, an INI file. Each batch of reads or writes
// is bracketed by open() and close(); nothing stays open between batches, so another
// running copy of the program sees every change. Reading never fails and never writes:
// a missing or unreadable value gives the caller's default.
class SettingsStore
{
public:
    // The store of the profile (none: the main one) in settingsDirectory().
    explicit SettingsStore(std::optional<int> profile = std::nullopt);
    // The store in one given file.
    static SettingsStore atPath(std::string path);
    SettingsStore(SettingsStore &&) noexcept;
    SettingsStore &operator=(SettingsStore &&) noexcept;
    ~SettingsStore();

    const std::string &filePath() const { return m_path; }
    // Where a malformed file (one the INI writer would not rewrite unchanged: a broken
    // line, a comment, bytes that are no UTF-8) is copied before the first write
    // rewrites it.
    std::string malformedCopyPath() const { return m_path + ".bad"; }

    // Starts a batch. Creates the folder and an empty file when they are missing, so the
    // store exists afterwards. When it cannot be created or read, reads still answer with
    // their defaults and the reason is returned.
    StoreResult open();
    // Ends the batch: what was written in it goes to the file. A write that did not reach
    // the file (a read-only folder or file, a full disk) makes this a failure.
    StoreResult close();
    bool isOpen() const { return m_open; }

    // Whether the file exists but this batch ignores it (not a regular file, larger than
    // kMaxSettingsFileSize, or unreadable), and why, naming the file; empty otherwise. Such
    // a file is never written over.
    const std::string &ignoredReason() const { return m_ignoredReason; }

    // The stored text of a value; nullopt when it is missing or no text.
    std::optional<std::string> readStored(std::string_view name) const;
    int readInt(std::string_view name, int fallback) const;
    std::string readText(std::string_view name, const std::string &fallback) const;
    double readReal(std::string_view name, double fallback) const;

    void writeInt(std::string_view name, int value);
    void writeText(std::string_view name, const std::string &value);
    // Stored as text with two decimals.
    void writeReal(std::string_view name, double value);

private:
    struct PathTag
    { };
    // Which file is at a path, with its size and modification time.
    struct FileStamp
    {
        bool exists = false;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t seconds = 0;
        std::int64_t nanoseconds = 0;

        bool operator==(const FileStamp &) const = default;
    };
    static FileStamp stampOf(const std::string &path);

    SettingsStore(std::string path, PathTag);

    void write(std::string_view name, const std::string &text);
    StoreResult keepMalformedCopy() const;

    std::string m_path;
    bool m_open = false;
    std::unique_ptr<QSettings> m_settings; // null in a batch that ignores the file
    std::string m_ignoredReason;
    bool m_wroteInBatch = false;
    FileStamp m_beforeWrites; // the file as this batch's first write found it
    // A write this batch refused (the file could not be read, or no copy of a malformed
    // file could be kept); close() reports it.
    StoreResult m_refused;
    bool m_malformed = false;
    bool m_unreadable = false;
    bool m_keptCopy = false;
};

} // namespace dvw
