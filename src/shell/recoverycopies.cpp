#include "recoverycopies.h"

#include "documentsignals.h"
#include "dvdocmanager.h"
#include "dvwapp.h"
#include "dvwmdiclient.h"
#include "platform/displaytext.h"
#include "platform/prompter.h"
#include "store/linechange.h"
#include "store/tapptdocument.h"
#include "tdvdecoratedmdiframe.h"

#include <QFile>
#include <QFileInfo>
#include <QStatusBar>

#include <cstdlib>
#include <unistd.h>

namespace dvw {

namespace {

// The question shows this many changed lines, each cut to this many characters.
constexpr std::size_t shownLines = 8;
constexpr std::size_t shownCharacters = 70;

QString fromPath(const std::string &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// The document's file as an absolute path; empty for an untitled document.
std::string absolutePath(const TApptDocument &doc)
{
    if (doc.path().empty() || doc.path().front() == '/')
        return doc.path();
    return QFile::encodeName(QFileInfo(fromPath(doc.path())).absoluteFilePath()).toStdString();
}

QString nameOf(const std::string &path)
{
    return path.empty() ? QStringLiteral("Untitled") : QFileInfo(fromPath(path)).fileName();
}

} // namespace

RecoveryCopies::RecoveryCopies(TDVDecoratedMDIFrame &frame, std::string directory)
    : QObject(&frame)
    , m_frame(frame)
    , m_directory(std::move(directory))
{
    setObjectName(QStringLiteral("recoveryCopies"));
    const CommandLine &line = frame.app().commandLine();
    if (line.hasProfile)
        m_profile = line.profile;
    for (std::string &name : RecoveryFileNames(m_directory, m_profile))
        m_left.insert(std::move(name));
    m_timer.setSingleShot(true);
    m_timer.setInterval(DelayMs);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryCopies::sync);
}

RecoveryCopies::~RecoveryCopies() = default;

void RecoveryCopies::noteChange()
{
    if (!m_directory.empty() && !m_timer.isActive())
        m_timer.start();
}

void RecoveryCopies::sync()
{
    m_timer.stop();
    // Documents that closed: their copies go with them.
    for (auto it = m_kept.begin(); it != m_kept.end();) {
        if (it->second.events) {
            ++it;
            continue;
        }
        drop(it->second);
        it = m_kept.erase(it);
    }
    DVDocManager &docs = m_frame.documents();
    for (int i = 0; i < docs.count(); ++i) {
        const TApptDocument *doc = docs.document(i);
        DocumentSignals *events = doc ? docs.signalsOf(*doc) : nullptr;
        if (events == nullptr)
            continue;
        Kept &kept = m_kept[events];
        if (!kept.events) {
            kept.events = events;
            kept.untitledId = std::to_string(::getpid()) + "-" + std::to_string(++m_untitledCount);
        }
        keep(*doc, kept);
    }
}

void RecoveryCopies::keep(const TApptDocument &doc, Kept &kept)
{
    const std::string path = absolutePath(doc);
    const std::string name = RecoveryFileName(path, m_profile, kept.untitledId);
    if (kept.hasCopy && kept.name != name)
        drop(kept); // saved under another name
    if (!doc.isChanged()) {
        drop(kept);
        return;
    }
    std::vector<std::string> lines = LineTexts(doc.lines());
    if ((kept.hasCopy && lines == kept.written) || m_left.count(name) != 0)
        return;
    const RecoveryCopy copy {path, doc.fileIdentity(), static_cast<std::int64_t>(::getpid()),
                             lines};
    const SaveResult written = WriteRecoveryCopy(m_directory, name, copy);
    if (!written.ok) {
        // Said once: the program goes on, only without its safety net.
        if (!m_failureShown && m_frame.statusBar())
            m_frame.statusBar()->showMessage(
                tr("No recovery copy could be kept: %1").arg(fromPath(written.reason)));
        m_failureShown = true;
        return;
    }
    kept.name = name;
    kept.hasCopy = true;
    kept.written = std::move(lines);
}

void RecoveryCopies::drop(Kept &kept)
{
    if (kept.hasCopy)
        RemoveRecoveryCopy(m_directory, kept.name);
    kept.hasCopy = false;
    kept.written.clear();
}

std::string RecoveryCopies::copyNameOf(const TApptDocument &doc) const
{
    const auto it = m_kept.find(m_frame.documents().signalsOf(doc));
    return it != m_kept.end() && it->second.events && it->second.hasCopy ? it->second.name
                                                                         : std::string();
}

QString RecoveryCopies::question(const FoundRecovery &found, RecoveryAction action)
{
    const QString name = nameOf(found.copy.path);
    QString text = tr("Recover unsaved changes to %1?").arg(name);
    if (action == RecoveryAction::OfferChanged)
        text += QStringLiteral("\n\n")
            + tr("%1 was changed by another program since; recovering shows these lines "
                 "instead, and saving keeps the other version as the backup file.")
                  .arg(name);
    else if (action == RecoveryAction::OfferGone)
        text += QStringLiteral("\n\n") + tr("%1 is no longer there.").arg(name);
    const std::string difference
        = RecoveryDifference(found.fileLines, found.copy.lines, shownLines, shownCharacters);
    if (!difference.empty())
        text += QStringLiteral("\n\n") + DisplayText(difference);
    return text;
}

void RecoveryCopies::offerLeftCopies()
{
    if (m_directory.empty())
        return;
    std::set<std::string> running; // another program's copies, while it runs
    for (const FoundRecovery &found :
         FindRecoveryCopies(m_directory, m_profile, static_cast<std::int64_t>(::getpid()))) {
        if (m_left.count(found.fileName) == 0)
            continue; // written by this run
        RecoveryAction action = DecideRecovery(found.facts);
        // The start file opened on these very lines (a new file's starter lines).
        if (action != RecoveryAction::Leave && !found.copy.path.empty()) {
            for (int i = 0; i < m_frame.documents().count(); ++i) {
                const TApptDocument *doc = m_frame.documents().document(i);
                if (absolutePath(*doc) == found.copy.path
                    && LineTexts(doc->lines()) == found.copy.lines)
                    action = RecoveryAction::Discard;
            }
        }
        if (action == RecoveryAction::Leave)
            running.insert(found.fileName);
        else if (action == RecoveryAction::Discard)
            RemoveRecoveryCopy(m_directory, found.fileName);
        else
            offer(found, action);
        // Decided: the document of that name may keep its own copy from now on.
        m_left.erase(found.fileName);
    }
    // What is left is no readable copy and may be written over.
    m_left = std::move(running);
    sync();
}

void RecoveryCopies::offer(const FoundRecovery &found, RecoveryAction action)
{
    switch (m_frame.app().prompter().yesNo(QString(), question(found, action), true)) {
    case Prompter::Answer::Yes:
        break;
    case Prompter::Answer::No:
        RemoveRecoveryCopy(m_directory, found.fileName);
        return;
    default:
        // Asked again at the next start; meanwhile the document keeps a copy of its own.
        SetRecoveryCopyAside(m_directory, found.fileName, std::to_string(::getpid()));
        return;
    }
    TApptDocument *doc = documentOf(found.copy.path);
    if (doc == nullptr)
        return;
    doc->ApplyChange(DiffLines(LineTexts(doc->lines()), found.copy.lines), true);
    m_frame.documents().rescan(*doc);
    m_frame.documents().updateTitles();
    // The document keeps its copy under its own name from now on.
    RemoveRecoveryCopy(m_directory, found.fileName);
    sync();
}

TApptDocument *RecoveryCopies::documentOf(const std::string &path)
{
    DVDocManager &docs = m_frame.documents();
    if (path.empty()) {
        docs.newDocument();
        return docs.count() > 0 ? docs.document(docs.count() - 1) : nullptr;
    }
    const auto find = [&docs, &path]() -> TApptDocument * {
        for (int i = 0; i < docs.count(); ++i) {
            if (absolutePath(*docs.document(i)) == path)
                return docs.document(i);
        }
        return nullptr;
    };
    if (TApptDocument *open = find())
        return open;
    return docs.openPath(fromPath(path)) ? find() : nullptr;
}

RecoveryCopies &InstallRecovery(TDVDecoratedMDIFrame &frame)
{
    auto *copies = new RecoveryCopies(
        frame, RecoveryDirectory(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")));
    DVDocManager &docs = frame.documents();
    // The change news: any command, any rebuild, and the clock's tick for what no signal
    // announces (a file that went marks its lines changed).
    QObject::connect(&frame, &TDVDecoratedMDIFrame::commandCarriedOut, copies,
                     &RecoveryCopies::noteChange);
    QObject::connect(&docs, &DVDocManager::documentsRefreshed, copies, &RecoveryCopies::noteChange);
    QObject::connect(frame.client(), &dvwMDIClient::ticked, copies, &RecoveryCopies::noteChange);
    // Saving and closing take the copy away at once.
    QObject::connect(&docs, &DVDocManager::documentSaved, copies, &RecoveryCopies::sync);
    QObject::connect(&docs, &DVDocManager::documentsChanged, copies, &RecoveryCopies::sync);
    QObject::connect(&frame, &TDVDecoratedMDIFrame::startFileOpened, copies,
                     &RecoveryCopies::offerLeftCopies, Qt::QueuedConnection);
    return *copies;
}

} // namespace dvw
