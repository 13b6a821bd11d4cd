#include "tdvdecoratedmdiframe.h"

#include "clocktext.h"
#include "commands.h"
#include "commandtarget.h"
#include "contexthelpfilter.h"
#include "dvdocmanager.h"
#include "dvwaboutdlg.h"
#include "dvwapp.h"
#include "dvwmdichild.h"
#include "dvwmdiclient.h"
#include "hintstatusbar.h"
#include "icons.h"
#include "platform/helpbook.h"
#include "platform/prompter.h"
#include "settings/settingkeys.h"
#include "standardkeys.h"
#include "windowplacement.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

namespace dvw {

namespace {

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "menuFile" for "&File": the object name tests find a popup by.
QString menuObjectName(std::string_view text)
{
    QString name = fromView(text);
    name.remove(QLatin1Char('&'));
    name.remove(QLatin1Char(' '));
    return QStringLiteral("menu") + name;
}

QFont tenPointFont()
{
    QFont font = QApplication::font();
    font.setPointSize(10);
    return font;
}

QLabel *statusField(const char *name, int characters, Qt::Alignment alignment, QWidget *parent)
{
    auto *field = new QLabel(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setTextFormat(Qt::PlainText);
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setAlignment(alignment | Qt::AlignVCenter);
    // At least the given number of average characters; longer texts widen the field.
    field->setMinimumWidth(field->fontMetrics().averageCharWidth() * characters);
    return field;
}

} // namespace

TDVDecoratedMDIFrame::TDVDecoratedMDIFrame(dvwApp &app, QWidget *parent)
    : QMainWindow(parent)
    , m_app(app)
    , m_client(new dvwMDIClient(app.clock(), this))
    , m_docs(new DVDocManager(app, *m_client, app.files(), this))
    , m_helpFilter(std::make_unique<ContextHelpFilter>(*this))
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(dvwApp::name());
    setWindowIcon(AppIcon());
    setCentralWidget(m_client);
    setAcceptDrops(true);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        m_app.createFonts(screen->geometry().width(),
                          static_cast<int>(screen->logicalDotsPerInchY()));
    m_docs->setMonthSize(m_app.settings().monthWidth, m_app.settings().monthHeight);
    applyStoredPlacement();

    registerCommands();
    createActions(MainMenu());
    createAccelerators();
    addStandardKeys();
    buildMenuBar(MainMenu());
    buildButtonBar();
    buildStatusBar();
    updateActions();

