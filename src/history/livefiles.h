#pragma once

#include "livefilerules.h"

#include <QObject>
#include <QPointer>

#include <map>
#include <memory>

class QFileSystemWatcher;
class QTimer;
class QWidget;

namespace dvw {

class TApptDocument;
class TDVDecoratedMDIFrame;
class UndoHistories;

// Keeps every open document in step with its file while other programs change it. One
// watcher looks at every document's file and folder (an editor that saves by renaming a
// new file over the old one leaves the old watch behind, so the paths are watched again
// after every change). A burst of writes is looked at once, SettleMs after its first;
// what follows is decided by DecideLiveFile: our own saves leave the document alone; a
// document without unsaved changes is read again at once by the document manager, which
// announces it; one with unsaved changes shows a bar over its list that offers to reload
// or to keep them; a file that disappears is reported and its lines stay, marked changed
// so that closing asks to save them.
class LiveFiles : public QObject
{
    Q_OBJECT
public:
    static constexpr int SettleMs = 200;

    LiveFiles(TDVDecoratedMDIFrame &frame, UndoHistories &histories);
    ~LiveFiles() override;

    // Looks at the document's file now and acts on what it finds.
    void check(TApptDocument &doc);
    // Has the document read again, dropping unsaved changes; false when it could not.
    bool reload(TApptDocument &doc);
    // Hides the bar and keeps the changes: only a later version of the file asks again.
    void keepMine(TApptDocument &doc);

    static QString reloadButtonText();
    static QString keepButtonText();

signals:
    void reloaded(dvw::TApptDocument *doc);
    void reloadOffered(dvw::TApptDocument *doc);
    void fileGone(dvw::TApptDocument *doc);

private:
    struct Watch;

    void sync();
    // Watches every document's file and folder, and nothing else.
    void watchAll();
    // A watched file or folder changed: the documents it concerns look again shortly.
    void pathChanged(const QString &path);
    Watch *watchOf(const TApptDocument &doc);
    void reportGone(Watch &w);
    void offerReload(Watch &w);
    void hideBar(Watch &w);
    void tell(const QString &message);

    TDVDecoratedMDIFrame &m_frame;
    UndoHistories &m_histories;
    QFileSystemWatcher *m_watcher;
    std::map<const TApptDocument *, std::unique_ptr<Watch>> m_watches;
};

LiveFiles &InstallLiveFiles(TDVDecoratedMDIFrame &frame, UndoHistories &histories);

} // namespace dvw
