#include "printing.h"

#include "platform/filechooser.h"
#include "platform/helpbook.h"
#include "platform/prompter.h"
#include "printdialogs.h"
#include "printpreview.h"
#include "printrules.h"
#include "render/printjob.h"
#include "settings/settingkeys.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdiclient.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "store/startdate.h"

#include <QMdiSubWindow>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace dvw {

namespace {

constexpr int listHelpTopic = 118;
constexpr int monthHelpTopic = 135;
constexpr int portrait = 1;
constexpr int landscape = 2;

PrintServices withDefaults(PrintServices s, QWidget *frame)
{
    if (!s.runDialog)
        s.runDialog = [](QDialog &dialog) {
            dialog.setWindowModality(Qt::WindowModal);
            return dialog.exec() == QDialog::Accepted;
        };
    if (!s.runPreview)
        s.runPreview = [](TPrintPreview &preview) {
            preview.setWindowModality(Qt::WindowModal);
            preview.exec();
        };
    if (!s.defaultPrinter)
        s.defaultPrinter = []() -> std::unique_ptr<QPrinter> {
            if (QPrinterInfo::defaultPrinter().isNull())
                return nullptr;
            return std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(),
                                              QPrinter::HighResolution);
        };
    if (!s.pageSetup)
        s.pageSetup = [frame](QPrinter &printer) {
            QPageSetupDialog dialog(&printer, frame);
            dialog.exec();
        };
    return s;
}

class PrintCommands : public QObject
{
public:
    PrintCommands(TDVDecoratedMDIFrame &frame, PrintServices services)
        : QObject(&frame)
        , m_frame(frame)
        , m_docs(frame.documents())
        , m_app(frame.app())
        , m_services(withDefaults(std::move(services), &frame))
        , m_session(PrintSession::start(m_app.settings(), m_app.dateWindow().start,
                                        m_app.dateWindow().today))
    { }

    void registerAll();

private:
    // The one place that decides what the current document prints as.
    PrintTarget target() const;
    TApptDocument *document() const { return m_docs.current(); }
    DateTextSettings dates() const { return m_app.documentSettings().dateText; }
    QPrinter &printer();
    const char *orientationSetting(PrintTarget t) const
    {
        return t == PrintTarget::Month ? settingkeys::CALORIENT : settingkeys::LISTORIENT;
    }
    QPageLayout pageLayoutFor(PrintTarget t);
    std::unique_ptr<PrintJob> makeJob(PrintTarget t, const TApptDocument &doc);
    void reportEnd(const PrintJob &job);

    void printOptions();
    void preview();
    void print();
    void printSetup();

    TDVDecoratedMDIFrame &m_frame;
    DVDocManager &m_docs;
    dvwApp &m_app;
    PrintServices m_services;
    PrintSession m_session;
    std::unique_ptr<QPrinter> m_printer;
    bool m_systemPrinter = false;
};

void PrintCommands::registerAll()
{
    CommandRegistry &r = m_frame.commands();
    const auto enabled = [this] { return target() != PrintTarget::None; };
    r.add(
        Cm::PrintOptions, [this] { printOptions(); }, enabled);
    r.add(
        Cm::PrintPreview, [this] { preview(); }, enabled);
    r.add(
        Cm::FilePrint, [this] { print(); }, enabled);
    r.add(
        Cm::FilePrintSetup, [this] { printSetup(); }, enabled);
    // The print dates follow a new window start (the start date command, midnight).
    QObject::connect(&m_docs, &DVDocManager::documentsRefreshed, this,
                     [this] { m_session.followWindowStart(m_app.dateWindow().start); });
    QObject::connect(&m_app, &dvwApp::settingsChanged, this, [this](const QString &name) {
        m_session.followSetting(name.toStdString(), m_app.settings());
    });
    QObject::connect(m_frame.client(), &QMdiArea::subWindowActivated, this,
                     [this] { m_frame.updateActions(); });
}

PrintTarget PrintCommands::target() const
{
    const TApptDocument *doc = document();
    PrintFacts facts;
    facts.hasDocument = doc != nullptr;
    facts.windowActive = m_frame.client()->activeSubWindow() != nullptr;
    facts.showsList = doc && m_docs.viewWindow(*doc, ListViewSlot) != nullptr;
    facts.showsCalendar = doc && m_docs.viewWindow(*doc, CalendarViewSlot) != nullptr;
    return PrintTargetOf(facts);
}

QPrinter &PrintCommands::printer()
{
    if (!m_printer) {
        m_printer = m_services.defaultPrinter();
        m_systemPrinter = m_printer != nullptr;
        // Without a printer the pages go to a PDF file, on the paper the locale uses.
        if (!m_printer) {
            m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            m_printer->setOutputFormat(QPrinter::PdfFormat);
        }
    }
    return *m_printer;
}