    connect(m_client, &dvwMDIClient::ticked, this, &TDVDecoratedMDIFrame::showClock);
    connect(m_client, &QMdiArea::subWindowActivated, this, &TDVDecoratedMDIFrame::windowActivated);
    connect(m_docs, &DVDocManager::documentsChanged, this, [this] { updateActions(); });
    connect(m_docs, &DVDocManager::clientCommand, this, &TDVDecoratedMDIFrame::carryOut);
    // Any command may have changed a document: its windows show the changed mark.
    connect(this, &TDVDecoratedMDIFrame::commandCarriedOut, m_docs, &DVDocManager::updateTitles);
    connect(&m_app, &dvwApp::settingsChanged, this, &TDVDecoratedMDIFrame::settingChanged);
    connect(m_client, &dvwMDIClient::resized, m_docs, &DVDocManager::layOutFixed);
    m_client->tick();
    qApp->installEventFilter(m_helpFilter.get());
}

TDVDecoratedMDIFrame::~TDVDecoratedMDIFrame()
{
    // The client and the manager go after this object's members: they must not call back,
    // neither here nor into the features that use this frame (closing the window hides the
    // sub-windows, and the client then reports a new active one).
    disconnect(m_client, nullptr, this, nullptr);
    disconnect(m_docs, nullptr, this, nullptr);
    m_client->blockSignals(true);
    m_docs->blockSignals(true);
    qApp->removeEventFilter(m_helpFilter.get());
    if (m_app.contextHelp())
        QApplication::restoreOverrideCursor();
    m_app.setContextHelp(false);
}

QAction *TDVDecoratedMDIFrame::action(int command) const
{
    const auto it = m_actions.find(command);
    return it == m_actions.end() ? nullptr : it->second;
}

void TDVDecoratedMDIFrame::registerCommands()
{
    // A view with commands of its own answers them while it is the active view.
    m_commands.setTargetFinder(
        [this] { return dynamic_cast<CommandTarget *>(m_docs->currentView()); });
    // The main window's own commands: File, Window and Help. Features add theirs.
    const auto hasWindows = [this] { return !m_client->subWindowList().isEmpty(); };
    const auto hasDocument = [this] { return m_docs->current() != nullptr; };
    CommandRegistry &r = m_commands;
    r.add(Cm::FileNew, [this] { m_docs->newDocument(); });
    r.add(Cm::FileOpen, [this] { m_docs->open(); });
    r.add(
        Cm::FileClose, [this] { m_docs->close(*m_docs->current()); }, hasDocument);
    r.add(
        Cm::Rescan, [this] { m_docs->rescan(*m_docs->current()); }, hasDocument);
    r.add(
        Cm::FileSave, [this] { m_docs->save(*m_docs->current()); }, hasDocument);
    r.add(
        Cm::FileSaveAs, [this] { m_docs->saveAs(*m_docs->current()); }, hasDocument);
    r.add(Cm::Exit, [this] { close(); });
    r.add(
        Cm::Cascade, [this] { m_client->cascade(); }, hasWindows);
    r.add(
        Cm::Tile,
        [this] {
            if (!m_docs->layOutFixed())
                m_client->tileSubWindows();
        },
        hasWindows);
    r.add(
        Cm::ArrangeIcons, [this] { m_client->arrangeIcons(); }, hasWindows);
    r.add(
        Cm::CloseAll, [this] { m_docs->closeAll(); }, hasWindows);
    r.add(Cm::HelpContents, [this] { showHelpContents(); });
    r.add(Cm::HelpUsing, [this] { m_app.help().showUsingHelp(); });
    r.add(Cm::HelpAbout, [this] { showAbout(); });
}

void TDVDecoratedMDIFrame::createActions(const std::vector<MenuEntry> &entries)
{
    for (const MenuEntry &e : entries) {
        if (e.kind == MenuEntry::Kind::Popup)
            createActions(e.entries);
        if (e.kind != MenuEntry::Kind::Command || m_actions.count(e.command))
            continue;
        auto *act = new QAction(fromView(e.text), this);
        act->setObjectName(QStringLiteral("action%1").arg(e.command));
        act->setStatusTip(fromView(e.hint));
        if (!e.shortcut.empty())
            act->setShortcuts(QKeySequence::listFromString(fromView(e.shortcut)));
        const int command = e.command;
        connect(act, &QAction::triggered, this, [this, command] { runCommand(command); });
        m_actions[command] = act;
    }
}

void TDVDecoratedMDIFrame::createAccelerators()
{
    // Accelerators work wherever the focus is in the main window, menu item or not.
    for (const Accelerator &acc : AcceleratorTable()) {
        QAction *act = action(acc.command);
        if (!act) {
            act = new QAction(this);
            act->setObjectName(QStringLiteral("action%1").arg(acc.command));
            const int command = acc.command;
            connect(act, &QAction::triggered, this, [this, command] { runCommand(command); });
            addAction(act);
            m_actions[acc.command] = act;
        }
        act->setShortcut(QKeySequence(fromView(acc.key)));
    }
}

void TDVDecoratedMDIFrame::addStandardKeys()
{
    // The program's accelerators, the keys shown in its menus and the help keys (F1 shows
    // the contents or the focused window's topic, Shift+F1 starts context help) keep
    // their meaning; a standard key that matches one of them is left out.
    QList<QKeySequence> taken = {QKeySequence(Qt::Key_F1), QKeySequence(Qt::SHIFT | Qt::Key_F1)};
    for (const auto &[command, act] : m_actions)
        taken += act->shortcuts();
    for (const StandardKeyCommand &s : StandardKeyCommands()) {
        QAction *act = action(s.command);
        if (act == nullptr)
            continue;
        const QList<QKeySequence> free = FreeStandardKeys(QKeySequence::keyBindings(s.key), taken);
        if (free.isEmpty())
            continue;
        // Reachable wherever the focus is, like the accelerators.
        if (!actions().contains(act))
            addAction(act);
        act->setShortcuts(act->shortcuts() + free);
        taken += free;
    }
}

void TDVDecoratedMDIFrame::buildMenuBar(const std::vector<MenuEntry> &menu)
{
    menuBar()->clear();
    // The actions outlive the menus; the popups of the previous menu go. One of them may be
    // handling the key or click that led here (View > File by keyboard) and reads itself
    // once the choice returns: they leave the main window now and are deleted afterwards.
    for (QMenu *old : menuBar()->findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly)) {
        old->setParent(nullptr, old->windowFlags());
        old->deleteLater();
    }
    for (const MenuEntry &popup : menu) {
        QMenu *m = menuBar()->addMenu(fromView(popup.text));
        m->setObjectName(menuObjectName(popup.text));
        m->menuAction()->setStatusTip(fromView(popup.hint));
        fillMenu(m, popup.entries);
    }
}

