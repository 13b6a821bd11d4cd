#include "livefiles.h"

#include "shell/documentsignals.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwmdichild.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "store/tapptdocument.h"
#include "undohistories.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace dvw {

namespace {

QString fromPath(const std::string &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// The bar over a document's list. It lies over the top rows and follows the list's width.
class ReloadBar : public QFrame
{
public:
    ReloadBar(QWidget *over, const QString &text)
        : QFrame(over)
    {
        setObjectName(QStringLiteral("reloadBar"));
        setFrameShape(QFrame::StyledPanel);
        setAutoFillBackground(true);
        auto *layout = new QHBoxLayout(this);
        auto *label = new QLabel(text, this);
        label->setObjectName(QStringLiteral("reloadBarText"));
        label->setTextFormat(Qt::PlainText);
        layout->addWidget(label, 1);
        reload = new QPushButton(LiveFiles::reloadButtonText(), this);
        reload->setObjectName(QStringLiteral("reloadButton"));
        keep = new QPushButton(LiveFiles::keepButtonText(), this);
        keep->setObjectName(QStringLiteral("keepButton"));
        layout->addWidget(reload);
        layout->addWidget(keep);
        over->installEventFilter(this);
        place();
    }

    QPushButton *reload;
    QPushButton *keep;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == parent() && event->type() == QEvent::Resize)
            place();
        return false;
    }

private:
    void place() { setGeometry(0, 0, parentWidget()->width(), sizeHint().height()); }
};

} // namespace

struct LiveFiles::Watch
{
    TApptDocument *doc = nullptr;
    QString path; // empty for a document without a file
    std::unique_ptr<QTimer> settle;
    QPointer<ReloadBar> bar;
    std::optional<FileIdentity> keptOver;
    bool goneReported = false;
    // The file went while the document had no unsaved changes: it was marked changed to
    // keep its lines, and reads the file again when it comes back, unless edited meanwhile.
    bool reloadOnReturn = false;
    unsigned long serialAtGone = 0;

    ~Watch() { delete bar.data(); }
};

LiveFiles::LiveFiles(TDVDecoratedMDIFrame &frame, UndoHistories &histories)
    : QObject(&frame)
    , m_frame(frame)
    , m_histories(histories)
    , m_watcher(new QFileSystemWatcher(this))
{
    setObjectName(QStringLiteral("liveFiles"));
    DVDocManager &docs = frame.documents();
    connect(&docs, &DVDocManager::documentsChanged, this, &LiveFiles::sync);
    // Save As gives the document another file to watch.
    connect(&docs, &DVDocManager::documentSaved, this, [this](TApptDocument *doc) {
        if (Watch *w = watchOf(*doc)) {
            w->keptOver.reset();
            hideBar(*w);
            watchAll();
        }
    });
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &LiveFiles::pathChanged);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &LiveFiles::pathChanged);
}

LiveFiles::~LiveFiles() = default;

QString LiveFiles::reloadButtonText()
{
    return tr("Reload (lose my changes)");
}

QString LiveFiles::keepButtonText()
{
    return tr("Keep mine");
}

LiveFiles::Watch *LiveFiles::watchOf(const TApptDocument &doc)
{
    const auto it = m_watches.find(&doc);
    return it == m_watches.end() ? nullptr : it->second.get();
}

void LiveFiles::sync()
{
    DVDocManager &docs = m_frame.documents();
    std::map<const TApptDocument *, std::unique_ptr<Watch>> kept;
    for (int i = 0; i < docs.count(); ++i) {
        TApptDocument *doc = docs.document(i);
        auto it = m_watches.find(doc);
        if (it != m_watches.end()) {
            kept[doc] = std::move(it->second);
            continue;
        }
        auto w = std::make_unique<Watch>();
        w->doc = doc;
        w->settle = std::make_unique<QTimer>();
        w->settle->setSingleShot(true);
        w->settle->setInterval(SettleMs);
        connect(w->settle.get(), &QTimer::timeout, this, [this, doc] { check(*doc); });
        kept[doc] = std::move(w);
    }
    // A closed document's watch goes with it.
    m_watches = std::move(kept);
    watchAll();
}

void LiveFiles::watchAll()
{
    QStringList wanted;
    for (auto &[doc, w] : m_watches) {
        w->path = fromPath(doc->path());
        if (w->path.isEmpty())
            continue;
        wanted << QFileInfo(w->path).absolutePath();
        if (QFileInfo::exists(w->path))
            wanted << w->path;
    }
    QStringList watched = m_watcher->files() + m_watcher->directories();
    QStringList gone;
    for (const QString &path : watched) {
        if (!wanted.contains(path))
            gone << path;
    }
    if (!gone.isEmpty())
        m_watcher->removePaths(gone);
    QStringList added;
    for (const QString &path : wanted) {
        if (!watched.contains(path) && !added.contains(path))
            added << path;
    }
    if (!added.isEmpty())
        m_watcher->addPaths(added);
}

