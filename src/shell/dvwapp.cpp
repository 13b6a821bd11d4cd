#include "dvwapp.h"

#include "platform/clock.h"
#include "platform/helpbook.h"
#include "settings/platformprobe.h"
#include "settings/settingslimits.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <climits>

namespace dvw {

namespace {

std::optional<int> profileOf(const CommandLine &line)
{
    if (!line.hasProfile)
        return std::nullopt;
    return static_cast<int>(std::min<std::uint32_t>(line.profile, INT_MAX));
}

TDate dateOf(const QDate &d)
{
    return TDate(static_cast<std::uint32_t>(d.day()), static_cast<std::uint32_t>(d.month()),
                 static_cast<std::uint32_t>(d.year()));
}

} // namespace

dvwApp::dvwApp(CommandLine commandLine, const AppServices &services)
    : m_commandLine(std::move(commandLine))
    , m_services(services)
    , m_store(profileOf(m_commandLine))
    , m_help(std::make_unique<HelpBook>(services.helpDirectory))
{
    m_settings = Settings::load(m_store, services.probe);
    m_settingsIgnored = m_store.ignoredReason();
    m_archiveFileInUse = m_settings.archiveFile;
    m_waveFileInUse = m_settings.waveFile;
    const TDate today = dateOf(clock().now().date());
    m_dateWindow = DateWindow::make(today, today, usableDays(m_settings.days));
    createFonts(services.probe.screenWidth(), 96);
}

dvwApp::~dvwApp() = default;

void dvwApp::createFonts(int screenWidth, int verticalDpi)
{
    m_screen = MeasureScreen(screenWidth, verticalDpi, m_settings.zoom);
    m_fonts = MakeScreenFonts(m_settings.fonts, m_screen);
}

DocumentSettings dvwApp::documentSettings() const
{
    DocumentSettings s;
    s.dateText = m_settings.dateText();
    s.allCategories = m_settings.allCategories;
    s.unimportant = usableUnimportantDay(m_settings.unimportant);
    s.today = m_dateWindow.today;
    s.start = m_dateWindow.start;
    s.days = m_dateWindow.days;
    s.nag = usableNagDays(m_settings.nag);
    return s;
}

QString dvwApp::startFile() const
{
    if (!m_commandLine.file.empty())
        return QString::fromLocal8Bit(m_commandLine.file.c_str());
    return QString::fromStdString(m_settings.apptFile);
}

StoreResult dvwApp::changeSetting(std::string_view name, const SettingValue &value)
{
    const SettingDef *def = findSetting(name);
    if (def == nullptr || def->defaultValue.index() != value.index())
        return StoreResult::failure("no setting " + std::string(name) + " of that kind");
    const SettingValue before = settingValue(m_settings, *def);
    setSettingValue(m_settings, *def, value);
    const StoreResult stored = m_settings.saveOne(m_store, *def);
    if (!stored.ok) {
        setSettingValue(m_settings, *def, before);
        return stored;
    }
    if (def->kind() == SettingKind::Font)
        m_fonts = MakeScreenFonts(m_settings.fonts, m_screen);
    emit settingsChanged(QString::fromLatin1(def->name));
    return stored;
}

void dvwApp::setDateWindow(const DateWindow &window)
{
    m_dateWindow = window;
    emit stateChanged(State::DateWindow);
}

void dvwApp::setFilters(const ViewFilters &filters)
{
    m_filters = filters;
    emit stateChanged(State::Filters);
}

void dvwApp::setContextHelp(bool on)
{
    m_contextHelp = on;
    emit stateChanged(State::ContextHelp);
}

void dvwApp::setF1Held(bool held)
{
    m_f1Held = held;
    emit stateChanged(State::F1Held);
}

StoreResult dvwApp::keepWindowRect(const WindowRect &rect)
{
    if (m_settings.fullScreen)
        return {};
    m_settings.window = rect;
    return m_settings.saveWindowRect(m_store);
}

QString dvwApp::name()
{
    return QStringLiteral("Dayvane");
}

QString dvwApp::defaultHelpDirectory()
{
    return helpDirectoryFor(QCoreApplication::applicationDirPath());
}

QString dvwApp::helpDirectoryFor(const QString &programDirectory)
{
    const QDir dir(programDirectory);
    const QString candidates[] = {dir.filePath(QStringLiteral("help")),
                                  dir.filePath(QStringLiteral(DVW_HELP_FROM_BINDIR))};
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isDir())
            return QDir::cleanPath(candidate);
    }
    return QStringLiteral(DVW_HELP_SOURCE_DIR);
}

} // namespace dvw
