#include "settingsstore.h"

#include "settingvalue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace dvw {

namespace {

QString qtText(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string stdText(const QString &text)
{
    return text.toUtf8().toStdString();
}

bool isSet(const char *value)
{
    return value != nullptr && *value != '\0';
}

// A stored value as text. A value typed by hand with a comma and no quotes comes back
// from the INI reader as a list; it still means the text the user typed, and the list
// items are rejoined the way the font values are written ("Arial, 12").
std::optional<QString> textOf(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QStringList:
        return value.toStringList().join(QStringLiteral(", "));
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return std::nullopt; // no value, or a serialised object that is no setting
    }
}

StoreResult createEmptyFile(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return {};
    if (QFileInfo::exists(path)) // made meanwhile by another copy of the program
        return {};
    return StoreResult::failure("could not create the settings file " + stdText(path) + ": "
                                + stdText(file.errorString()));
}

bool fileSurvivesRewrite(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true; // nothing there to lose
    const QByteArray text = file.readAll();
    return settingsTextSurvivesRewrite(
        std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
}

// Why an existing file at the path must not be read, or nullopt when it may be (or is
// missing). Opening a FIFO would wait for a writer forever and a device may never end, so
// only a regular file of a settings file's size is read; the check follows symlinks.
std::optional<std::string> unsafeFileReason(const std::string &path)
{
    struct stat info = {};
    if (stat(path.c_str(), &info) != 0)
        return std::nullopt;
    if (S_ISDIR(info.st_mode))
        return std::nullopt; // reported as a folder
    if (!S_ISREG(info.st_mode))
        return "ignoring the settings file " + path + ": it is not a regular file";
    if (info.st_size > kMaxSettingsFileSize)
        return "ignoring the settings file " + path + ": it is larger than "
            + std::to_string(kMaxSettingsFileSize / 1024) + " KB";
    return std::nullopt;
}

} // namespace

std::string settingsDirectoryFrom(const char *dayvaneConfigDir, const char *xdgConfigHome,
                                  const char *home)
{
    if (isSet(dayvaneConfigDir))
        return dayvaneConfigDir;
    if (isSet(xdgConfigHome) && xdgConfigHome[0] == '/')
        return std::string(xdgConfigHome) + "/dayvane";
    return std::string(isSet(home) ? home : "") + "/.config/dayvane";
}

std::string settingsDirectory()
{
    const std::string home = stdText(QDir::homePath());
    return settingsDirectoryFrom(std::getenv("DAYVANE_CONFIG_DIR"), std::getenv("XDG_CONFIG_HOME"),
                                 home.c_str());
}

std::string settingsFileName(std::optional<int> profile)
{
    return profile ? "DVW" + std::to_string(*profile) + ".conf" : "DVW.conf";
}

SettingsStore::SettingsStore(std::optional<int> profile)
    : m_path(settingsDirectory() + "/" + settingsFileName(profile))
{ }

SettingsStore::SettingsStore(std::string path, PathTag)
    : m_path(std::move(path))
{ }

SettingsStore SettingsStore::atPath(std::string path)
{
    return SettingsStore(std::move(path), PathTag {});
}

SettingsStore::FileStamp SettingsStore::stampOf(const std::string &path)
{
    struct stat info = {};
    if (stat(path.c_str(), &info) != 0)
        return {};
    return {true,
            static_cast<std::uint64_t>(info.st_dev),
            static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec),
            static_cast<std::int64_t>(info.st_mtim.tv_nsec)};
}

SettingsStore::SettingsStore(SettingsStore &&) noexcept = default;
SettingsStore &SettingsStore::operator=(SettingsStore &&) noexcept = default;
SettingsStore::~SettingsStore() = default;

