#pragma once

#include "commandregistry.h"
#include "commandtable.h"

#include <QMainWindow>
#include <QPointer>

#include <map>
#include <memory>

class QAction;
class QLabel;
class QMdiSubWindow;
class QMenu;

namespace dvw {

class ContextHelpFilter;
class DVDocManager;
class dvwApp;
class dvwMDIChild;
class dvwMDIClient;

// The main window: menus, button bar and status bar around the client that holds the
// document windows. Every menu item, button and accelerator runs its command through
// runCommand(), which is where context help takes over.
class TDVDecoratedMDIFrame : public QMainWindow
{
    Q_OBJECT
public:
    explicit TDVDecoratedMDIFrame(dvwApp &app, QWidget *parent = nullptr);
    ~TDVDecoratedMDIFrame() override;

    dvwApp &app() const { return m_app; }
    dvwMDIClient *client() const { return m_client; }
    DVDocManager &documents() const { return *m_docs; }
    // Shows the window minimised (-M), maximised (FULLSCREEN) or as it was placed.
    void showAtStart();
    // Opens the command line's file, else the APPTFILE file, as the first document.
    void openStartFile();
    // The action of a command number (object name "action<number>"), or null.
    QAction *action(int command) const;
    // Where features register their commands; call updateActions() after adding some.
    CommandRegistry &commands() { return m_commands; }

    // Carries out the command, or shows its help topic in context-help mode.
    void runCommand(int command);
    // Carries out the command if it can run now; context help plays no part.
    void carryOut(int command);
    // Enables the actions whose commands can be carried out now.
    void updateActions();

    void showHelpContents();
    bool inContextHelp() const;
    void enterContextHelp();
    void endContextHelp();

    // Shows the menu of the active view merged into the main menu; an empty menu
    // restores the main menu.
    void setViewMenu(const std::vector<MenuEntry> &viewMenu);

    // Writes the date and time fields of the status bar.
    void showClock(const QDateTime &now);
    // The status bar's alarm field; it lives as long as this window.
    QLabel *alarmField() const { return m_alarmField; }

signals:
    // A command was carried out (not merely shown in help).
    void commandCarriedOut(int command);
    // openStartFile() has opened (or tried to open) the first document.
    void startFileOpened();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void applyStoredPlacement();
    void registerCommands();
    void createActions(const std::vector<MenuEntry> &entries);
    void createAccelerators();
    void addStandardKeys();
    void buildMenuBar(const std::vector<MenuEntry> &menu);
    void fillMenu(QMenu *menu, const std::vector<MenuEntry> &entries);
    void buildButtonBar();
    void buildStatusBar();
    // The status bar font and the month pane's room follow their settings.
    void settingChanged(const QString &name);
    void setStatusBarFont();
    void showAbout();
    void windowActivated(QMdiSubWindow *window);
    // Merges the active window's view menu in, or brings the main menu back.
    void showActiveViewMenu();

    dvwApp &m_app;
    dvwMDIClient *m_client;
    DVDocManager *m_docs;
    std::unique_ptr<ContextHelpFilter> m_helpFilter;
    std::map<int, QAction *> m_actions;
    CommandRegistry m_commands;
    QLabel *m_dateField = nullptr;
    QLabel *m_timeField = nullptr;
    QLabel *m_alarmField = nullptr;
    bool m_viewMenuShown = false;
    QPointer<dvwMDIChild> m_activeChild;
};

} // namespace dvw
