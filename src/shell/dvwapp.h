#pragma once

#include "commandline.h"
#include "screenfonts.h"
#include "settings/settings.h"
#include "settings/settingsstore.h"
#include "settings/settingstable.h"
#include "store/datewindow.h"
#include "store/documentsettings.h"

#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <string>

namespace dvw {

class Clock;
class FileChooser;
class HelpBook;
class PlatformProbe;
class Prompter;

// What the application object is given rather than makes: the ways it asks the user, the
// clock, the machine and where the help book is. None of them is owned.
struct AppServices
{
    Prompter &prompter;
    FileChooser &files;
    const Clock &clock;
    const PlatformProbe &probe;
    QString helpDirectory;
};

// The application object: what the whole program shares. It is not the QApplication,
// so tests can build one per case.
class dvwApp : public QObject
{
    Q_OBJECT
public:
    // Loads the settings of the command line's profile and sets the date window to today.
    dvwApp(CommandLine commandLine, const AppServices &services);
    ~dvwApp() override;

    // The program's name, which is also the main window's caption.
    static QString name();
    // The help book of the running program: helpDirectoryFor its own directory.
    static QString defaultHelpDirectory();
    // The help book of a program in this directory: beside it (a build), else where
    // installing put it (share/dayvane/help beside bin), else the one in the source tree.
    static QString helpDirectoryFor(const QString &programDirectory);

    const CommandLine &commandLine() const { return m_commandLine; }
    Prompter &prompter() const { return m_services.prompter; }
    FileChooser &files() const { return m_services.files; }
    const Clock &clock() const { return m_services.clock; }
    HelpBook &help() const { return *m_help; }
    SettingsStore &store() { return m_store; }

    // Measures the screen and makes the five screen fonts from the font settings.
    void createFonts(int screenWidth, int verticalDpi);
    const ScreenMetrics &screen() const { return m_screen; }
    const std::array<ScreenFont, 5> &fonts() const { return m_fonts; }

    // What a new document copies from the application: date settings and the window.
    DocumentSettings documentSettings() const;
    // The file opened at start: the command line's, else the APPTFILE setting.
    QString startFile() const;

    const Settings &settings() const { return m_settings; }
    // Why the settings file was not read at start (not a plain file, or too large); empty
    // when it was read or did not exist.
    const std::string &settingsIgnoredReason() const { return m_settingsIgnored; }
    // The one way a setting changes while the program runs: the value is written to the
    // settings store at once, kept, and settingsChanged is emitted once. A write that failed
    // changes nothing and emits nothing; the result says why. An unknown name or a value of
    // another kind changes nothing either. A changed font remakes the screen fonts first.
    StoreResult changeSetting(std::string_view name, const SettingValue &value);
    // The archive and sound files this run uses: those set at start. A file chosen in the
    // Configure menu is used from the next start, as the appointment file is.
    const std::string &archiveFileInUse() const { return m_archiveFileInUse; }
    const std::string &waveFileInUse() const { return m_waveFileInUse; }
    // The main window's rectangle as it closes: written when FULLSCREEN is off, no signal.
    StoreResult keepWindowRect(const WindowRect &rect);

    // The state the whole program shares while it runs. Each setter keeps the value and
    // emits stateChanged once, naming what changed, whoever calls it.
    enum class State { DateWindow, Filters, ContextHelp, F1Held };
    Q_ENUM(State)
    const DateWindow &dateWindow() const { return m_dateWindow; }
    void setDateWindow(const DateWindow &window);
    const ViewFilters &filters() const { return m_filters; }
    void setFilters(const ViewFilters &filters);
    // Context-help mode: the next menu choice shows its help topic instead of running.
    bool contextHelp() const { return m_contextHelp; }
    void setContextHelp(bool on);
    // While F1 is held down a menu choice also shows its topic.
    bool f1Held() const { return m_f1Held; }
    void setF1Held(bool held);

signals:
    // One setting changed; `name` is its stored name (settingkeys.h).
    void settingsChanged(const QString &name);
    // One part of the shared run-time state was set.
    void stateChanged(dvw::dvwApp::State what);

private:
    CommandLine m_commandLine;
    AppServices m_services;
    SettingsStore m_store;
    std::string m_settingsIgnored;
    Settings m_settings;
    std::string m_archiveFileInUse;
    std::string m_waveFileInUse;
    std::unique_ptr<HelpBook> m_help;
    ScreenMetrics m_screen;
    std::array<ScreenFont, 5> m_fonts;
    DateWindow m_dateWindow;
    ViewFilters m_filters;
    bool m_contextHelp = false;
    bool m_f1Held = false;
};

} // namespace dvw
