#include "exchange.h"

#include "ical/icalexport.h"
#include "ical/icalimport.h"
#include "platform/filechooser.h"
#include "platform/prompter.h"
#include "shell/commands.h"
#include "shell/documentsignals.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "store/fileio.h"
#include "store/fileoperations.h"
#include "store/tapptdocument.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>

namespace dvw {

namespace {

// The notes of an import that a message shows; the rest are counted.
constexpr int shownNotes = 8;

QString caption()
{
    return QStringLiteral("Dayvane");
}

QString text(const std::string &bytes)
{
    return QString::fromStdString(bytes);
}

std::vector<std::string> openPaths(const DVDocManager &docs)
{
    std::vector<std::string> paths;
    for (int i = 0; i < docs.count(); ++i)
        paths.push_back(docs.document(i)->path());
    return paths;
}

// The current document, when it is still the one a command began on before its file
// dialog ran the event loop (the document may have been closed meanwhile).
TApptDocument *stillCurrent(const DVDocManager &docs, const QPointer<DocumentSignals> &began)
{
    TApptDocument *doc = docs.current();
    return began && doc != nullptr && docs.signalsOf(*doc) == began.data() ? doc : nullptr;
}

void exportCalendar(TDVDecoratedMDIFrame &frame, TApptDocument &current)
{
    dvwApp &app = frame.app();
    const QPointer<DocumentSignals> began = frame.documents().signalsOf(current);
    const QString suggested = current.path().empty()
        ? QString()
        : QFileInfo(QFile::decodeName(QByteArray::fromStdString(current.path()))).completeBaseName()
            + QStringLiteral(".ics");
    const QString chosen = app.files().saveFile(
        QStringLiteral("Export iCalendar"), CalendarFileFilter(), suggested, QStringLiteral("ics"));
    TApptDocument *doc = stillCurrent(frame.documents(), began);
    if (chosen.isEmpty() || doc == nullptr)
        return;
    const std::string path = QFile::encodeName(chosen).toStdString();
    std::string problem = RefusedTarget(path, ProtectedFilesOf(openPaths(frame.documents())));
    if (!problem.empty())
        problem = path + ": " + problem;
    if (problem.empty()) {
        ExportRequest request;
        request.today = doc->window().today;
        request.first = doc->window().start;
        request.last = doc->window().end;
        const SaveResult saved
            = SaveFileAtomically(path, ExportCalendar(*doc, request), CurrentIdentity(path), false,
                                 SystemFileOps(), nullptr, Backup::None);
        problem = saved.ok ? saved.warning : saved.reason;
    }
    if (!problem.empty())
        app.prompter().info(caption(),
                            QStringLiteral("The calendar was not written.\n\n") + text(problem),
                            Prompter::Icon::Stop);
}

QString importReport(const ImportResult &result)
{
    QString report = QStringLiteral("Imported from the calendar: %1, of which %2 as one line per "
                                    "date; not imported: %3.")
                         .arg(result.imported)
                         .arg(result.expanded)
                         .arg(result.skipped);
    const int notes = static_cast<int>(result.notes.size());
    for (int i = 0; i < std::min(notes, shownNotes); ++i)
        report += QStringLiteral("\n") + text(result.notes[static_cast<std::size_t>(i)]);
    if (notes > shownNotes)
        report += QStringLiteral("\n(%1 more)").arg(notes - shownNotes);
    return report;
}

void importCalendar(TDVDecoratedMDIFrame &frame, TApptDocument &current)
{
    dvwApp &app = frame.app();
    const QPointer<DocumentSignals> began = frame.documents().signalsOf(current);
    const QString chosen
        = app.files().openFile(QStringLiteral("Import iCalendar"), CalendarFileFilter());
    TApptDocument *found = stillCurrent(frame.documents(), began);
    if (chosen.isEmpty() || found == nullptr)
        return;
    TApptDocument &doc = *found;
    const std::string path = QFile::encodeName(chosen).toStdString();
    const LoadResult file = LoadFile(path);
    ImportResult result;
    if (file.status == LoadResult::Loaded) {
        ImportRequest request;
        request.dateText = doc.dateSettings();
        request.today = doc.window().today;
        request.categories = ImportCategoriesOf(doc);
        result = ImportCalendar(file.bytes, request);
    } else {
        result.error = file.status == LoadResult::Missing ? path + ": no such file" : file.reason;
    }
    if (!result.ok) {
        app.prompter().info(caption(),
                            QStringLiteral("The calendar cannot be read; nothing was "
                                           "imported.\n\n")
                                + text(result.error),
                            Prompter::Icon::Stop);
        return;
    }
    if (!result.lines.empty()) {
        doc.AppendLines(result.lines);
        frame.documents().rescan(doc);
        frame.documents().updateTitles();
    }
    app.prompter().info(caption(), importReport(result));
}

} // namespace

QString CalendarFileFilter()
{
    return QStringLiteral("iCalendar Files (*.ics *.ICS);;All Files (*)");
}

void InstallIcalExchange(TDVDecoratedMDIFrame &frame)
{
    DVDocManager &docs = frame.documents();
    const auto withDocument = [&docs] { return docs.current() != nullptr; };
    frame.commands().add(
        Cm::FileExportIcal,
        [&frame, &docs] {
            if (TApptDocument *doc = docs.current())
                exportCalendar(frame, *doc);
        },
        withDocument);
    frame.commands().add(
        Cm::FileImportIcal,
        [&frame, &docs] {
            if (TApptDocument *doc = docs.current())
                importCalendar(frame, *doc);
        },
        withDocument);
    frame.updateActions();
}

} // namespace dvw