void TDVDecoratedMDIFrame::fillMenu(QMenu *menu, const std::vector<MenuEntry> &entries)
{
    for (const MenuEntry &e : entries) {
        switch (e.kind) {
        case MenuEntry::Kind::Separator:
            menu->addSeparator();
            break;
        case MenuEntry::Kind::Command:
            menu->addAction(action(e.command));
            break;
        case MenuEntry::Kind::Popup: {
            QMenu *sub = menu->addMenu(fromView(e.text));
            sub->setObjectName(menuObjectName(e.text));
            sub->menuAction()->setStatusTip(fromView(e.hint));
            fillMenu(sub, e.entries);
            break;
        }
        }
    }
}

void TDVDecoratedMDIFrame::buildButtonBar()
{
    QToolBar *bar = addToolBar(QStringLiteral("Buttons"));
    bar->setObjectName(QStringLiteral("buttonBar"));
    bar->setFont(tenPointFont());
    bar->setMovable(false);
    for (int command : ButtonBar()) {
        if (command == 0) {
            bar->addSeparator();
            continue;
        }
        QAction *act = action(command);
        act->setIcon(CommandIcon(command));
        bar->addAction(act);
    }
}

void TDVDecoratedMDIFrame::settingChanged(const QString &name)
{
    namespace k = settingkeys;
    if (name == QLatin1String(k::SBFONT) || name == QLatin1String(k::SMALLFONT)) {
        setStatusBarFont();
    } else if (name == QLatin1String(k::MONTHWIDTH) || name == QLatin1String(k::MONTHHEIGHT)) {
        m_docs->setMonthSize(m_app.settings().monthWidth, m_app.settings().monthHeight);
        m_docs->layOutFixed();
    }
}

void TDVDecoratedMDIFrame::setStatusBarFont()
{
    statusBar()->setFont(m_app.settings().sbFont ? tenPointFont() : m_app.fonts()[SmallFont].font);
}

void TDVDecoratedMDIFrame::buildStatusBar()
{
    auto *bar = new HintStatusBar(this);
    setStatusBar(bar);
    setStatusBarFont();
    m_dateField = statusField("dateField", 11, Qt::AlignHCenter, bar);
    m_timeField = statusField("timeField", 8, Qt::AlignHCenter, bar);
    m_alarmField = statusField("alarmField", 20, Qt::AlignLeft, bar);
    bar->addPermanentWidget(m_dateField);
    bar->addPermanentWidget(m_timeField);
    bar->addPermanentWidget(m_alarmField);
}

void TDVDecoratedMDIFrame::showClock(const QDateTime &now)
{
    const QDate d = now.date();
    const TDate today(static_cast<std::uint32_t>(d.day()), static_cast<std::uint32_t>(d.month()),
                      static_cast<std::uint32_t>(d.year()));
    m_dateField->setText(QString::fromStdString(StatusDateText(today)));
    m_timeField->setText(
        QString::fromStdString(StatusTimeText(now.time().hour(), now.time().minute())));
}

void TDVDecoratedMDIFrame::updateActions()
{
    for (const auto &[command, act] : m_actions) {
        // In context help every item can be chosen: it shows its topic.
        act->setEnabled(m_app.contextHelp() || m_commands.canRun(command));
    }
}

void TDVDecoratedMDIFrame::runCommand(int command)
{
    if (m_app.contextHelp() || m_app.f1Held()) {
        endContextHelp();
        m_app.help().showTopic(command);
        return;
    }
    carryOut(command);
}

void TDVDecoratedMDIFrame::carryOut(int command)
{
    if (!m_commands.run(command))
        return;
    emit commandCarriedOut(command);
    updateActions();
}