QPageLayout PrintCommands::pageLayoutFor(PrintTarget t)
{
    const Settings &s = m_app.settings();
    const int stored = t == PrintTarget::Month ? s.calOrient : s.listOrient;
    QPageLayout layout = printer().pageLayout();
    layout.setOrientation(stored == landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    layout.setMinimumMargins(QMarginsF(0, 0, 0, 0));
    layout.setMargins(QMarginsF(0, 0, 0, 0));
    return layout;
}

std::unique_ptr<PrintJob> PrintCommands::makeJob(PrintTarget t, const TApptDocument &doc)
{
    const Settings &s = m_app.settings();
    PrintRequest r;
    r.layout = t == PrintTarget::Month ? PrintLayout::Month
        : m_session.walletStyle        ? PrintLayout::Wallet
                                       : PrintLayout::List;
    r.device = DevicePageOf(pageLayoutFor(t));
    r.range = {m_session.from, m_session.through, m_session.byPages, m_session.includeNotes,
               dates().european};
    r.columns = m_session.columns;
    r.byPages = m_session.byPages;
    r.pages = m_session.pages;
    r.border = s.border != 0;
    r.months = m_session.months;
    r.caption = PrintCaptionText(s.printName, StartDateText(m_app.dateWindow().today, dates()));
    return std::make_unique<PrintJob>(doc, r, s);
}

void PrintCommands::reportEnd(const PrintJob &job)
{
    if (job.end() == PrintEnd::WontFit)
        m_app.prompter().info(QString(), QStringLiteral("Won't fit."));
}

void PrintCommands::printOptions()
{
    const TApptDocument *doc = document();
    const PrintTarget t = target();
    if (t == PrintTarget::List) {
        TPrintOptionsDialog dialog(
            ListOptionsOf(m_session, dates()), [this] { m_app.help().showTopic(listHelpTopic); },
            &m_frame);
        if (m_services.runDialog(dialog))
            ApplyListOptions(m_session, dialog.controls(), dates());
    } else if (t == PrintTarget::Month && doc) {
        TMonthDialog dialog(
            m_session.months, MonthExplanation(m_session.months, doc->window().end, dates()),
            [this] { m_app.help().showTopic(monthHelpTopic); }, &m_frame);
        if (m_services.runDialog(dialog))
            m_session.months = dialog.range();
    }
}

void PrintCommands::preview()
{
    const TApptDocument *doc = document();
    const PrintTarget t = target();
    if (!doc || t == PrintTarget::None)
        return;
    std::unique_ptr<PrintJob> job = makeJob(t, *doc);
    TPrintPreview preview(*job, &m_frame);
    preview.setWontFit([this] { m_app.prompter().info(QString(), QStringLiteral("Won't fit.")); });
    // Over the main window's client area.
    const QWidget *client = m_frame.client();
    preview.setGeometry(
        QRect(client->mapToGlobal(QPoint(0, 0)), client->size()).adjusted(-1, -1, 1, 1));
    m_services.runPreview(preview);
}

void PrintCommands::print()
{
    const TApptDocument *doc = document();
    const PrintTarget t = target();
    if (!doc || t == PrintTarget::None)
        return;
    std::unique_ptr<PrintJob> job = makeJob(t, *doc);
    const QPageLayout layout = pageLayoutFor(t);
    const QString title = QString::fromStdString(doc->path());
    QPrinter &p = printer();
    if (!m_systemPrinter) {
        const QString path = m_app.files().saveFile(QStringLiteral("Print to PDF file"),
                                                    QStringLiteral("PDF files (*.pdf)"), QString(),
                                                    QStringLiteral("pdf"));
        if (path.isEmpty())
            return;
        const PdfResult written = WritePdfFile(path.toStdString(), *job, layout, title);
        if (!written.ok) {
            m_app.prompter().info(QString(), QString::fromStdString(written.error),
                                  Prompter::Icon::Stop);
            return;
        }
    } else {
        p.setFullPage(true);
        p.setPageLayout(layout);
        p.setDocName(title);
        QPainter painter;
        if (!painter.begin(&p)) {
            m_app.prompter().info(QString(), QStringLiteral("Print error"), Prompter::Icon::Stop);
            return;
        }
        PaintAllPages(*job, p, painter);
        painter.end();
    }
    reportEnd(*job);
}

void PrintCommands::printSetup()
{
    const PrintTarget t = target();
    const char *name = orientationSetting(t);
    QPrinter &p = printer();
    const Settings &s = m_app.settings();
    const int stored = t == PrintTarget::Month ? s.calOrient : s.listOrient;
    p.setPageOrientation(stored == landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    m_services.pageSetup(p);
    // Whatever the dialog's outcome, the printer's orientation is what is stored.
    const int chosen
        = p.pageLayout().orientation() == QPageLayout::Landscape ? landscape : portrait;
    m_app.changeSetting(name, chosen);
}

} // namespace

void InstallPrinting(TDVDecoratedMDIFrame &frame, PrintServices services)
{
    auto *commands = new PrintCommands(frame, std::move(services));
    commands->registerAll();
    frame.updateActions();
}

} // namespace dvw