void LiveFiles::pathChanged(const QString &path)
{
    // The first change of a burst starts the settle time; the rest fall into it.
    for (auto &[doc, w] : m_watches) {
        if (w->path.isEmpty() || (path != w->path && path != QFileInfo(w->path).absolutePath()))
            continue;
        if (!w->settle->isActive())
            w->settle->start();
    }
}

void LiveFiles::check(TApptDocument &doc)
{
    Watch *w = watchOf(doc);
    if (w == nullptr || doc.path().empty())
        return;
    watchAll();
    DocumentHistory *history = m_histories.historyOf(doc);
    LiveFileFacts facts;
    facts.onDisk = CurrentIdentity(doc.path());
    facts.known = doc.fileIdentity();
    facts.keptOver = w->keptOver;
    const bool untouchedSinceGone
        = w->reloadOnReturn && history && history->serial() == w->serialAtGone;
    facts.unsavedChanges = doc.isChanged() && !untouchedSinceGone;
    facts.goneReported = w->goneReported;
    facts.modalStep = QApplication::activeModalWidget() || QApplication::activePopupWidget();
    switch (DecideLiveFile(facts)) {
    case LiveFileAction::Wait:
        w->settle->start();
        break;
    case LiveFileAction::Nothing:
        if (facts.onDisk)
            w->goneReported = false;
        break;
    case LiveFileAction::Reload:
        reload(doc);
        break;
    case LiveFileAction::OfferReload:
        offerReload(*w);
        break;
    case LiveFileAction::ReportGone:
        reportGone(*w);
        break;
    }
}

bool LiveFiles::reload(TApptDocument &doc)
{
    Watch *w = watchOf(doc);
    if (w == nullptr)
        return false;
    const ReloadResult result = m_frame.documents().reload(doc);
    const QString path = QDir::toNativeSeparators(w->path);
    if (result.status == ReloadResult::Missing || result.status == ReloadResult::Failed) {
        tell(tr("%1 could not be read again: %2")
                 .arg(path,
                      result.status == ReloadResult::Missing ? tr("it is gone")
                                                             : fromPath(result.reason)));
        return false;
    }
    w->keptOver.reset();
    w->goneReported = false;
    w->reloadOnReturn = false;
    hideBar(*w);
    if (result.status == ReloadResult::Same)
        return true;
    tell(tr("%1 was changed by another program and has been read again.").arg(path));
    emit reloaded(&doc);
    return true;
}

void LiveFiles::keepMine(TApptDocument &doc)
{
    Watch *w = watchOf(doc);
    if (w == nullptr)
        return;
    w->keptOver = CurrentIdentity(doc.path());
    hideBar(*w);
}

void LiveFiles::reportGone(Watch &w)
{
    w.goneReported = true;
    TApptDocument &doc = *w.doc;
    if (!doc.isChanged()) {
        // Nothing else holds these lines now: closing must ask to save them.
        doc.setChanged(true);
        w.reloadOnReturn = true;
        if (DocumentHistory *history = m_histories.historyOf(doc)) {
            history->forgetSavedState();
            w.serialAtGone = history->serial();
        }
        m_frame.documents().updateTitles();
    }
    tell(tr("%1 was removed by another program; the document keeps its lines.")
             .arg(QDir::toNativeSeparators(w.path)));
    emit fileGone(&doc);
}

void LiveFiles::offerReload(Watch &w)
{
    if (w.bar)
        return;
    DVDocManager &docs = m_frame.documents();
    dvwMDIChild *window = docs.viewWindow(*w.doc, ListViewSlot);
    if (window == nullptr)
        window = docs.windowOf(*w.doc);
    if (window == nullptr || window->widget() == nullptr)
        return;
    w.bar
        = new ReloadBar(window->widget(),
                        tr("%1 was changed by another program.").arg(QFileInfo(w.path).fileName()));
    TApptDocument *doc = w.doc;
    connect(w.bar->reload, &QPushButton::clicked, this, [this, doc] { reload(*doc); });
    connect(w.bar->keep, &QPushButton::clicked, this, [this, doc] { keepMine(*doc); });
    w.bar->show();
    w.bar->raise();
    emit reloadOffered(doc);
}

void LiveFiles::hideBar(Watch &w)
{
    if (w.bar)
        w.bar->deleteLater();
    w.bar.clear();
}

void LiveFiles::tell(const QString &message)
{
    m_frame.statusBar()->showMessage(message, 10000);
}

LiveFiles &InstallLiveFiles(TDVDecoratedMDIFrame &frame, UndoHistories &histories)
{
    return *new LiveFiles(frame, histories);
}

} // namespace dvw