void TDVDecoratedMDIFrame::showHelpContents()
{
    m_app.help().showContents();
}

bool TDVDecoratedMDIFrame::inContextHelp() const
{
    return m_app.contextHelp();
}

void TDVDecoratedMDIFrame::enterContextHelp()
{
    if (m_app.contextHelp())
        return;
    m_app.setContextHelp(true);
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    updateActions();
}

void TDVDecoratedMDIFrame::endContextHelp()
{
    if (!m_app.contextHelp())
        return;
    m_app.setContextHelp(false);
    QApplication::restoreOverrideCursor();
    updateActions();
}

void TDVDecoratedMDIFrame::setViewMenu(const std::vector<MenuEntry> &viewMenu)
{
    createActions(viewMenu);
    buildMenuBar(viewMenu.empty() ? MainMenu() : MergeMenus(MainMenu(), viewMenu));
    updateActions();
}

void TDVDecoratedMDIFrame::windowActivated(QMdiSubWindow *window)
{
    // A view may bring its menu after its window became active (the file view and the
    // calendar set theirs once they are open).
    m_activeChild = qobject_cast<dvwMDIChild *>(window);
    if (m_activeChild)
        connect(m_activeChild, &dvwMDIChild::viewMenuChanged, this,
                &TDVDecoratedMDIFrame::showActiveViewMenu, Qt::UniqueConnection);
    showActiveViewMenu();
    updateActions();
}

void TDVDecoratedMDIFrame::showActiveViewMenu()
{
    // While the view's window is active its menu is merged in; otherwise the main menu.
    const dvwMDIChild *child = m_activeChild;
    const bool wantsOwn = child && !child->viewMenu().empty();
    if (wantsOwn || m_viewMenuShown)
        setViewMenu(wantsOwn ? child->viewMenu() : std::vector<MenuEntry> {});
    m_viewMenuShown = wantsOwn;
}

void TDVDecoratedMDIFrame::showAbout()
{
    auto *about = new dvwAboutDlg(this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->open();
}

void TDVDecoratedMDIFrame::applyStoredPlacement()
{
    // A full-screen start keeps no place of its own.
    if (m_app.settings().fullScreen)
        return;
    // X, Y, W, H are the client-area rectangle, as normalGeometry() gives it at exit; a
    // place not stored is left to the window system.
    const QRect current = geometry();
    const QRect wanted = RequestedGeometry(m_app.settings().window, current);
    if (wanted.topLeft() != current.topLeft())
        setGeometry(wanted);
    else
        resize(wanted.size());
}

void TDVDecoratedMDIFrame::showAtStart()
{
    switch (StartShowState(m_app.commandLine().minimised, m_app.settings().fullScreen)) {
    case StartShow::Minimised:
        showMinimized();
        break;
    case StartShow::Maximised:
        showMaximized();
        break;
    case StartShow::Normal:
        show();
        break;
    }
}

void TDVDecoratedMDIFrame::openStartFile()
{
    // Said once the window is there to carry it: a settings file that is no plain file of
    // sane size was left alone, and this run uses the defaults.
    if (!m_app.settingsIgnoredReason().empty())
        m_app.prompter().info(QStringLiteral("Settings"),
                              QString::fromStdString(m_app.settingsIgnoredReason())
                                  + QStringLiteral("\nThe default settings are used; the file is "
                                                   "left as it is."),
                              Prompter::Icon::Warning);
    m_docs->openPath(m_app.startFile());
    emit startFileOpened();
}

void TDVDecoratedMDIFrame::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TDVDecoratedMDIFrame::dropEvent(QDropEvent *event)
{
    // Files that are not appointment files are passed over without a word.
    for (const QUrl &url : event->mimeData()->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && DVDocManager::MatchesTemplate(path))
            m_docs->openPath(path);
    }
    event->acceptProposedAction();
}

void TDVDecoratedMDIFrame::closeEvent(QCloseEvent *event)
{
    if (!m_docs->closeAll()) {
        event->ignore();
        return;
    }
    // The help window lives in this program: it goes with the main window, whether it was
    // opened at its contents or for a single topic.
    m_app.help().quit();
    // The place of the last normal (not minimised or maximised) window; write failures
    // are not worth a message at exit.
    m_app.keepWindowRect(StoredRect(normalGeometry()));
    event->accept();
}

} // namespace dvw
