#pragma once

#include "commandline.h"
#include "store/datewindow.h"
#include "store/documentsettings.h"

#include <QString>

#include <memory>
#include <string>

namespace dvw {

class Clock;
class FileChooser;
class HelpBook;
class Prompter;

// The view filters every document is built with.
struct ViewFilters
{
    int priorityLevel = 4;
    bool showUnprioritized = true;
    bool screening = false;
    std::string screenText;
};

// The application object: what the whole program shares. It is not the QApplication,
// so tests can build one per case. The prompter, file chooser and clock are not owned.
class dvwApp
{
public:
    dvwApp(CommandLine commandLine, Prompter &prompter, FileChooser &files, const Clock &clock,
           const QString &helpDirectory);
    ~dvwApp();

    // The program's name, which is also the main window's caption.
    static QString name();
    // The help book beside the program, else the one in the source tree.
    static QString defaultHelpDirectory();

    const CommandLine &commandLine() const { return m_commandLine; }
    Prompter &prompter() const { return m_prompter; }
    FileChooser &files() const { return m_files; }
    const Clock &clock() const { return m_clock; }
    HelpBook &help() const { return *m_help; }

    // What a new document copies from the application: date settings and the window.
    DocumentSettings documentSettings() const;
    // The file opened at start: the command line's, else the APPTFILE setting.
    QString startFile() const;

    DateWindow dateWindow;
    ViewFilters filters;
    // Context-help mode: the next menu choice shows its help topic instead of running.
    bool contextHelp = false;

private:
    CommandLine m_commandLine;
    Prompter &m_prompter;
    FileChooser &m_files;
    const Clock &m_clock;
    std::unique_ptr<HelpBook> m_help;
};

} // namespace dvw