StoreResult SettingsStore::open()
{
    if (isOpen())
        return {};
    m_open = true;
    m_wroteInBatch = false;
    m_refused = {};
    m_keptCopy = false;
    m_malformed = false;
    m_unreadable = false;
    m_ignoredReason.clear();

    if (std::optional<std::string> unsafe = unsafeFileReason(m_path)) {
        m_unreadable = true;
        m_ignoredReason = std::move(*unsafe);
        return StoreResult::failure(m_ignoredReason);
    }
    const QString path = qtText(m_path);
    const QFileInfo info(path);
    StoreResult result;
    if (!QDir().mkpath(info.absolutePath()))
        result = StoreResult::failure("could not create the settings folder "
                                      + stdText(info.absolutePath()));
    else if (info.isDir())
        result = StoreResult::failure("the settings file " + m_path + " is a folder");
    else
        result = createEmptyFile(path);

    m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    (void)m_settings->allKeys(); // sections are parsed on first use; parse them all now
    // The INI reader remembers a parsed file within the process and reports its format
    // error only once, so the text is judged here every time.
    m_malformed = m_settings->status() == QSettings::FormatError || !fileSurvivesRewrite(path);
    m_unreadable = m_settings->status() == QSettings::AccessError && QFileInfo::exists(path);
    if (m_unreadable)
        m_ignoredReason = "could not read the settings file " + m_path;
    if (result.ok && m_unreadable)
        result = StoreResult::failure(m_ignoredReason);
    return result;
}

StoreResult SettingsStore::close()
{
    if (!isOpen())
        return {};
    StoreResult result = m_refused;
    if (result.ok && m_wroteInBatch) {
        // The INI writer replaces the file through a new one (perhaps already, from an
        // event loop); a file left as it was before the first write means the write
        // failed, even where the writer's status still shows an earlier format error.
        m_settings->sync();
        if (m_settings->status() == QSettings::AccessError || stampOf(m_path) == m_beforeWrites)
            result = StoreResult::failure("could not write the settings file " + m_path);
    }
    m_settings.reset();
    m_open = false;
    m_wroteInBatch = false;
    return result;
}

std::optional<std::string> SettingsStore::readStored(std::string_view name) const
{
    if (!m_settings)
        return std::nullopt;
    const std::optional<QString> text = textOf(m_settings->value(qtText(name)));
    if (!text)
        return std::nullopt;
    return stdText(*text);
}

int SettingsStore::readInt(std::string_view name, int fallback) const
{
    const std::optional<std::string> text = readStored(name);
    if (!text)
        return fallback;
    return parseIntValue(*text).value_or(fallback);
}

std::string SettingsStore::readText(std::string_view name, const std::string &fallback) const
{
    return readStored(name).value_or(fallback);
}

double SettingsStore::readReal(std::string_view name, double fallback) const
{
    const std::optional<std::string> text = readStored(name);
    if (!text)
        return fallback;
    return parseRealValue(*text).value_or(fallback);
}

void SettingsStore::writeInt(std::string_view name, int value)
{
    write(name, std::to_string(value));
}

void SettingsStore::writeText(std::string_view name, const std::string &value)
{
    write(name, value);
}

void SettingsStore::writeReal(std::string_view name, double value)
{
    write(name, formatRealValue(value));
}

void SettingsStore::write(std::string_view name, const std::string &text)
{
    if (!isOpen() || !m_refused.ok)
        return;
    if (m_unreadable) {
        // Writing would replace the whole file with only the values written here.
        m_refused = StoreResult::failure("not writing the settings file " + m_path
                                         + ": it could not be read");
        return;
    }
    if (m_malformed && !m_keptCopy) {
        // The writer rewrites the whole file and drops what it could not parse.
        m_refused = keepMalformedCopy();
        if (!m_refused.ok)
            return;
        m_keptCopy = true;
    }
    if (!m_wroteInBatch)
        m_beforeWrites = stampOf(m_path);
    m_settings->setValue(qtText(name), qtText(text));
    m_wroteInBatch = true;
}

StoreResult SettingsStore::keepMalformedCopy() const
{
    std::error_code error;
    std::filesystem::copy_file(m_path, malformedCopyPath(),
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error)
        return StoreResult::failure("not writing the settings file " + m_path
                                    + ": could not keep a copy of it as " + malformedCopyPath()
                                    + ": " + error.message());
    return {};
}

} // namespace dvw
