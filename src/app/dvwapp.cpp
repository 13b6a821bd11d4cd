#include "dvwapp.h"

#include "platform/clock.h"
#include "platform/helpbook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace dvw {

namespace {

// The days shown until the settings say otherwise.
constexpr int defaultDays = 365;

} // namespace

dvwApp::dvwApp(CommandLine commandLine, Prompter &prompter, FileChooser &files, const Clock &clock,
               const QString &helpDirectory)
    : m_commandLine(std::move(commandLine))
    , m_prompter(prompter)
    , m_files(files)
    , m_clock(clock)
    , m_help(std::make_unique<HelpBook>(helpDirectory))
{
    const QDate now = m_clock.now().date();
    const TDate today(static_cast<std::uint32_t>(now.day()),
                      static_cast<std::uint32_t>(now.month()),
                      static_cast<std::uint32_t>(now.year()));
    dateWindow = DateWindow::make(today, today, defaultDays);
}

dvwApp::~dvwApp() = default;

DocumentSettings dvwApp::documentSettings() const
{
    DocumentSettings s;
    s.today = dateWindow.today;
    s.start = dateWindow.start;
    s.days = dateWindow.days;
    s.unimportant = 1;
    return s;
}

QString dvwApp::startFile() const
{
    if (!m_commandLine.file.empty())
        return QString::fromLocal8Bit(m_commandLine.file.c_str());
    return QStringLiteral("NOTES.APT");
}

QString dvwApp::name()
{
    return QStringLiteral("Dayvane for Windows 95/98/NT 2.0");
}

QString dvwApp::defaultHelpDirectory()
{
    const QString beside
        = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help"));
    if (QFileInfo(beside).isDir())
        return beside;
    return QStringLiteral(DVW_HELP_SOURCE_DIR);
}

} // namespace dvw
