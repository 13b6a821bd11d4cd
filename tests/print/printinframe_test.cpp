// The four print commands in the main window, with the printer, the dialogs and the
// preview answered by the test; the PDF they write is read back with pdftotext.
#include "framefixture.h"
#include "pdfwords.h"
#include "print/printdialogs.h"
#include "print/printing.h"
#include "print/printpreview.h"
#include "render/printjob.h"
#include "settings/settingkeys.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwmdichild.h"
#include "views/entryinstall.h"
#include "views/monthviews.h"
#include "views/searchinstall.h"
#include "views/views.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QScrollBar>

#include <gtest/gtest.h>

using namespace dvw;

namespace {

// Sixty days of four entries each from the fixture's today, some long enough to wrap.
QByteArray sampleFile()
{
    QByteArray text;
    const QDate first(2026, 12, 7);
    for (int d = 0; d < 60; ++d) {
        const QDate day = first.addDays(d);
        const QByteArray date = QByteArray::number(day.month()) + "/"
            + QByteArray::number(day.day()) + "/" + QByteArray::number(day.year());
        text += date + " Meeting number " + QByteArray::number(d) + "\r\n";
        text += date + " Lunch with Pat\r\n";
        text += date
            + " Review the quarterly figures with everybody who asked for them before "
              "the deadline passes\r\n";
        if (d % 3 == 0)
            text += ">" + date + " Gym\r\n";
    }
    return text;
}

class PrintInFrame : public test::FrameFixture
{
protected:
    void start(const QByteArray &fileText = sampleFile())
    {
        writeFile(QStringLiteral("NOTES.APT"), fileText);
        makeFrame({"dayvane", "NOTES.APT"});
        frame->resize(900, 700);
        const FeatureServices features = completeServices(*frame, {});
        InstallViews(*frame, features);
        InstallSearch(*frame, features);
        InstallEntryOps(*frame, features);
        PrintServices services;
        services.runDialog = [this](QDialog &dialog) {
            ++dialogsRun;
            dialogTitle = dialog.windowTitle();
            const bool ok = answer ? answer(dialog) : false;
            return ok;
        };
        services.runPreview = [this](TPrintPreview &preview) {
            if (onPreview)
                onPreview(preview);
        };
        services.defaultPrinter = [this]() -> std::unique_ptr<QPrinter> {
            if (printerFile.isEmpty())
                return nullptr;
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(printerFile);
            printer->setPageSize(QPageSize(QPageSize::A4));
            return printer;
        };
        services.pageSetup = [this](QPrinter &printer) {
            if (setupOrientation)
                printer.setPageOrientation(*setupOrientation);
        };
        InstallPrinting(*frame, services);
        frame->showAtStart();
        frame->openStartFile();
    }
    TApptDocument &doc() const { return *frame->documents().document(0); }
    bool enabled(int command) const { return frame->action(command)->isEnabled(); }
    // The layout records dayvane-cli gives for the same file and settings.
    std::vector<QJsonObject> cliLayout(const QStringList &options)
    {
        QProcess cli;
        cli.start(QStringLiteral(DVW_CLI),
                  QStringList {QStringLiteral("print"), dir.filePath(QStringLiteral("NOTES.APT")),
                               QStringLiteral("--today"), QStringLiteral("2026-12-07")}
                      + options);
        EXPECT_TRUE(cli.waitForFinished(60000));
        EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
        return test::JsonLinesOf(cli.readAllStandardOutput());
    }

