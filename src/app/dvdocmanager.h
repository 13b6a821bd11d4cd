#pragma once

#include "store/tapptdocument.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

class QPlainTextEdit;

namespace dvw {

class dvwApp;
class dvwMDIChild;
class dvwMDIClient;
class FileChooser;

// The open documents and their windows. Every question (save changes, overwrite a file
// changed on disk) goes through the application's prompter, and every failure is told to
// the user with the file's path and the reason; a failed save keeps the document open
// and changed.
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
    dvwMDIChild *windowOf(const TApptDocument &doc) const;
    // Sets the width the new-window placement leaves for the month pane.
    void setMonthWidth(int width) { m_monthWidth = width; }

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

signals:
    void documentsChanged();

private:
    struct Entry
    {
        std::unique_ptr<TApptDocument> doc;
        QPointer<dvwMDIChild> window;
        QPointer<QPlainTextEdit> lines;
    };

    DocumentSettings documentSettings() const;
    // The save prompt: true when the document may close.
    bool mayClose(TApptDocument &doc);
    void addDocument(std::unique_ptr<TApptDocument> doc);
    void forget(const TApptDocument *doc);
    Entry *entryOf(const TApptDocument &doc);
    void refresh(Entry &entry);
    QString titleOf(const TApptDocument &doc) const;
    void tellFailure(const TApptDocument &doc, const QString &what, const std::string &reason);

    dvwApp &m_app;
    dvwMDIClient &m_client;
    FileChooser &m_files;
    std::vector<Entry> m_entries;
    int m_monthWidth = 200;
};

} // namespace dvw
