#pragma once

#include "store/tapptdocument.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QPlainTextEdit;

namespace dvw {

class DocumentSignals;
class dvwApp;
class dvwMDIChild;
class dvwMDIClient;
class FileChooser;

// The view kinds a document can show, one window each.
enum ViewSlot : std::size_t {
    ListViewSlot = 0,
    FileViewSlot = 1,
    MonthPaneSlot = 2,
    CalendarViewSlot = 3,
    CurrentPaneSlot = 4,
    ViewSlotCount = 5
};

// The open documents and their windows. Every question (save changes, overwrite a file
// changed on disk) goes through the application's prompter, and every failure is told to
// the user with the file's path and the reason; a failed save keeps the document open
// and changed. Closing a document's last window closes the document, after the save
// prompt.
class DVDocManager : public QObject
{
    Q_OBJECT
public:
    DVDocManager(dvwApp &app, dvwMDIClient &client, FileChooser &files, QObject *parent = nullptr);
    ~DVDocManager() override;

    static QString filter(); // "Appointment Files (*.APT)"
    static QString changedPrompt();
    // Whether the name matches the appointment file template "*.APT" (any case).
    static bool MatchesTemplate(const QString &path);

    int count() const { return static_cast<int>(m_entries.size()); }
    TApptDocument *document(int index) const;
    // The document of the active window; null when none is open.
    TApptDocument *current() const;
    // The view in the active window, else the first view of the current document; null when
    // no document is open.
    QWidget *currentView() const;
    // The document's first window, or null.
    dvwMDIChild *windowOf(const TApptDocument &doc) const;
    // What the document's views connect to; it lives as long as the document.
    DocumentSignals *signalsOf(const TApptDocument &doc) const;
    // MONTHWIDTH and MONTHHEIGHT: the room new windows leave for the month pane, and the
    // pane's place in the fixed layout.
    void setMonthSize(int width, int height);

    // Shows a view of the document in a new window at the new-view place (the month pane
    // and the current-appointment pane at theirs), and tiles the windows when more than one
    // document is open. The window owns the view; its caption is the view's window title
    // for the two panes, the document's title otherwise.
    dvwMDIChild *addView(TApptDocument &doc, ViewSlot slot, QWidget *view);

    // Makes the view of one slot for a document. The views layer installs them; a slot
    // without one cannot be opened yet.
    using ViewFactory = std::function<QWidget *(TApptDocument &)>;
    void setViewFactory(ViewSlot slot, ViewFactory factory);
    bool canMakeView(ViewSlot slot) const;
    // Opens the slot's view of the document when it is not open; the view's window, or
    // null when the slot has no factory.
    dvwMDIChild *openView(TApptDocument &doc, ViewSlot slot);
    // Closes the slot's view of the document when it is open.
    void closeView(TApptDocument &doc, ViewSlot slot);
    // Rebuilds the instances and display index of every document with the application's
    // window and view filters, and tells the views (documentsRefreshed).
    void refreshAll();
    // The window of the document's view in that slot, or null.
    dvwMDIChild *viewWindow(const TApptDocument &doc, ViewSlot slot) const;
    // With one document that shows its list and its month pane, its current-appointment
    // pane or both (and no other view), puts the ones that are open in their fixed places
    // and answers true; otherwise changes nothing.
    bool layOutFixed();
    // Captions every window again: file name and changed mark. The full path is the
    // windows' status tip.
    void updateTitles();
    // The caption of the document's windows: its file name, or "Untitled".
    static QString titleOf(const TApptDocument &doc);

    // The file commands.
    void newDocument();
    void open();
    // Opens the file as a document (a missing one is started new). False, after telling
    // the user, when it exists but cannot be read.
    bool openPath(const QString &path);
    bool save(TApptDocument &doc);
    bool saveAs(TApptDocument &doc);
    // Closes the document's window after the save prompt; false when it stays open.
    bool close(TApptDocument &doc);
    // Closes every document; false when the user kept one open.
    bool closeAll();
    void rescan(TApptDocument &doc);
    // Reads the document's file again, dropping unsaved changes. When the lines changed,
    // announces it (documentReloaded, then documentsRefreshed) and puts the list's cursor
    // back on its entry (found by line text and day), else on the date it showed.
    ReloadResult reload(TApptDocument &doc);

signals:
    void documentsChanged();
    // The display index of one or more documents was rebuilt: views re-read it.
    void documentsRefreshed();
    // The document's lines are in its file now (Save, Save As).
    void documentSaved(dvw::TApptDocument *doc);
    // The document's lines were read from its file again and differ from before.
    void documentReloaded(dvw::TApptDocument *doc);
    // A command for the client: after a close leaves one document showing its list, its
    // month pane and current-appointment pane come back.
    void clientCommand(int command);

private:
    struct Entry
    {
        // Before the document: the document goes first and tells it so (closed()).
        std::unique_ptr<DocumentSignals> events;
        std::unique_ptr<TApptDocument> doc;
        // Every window of the document, the first one made with it.
        std::vector<QPointer<dvwMDIChild>> windows;
        std::array<QPointer<dvwMDIChild>, ViewSlotCount> views;
        // The document's lines, shown until its views exist.
        QPointer<QPlainTextEdit> lines;
        // The save prompt was answered: its windows close without asking again.
        bool closing = false;
        // The list's cursor as its views last told it, kept over a reload.
        int lastPosition = -1;
    };

    DocumentSettings documentSettings() const;
    // A setting that decides how dates read, how long the window is, how long nags stay,
    // the unimportant day or the default category selection rebuilds every document.
    void settingChanged(const QString &name);
    // The save prompt: true when the document may close.
    bool mayClose(TApptDocument &doc);
    // Only the document's last window asks the save prompt.
    bool mayCloseWindow(const TApptDocument *doc);
    void addDocument(std::unique_ptr<TApptDocument> doc);
    dvwMDIChild *addWindow(Entry &entry, QWidget *content, const QRect &place);
    // Where a new view of the slot opens: the panes at their fixed places.
    QRect placeOf(ViewSlot slot) const;
    void windowClosed(const TApptDocument *doc, const dvwMDIChild *window);
    void forget(const TApptDocument *doc);
    Entry *entryOf(const TApptDocument &doc);
    void refresh(Entry &entry);
    void retitle(Entry &entry);
    // The other documents give up their panes to a newly opened one; their lists stay.
    void closePanesOfOthers(const Entry &opened);
    static QString pathOf(const TApptDocument &doc);
    void tellFailure(const TApptDocument &doc, const QString &what, const std::string &reason);
    // Tells the user about a save that failed, or that worked with a warning; true when saved.
    bool reportSave(const TApptDocument &doc, const SaveResult &result);

    dvwApp &m_app;
    dvwMDIClient &m_client;
    FileChooser &m_files;
    std::vector<Entry> m_entries;
    std::array<ViewFactory, ViewSlotCount> m_factories;
    int m_monthWidth = 200;
    int m_monthHeight = 200;
};

} // namespace dvw