    std::function<bool(QDialog &)> answer;
    std::function<void(TPrintPreview &)> onPreview;
    QString printerFile;
    std::optional<QPageLayout::Orientation> setupOrientation;
    QString dialogTitle;
    int dialogsRun = 0;
};

int pagesOf(const std::vector<QJsonObject> &layout)
{
    return layout.back().value(QStringLiteral("pages")).toInt();
}

TEST_F(PrintInFrame, TheFourCommandsFollowWhatTheCurrentDocumentShows)
{
    start();
    const std::vector<int> commands
        = {Cm::PrintOptions, Cm::PrintPreview, Cm::FilePrint, Cm::FilePrintSetup};
    struct Step
    {
        const char *what;
        int command; // the view toggle run first
        bool enabled;
        const char *optionsTitle;
    };
    for (const Step &s : {Step {"the list", 0, true, "Print options - list"},
                          Step {"the calendar", Cm::ViewCalendar, true, "Print options - monthly"},
                          Step {"the file view alone", Cm::ViewFile, false, ""}}) {
        if (s.command != 0)
            frame->runCommand(s.command);
        frame->updateActions();
        for (int c : commands)
            EXPECT_EQ(enabled(c), s.enabled) << s.what << " " << c;
        dialogTitle.clear();
        frame->runCommand(Cm::PrintOptions);
        EXPECT_EQ(dialogTitle.toStdString(), s.optionsTitle) << s.what;
    }
}

TEST_F(PrintInFrame, PrintOptionsShowAStoredPageCountOf250AsOneAndKeepOne)
{
    QFile stored(settingsDir.filePath(QStringLiteral("DVW.conf")));
    ASSERT_TRUE(stored.open(QIODevice::WriteOnly));
    stored.write("[General]\nNUMPAGES=250\n");
    stored.close();
    start();
    QString shownPages;
    answer = [&](QDialog &dialog) {
        auto *pages = dialog.findChild<QLineEdit *>(QStringLiteral("c108"));
        auto *end = dialog.findChild<QLineEdit *>(QStringLiteral("c107"));
        shownPages = pages->text();
        // "Number of pages" is chosen: its field works and the end date's does not.
        EXPECT_TRUE(pages->isEnabled());
        EXPECT_FALSE(end->isEnabled());
        dialog.findChild<QRadioButton *>(QStringLiteral("c105"))->setChecked(true);
        EXPECT_FALSE(pages->isEnabled());
        EXPECT_TRUE(end->isEnabled());
        dialog.findChild<QRadioButton *>(QStringLiteral("c106"))->setChecked(true);
        dialog.findChild<QRadioButton *>(QStringLiteral("c102"))->setChecked(true); // wallet
        return true;
    };
    frame->runCommand(Cm::PrintOptions);
    EXPECT_EQ(shownPages, QStringLiteral("1"));
    EXPECT_EQ(app->settings().numPages, 250); // nothing is stored
    // The wallet chosen for this run prints one page of its own size.
    int pages = 0;
    PrintRect page;
    onPreview = [&](TPrintPreview &preview) {
        pages = preview.pager().highest();
        page = preview.pages().job().list()->geometry().page;
    };
    frame->runCommand(Cm::PrintPreview);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(page.width(), 504); // WALLETWIDTH 5.25 inches
}

TEST_F(PrintInFrame, TheMonthlyDialogMovesThePartnerMonth)
{
    start();
    frame->runCommand(Cm::ViewCalendar);
    QStringList texts;
    answer = [&](QDialog &dialog) {
        auto *startBar = dialog.findChild<QScrollBar *>(QStringLiteral("c350"));
        auto *endBar = dialog.findChild<QScrollBar *>(QStringLiteral("c352"));
        startBar->triggerAction(QAbstractSlider::SliderSingleStepAdd); // January 2027
        texts << dialog.findChild<QLineEdit *>(QStringLiteral("c353"))->text();
        endBar->triggerAction(QAbstractSlider::SliderPageStepAdd); // February 2027
        endBar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        endBar->triggerAction(QAbstractSlider::SliderSingleStepSub); // December 2026
        texts << dialog.findChild<QLineEdit *>(QStringLiteral("c351"))->text();
        texts << dialog.findChild<QLabel *>(QStringLiteral("c354"))->text();
        startBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        endBar->triggerAction(QAbstractSlider::SliderSingleStepAdd); // Jan..Feb 2027
        return true;
    };
    frame->runCommand(Cm::PrintOptions);
    EXPECT_EQ(texts.join(u'|').toStdString(),
              "January, 2027|December, 2026|Only appointments from 12/1/2026 through 12/6/2027 "
              "will appear in calendar.");
    int pages = 0;
    onPreview = [&](TPrintPreview &preview) { pages = preview.pager().highest(); };
    frame->runCommand(Cm::PrintPreview);
    EXPECT_EQ(pages, 2);
}

TEST_F(PrintInFrame, PreviewPagesOnAndTheCalendarKeepsItsMonth)
{
    start();
    struct Seen
    {
        QString status;
        bool previous, next;
    };
    std::vector<Seen> seen;
    const auto look = [&](TPrintPreview &p) {
        seen.push_back({p.status(),
                        p.findChild<QAction *>(QStringLiteral("action24500"))->isEnabled(),
                        p.findChild<QAction *>(QStringLiteral("action24501"))->isEnabled()});
    };
    onPreview = [&](TPrintPreview &p) {
        look(p);
        p.findChild<QAction *>(QStringLiteral("action24503"))->trigger();
        look(p);
        p.findChild<QAction *>(QStringLiteral("action24501"))->trigger();
        look(p);
        p.findChild<QAction *>(QStringLiteral("action24502"))->trigger();
        look(p);
        // A page is drawn into the preview's size, in the printer page's proportions.
        const QRect r = p.pageRect(0);
        EXPECT_NEAR(double(r.width()) / r.height(), 793.0 / 1122.0, 0.01);
        EXPECT_FALSE(p.pages().page(1, r.size()).isNull());
    };
    // Two pages by the stored defaults (PAGE on, NUMPAGES 1 is the default: use 3).
    answer = [](QDialog &dialog) {
        dialog.findChild<QLineEdit *>(QStringLiteral("c108"))->setText(QStringLiteral("3"));
        return true;
    };
    frame->runCommand(Cm::PrintOptions);
    frame->runCommand(Cm::PrintPreview);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].status, QStringLiteral("Page 1"));
    EXPECT_FALSE(seen[0].previous);
    EXPECT_TRUE(seen[0].next);
    EXPECT_EQ(seen[1].status, QStringLiteral("Page 1 - 2"));
    EXPECT_EQ(seen[2].status, QStringLiteral("Page 2 - 3"));
    EXPECT_TRUE(seen[2].previous);
    EXPECT_FALSE(seen[2].next);
    EXPECT_EQ(seen[3].status, QStringLiteral("Page 2"));

    // The calendar: a landscape page has no room for two pages, and the view keeps its
    // month while the printout draws others.
    frame->runCommand(Cm::ViewCalendar);
    auto *calendar = qobject_cast<TCalendarView *>(
        frame->documents().viewWindow(doc(), CalendarViewSlot)->widget());
    ASSERT_NE(calendar, nullptr);
    const TDate shown = calendar->selectedDate();
    answer = [](QDialog &dialog) {
        auto *endBar = dialog.findChild<QScrollBar *>(QStringLiteral("c352"));
        for (int i = 0; i < 3; ++i)
            endBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return true;
    };
    frame->runCommand(Cm::PrintOptions);
    bool twoPagesEnabled = true;
    onPreview = [&](TPrintPreview &p) {
        twoPagesEnabled = p.findChild<QAction *>(QStringLiteral("action24503"))->isEnabled();
        for (int i = 0; i < 3; ++i)
            p.next();
        EXPECT_EQ(p.status(), QStringLiteral("Page 4"));
        EXPECT_EQ(calendar->selectedDate(), shown);
    };
    frame->runCommand(Cm::PrintPreview);
    EXPECT_FALSE(twoPagesEnabled);
    EXPECT_EQ(calendar->selectedDate(), shown);
}

