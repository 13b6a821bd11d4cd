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
    settings = Settings::load(m_store, services.probe);
    const TDate today = dateOf(clock().now().date());
    dateWindow = DateWindow::make(today, today, usableDays(settings.days));
    createFonts(services.probe.screenWidth(), 96);
}

dvwApp::~dvwApp() = default;

void dvwApp::createFonts(int screenWidth, int verticalDpi)
{
    m_screen = MeasureScreen(screenWidth, verticalDpi, settings.zoom);
    m_fonts = MakeScreenFonts(settings.fonts, m_screen);
}

DocumentSettings dvwApp::documentSettings() const
{
    DocumentSettings s;
    s.dateText = settings.dateText();
    s.allCategories = settings.allCategories;
    s.unimportant = usableUnimportantDay(settings.unimportant);
    s.today = dateWindow.today;
    s.start = dateWindow.start;
    s.days = dateWindow.days;
    s.nag = usableNagDays(settings.nag);
    return s;
}

QString dvwApp::startFile() const
{
    if (!m_commandLine.file.empty())
        return QString::fromLocal8Bit(m_commandLine.file.c_str());
    return QString::fromStdString(settings.apptFile);
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