TEST_F(PrintInFrame, PrintSetupStoresTheOrientationOfTheCurrentView)
{
    start();
    setupOrientation = QPageLayout::Landscape;
    frame->runCommand(Cm::FilePrintSetup);
    EXPECT_EQ(app->settings().listOrient, 2);
    EXPECT_EQ(app->settings().calOrient, 2);
    frame->runCommand(Cm::ViewCalendar);
    setupOrientation = QPageLayout::Portrait;
    frame->runCommand(Cm::FilePrintSetup);
    EXPECT_EQ(app->settings().calOrient, 1);
    EXPECT_EQ(app->settings().listOrient, 2);
    // The next list print is landscape.
    frame->runCommand(Cm::ViewAppointment);
    PrintRect device;
    onPreview = [&](TPrintPreview &p) { device = p.pages().job().request().device; };
    frame->runCommand(Cm::PrintPreview);
    EXPECT_GT(device.width(), device.height());
}

// Margins that leave a tenth of an inch: no column can take a line. Print and the preview
// each say "Won't fit." once, over the main window, and stop.
TEST_F(PrintInFrame, APageThatCannotTakeALineSaysWontFitOnce)
{
    QFile stored(settingsDir.filePath(QStringLiteral("DVW.conf")));
    ASSERT_TRUE(stored.open(QIODevice::WriteOnly));
    stored.write("[General]\nTOPMARGIN=5.80\nBOTTOMMARGIN=5.80\n");
    stored.close();
    start();
    const auto wontFits = [this] {
        int n = 0;
        for (const auto &asked : prompter.asked())
            n += asked.text == QStringLiteral("Won't fit.") ? 1 : 0;
        return n;
    };
    files.push(dir.filePath(QStringLiteral("none.pdf")));
    frame->runCommand(Cm::FilePrint);
    EXPECT_EQ(wontFits(), 1);
    onPreview = [](TPrintPreview &p) {
        for (int i = 0; i < 3; ++i)
            p.next();
        EXPECT_EQ(p.status(), QStringLiteral("Page 1"));
        EXPECT_FALSE(p.findChild<QAction *>(QStringLiteral("action24501"))->isEnabled());
    };
    frame->runCommand(Cm::PrintPreview);
    EXPECT_EQ(wontFits(), 2);
}

// The window command and dayvane-cli print the same pages of the same file: the PDF has
// the layout's page count, and each item's first word where the layout puts it.
TEST_F(PrintInFrame, PrintWritesTheLayoutsPagesToThePrinterOrAPdfFile)
{
    start();
    answer = [](QDialog &dialog) {
        dialog.findChild<QLineEdit *>(QStringLiteral("c108"))->setText(QStringLiteral("4"));
        dialog.findChild<QLineEdit *>(QStringLiteral("c110"))->setText(QStringLiteral("2"));
        return true;
    };
    frame->runCommand(Cm::PrintOptions);
    const std::vector<QJsonObject> layout
        = cliLayout({QStringLiteral("--layout"), QStringLiteral("list"), QStringLiteral("--json"),
                     QStringLiteral("--pages"), QStringLiteral("4"), QStringLiteral("--columns"),
                     QStringLiteral("2")});
    ASSERT_FALSE(layout.empty());
    ASSERT_EQ(pagesOf(layout), 4);

    struct Way
    {
        const char *what;
        bool printer;
    };
    for (const Way &way : {Way {"the printer", true}, Way {"no printer: a PDF file", false}}) {
        SCOPED_TRACE(way.what);
        const QString pdf = dir.filePath(way.printer ? QStringLiteral("printer.pdf")
                                                     : QStringLiteral("chosen.pdf"));
        // The printer object is made once; a second main window asks again.
        frame.reset();
        app.reset();
        printerFile = way.printer ? pdf : QString();
        if (!way.printer)
            files.push(pdf);
        start();
        frame->runCommand(Cm::PrintOptions);
        frame->runCommand(Cm::FilePrint);
        const test::PdfText text = test::PdfWordsOf(pdf);
        ASSERT_TRUE(text.ok) << "pdftotext (poppler-utils) is needed";
        EXPECT_EQ(text.pages, 4);
        EXPECT_EQ(test::ItemsMissingFrom(text, layout, 2.0).join(u'\n').toStdString(), "");
    }
}

} // namespace
