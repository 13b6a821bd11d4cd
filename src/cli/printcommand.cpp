#include "printcommand.h"

#include "clioptions.h"
#include "enginecommands.h"
#include "json.h"
#include "render/printjob.h"
#include "settings/settings.h"
#include "store/decodedtext.h"
#include "store/startdate.h"
#include "store/textmatch.h"

#include <QGuiApplication>

#include <ostream>

namespace dvw {

namespace {

int usageProblem(std::ostream &err, const std::string &problem)
{
    err << "dayvane-cli: " << problem << "\n";
    return 2;
}

// Fonts need a GUI application; without a display the offscreen platform serves.
void ensureFonts()
{
    if (QGuiApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "dayvane-cli";
    static char *argv[] = {name, nullptr};
    // Lives as long as the process: fonts and the PDF writer may be used until exit.
    new QGuiApplication(argc, argv);
}

std::string problemWith(const CliOptions &o)
{
    if (!o.layout)
        return "print needs --layout list|wallet|month";
    if (!o.pdf && !o.json)
        return "print needs --pdf OUT.pdf or --json";
    if (o.pages && o.through)
        return "--pages and --through exclude each other";
    if (o.pdf && o.charWidth)
        return "--char-width lays out without fonts, which cannot draw a PDF";
    return {};
}

QPageLayout pageLayoutOf(const CliOptions &o, const Settings &stored, PrintLayout layout)
{
    const int storedOrientation
        = layout == PrintLayout::Month ? stored.calOrient : stored.listOrient;
    const bool landscape = o.orientation ? *o.orientation == "landscape" : storedOrientation == 2;
    const bool letter = o.paper && *o.paper == "letter";
    return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

PrintRequest requestOf(const CliOptions &o, const Settings &stored, const EngineRun &run,
                       const QPageLayout &page)
{
    PrintRequest r;
    r.layout = *o.layout == "month" ? PrintLayout::Month
        : *o.layout == "wallet"     ? PrintLayout::Wallet
                                    : PrintLayout::List;
    r.device = DevicePageOf(page);
    const DateWindow &w = run.document.window();
    const DateTextSettings &dateText = run.settings.dateText;
    r.range.from = o.from.value_or(w.start);
    r.range.through = o.through.value_or(TDate::fromDayNumber(r.range.from.dayNumber + 6));
    r.range.byPages = o.pages ? true : o.through ? false : stored.page;
    r.range.includeNotes = o.includeNotes.value_or(stored.includeNotes);
    r.range.european = dateText.european;
    r.columns = o.columns.value_or(stored.numCols);
    r.byPages = r.range.byPages;
    r.pages = o.pages.value_or(stored.numPages);
    r.border = o.border.value_or(stored.border != 0);
    const auto month = static_cast<int>(w.today.Month());
    const auto year = static_cast<int>(w.today.Year());
    r.months = o.months
        ? MonthRange {(*o.months)[1], (*o.months)[0], (*o.months)[3], (*o.months)[2]}
        : MonthRange {month, year, month, year};
    const std::string name
        = o.printName ? CutToCharacters(*o.printName, kPrintNameLength) : stored.printName;
    r.caption = PrintCaptionText(name, StartDateText(w.today, dateText));
    return r;
}

std::string rectJson(const GridRect &r)
{
    return JsonObject()
        .addInt("left", r.left)
        .addInt("top", r.top)
        .addInt("right", r.right)
        .addInt("bottom", r.bottom)
        .str();
}

std::string textArray(const std::vector<std::u32string> &lines)
{
    std::string out = "[";
    for (const std::u32string &line : lines) {
        if (out.size() > 1)
            out += ',';
        out += jsonString(EncodeUtf8(line));
    }
    return out + "]";
}

std::string fontsJson(const PrintJob &job)
{
    const TextMeasure &m = *job.measure();
    return JsonObject()
        .addInt("heading", m.height(PrintFont::Heading))
        .addInt("entry", m.height(PrintFont::Entry))
        .addInt("caption", m.height(PrintFont::Caption))
        .str();
}

std::string monthName(int year, int month)
{
    return std::to_string(year) + (month < 10 ? "-0" : "-") + std::to_string(month);
}

std::string headerJson(const CliOptions &o, PrintJob &job)
{
    const PrintRequest &r = job.request();
    JsonObject h;
    h.addString("layout", *o.layout)
        .addString("paper", o.paper.value_or("a4"))
        .addString("orientation", r.device.width() > r.device.height() ? "landscape" : "portrait")
        .addRaw("device",
                "[" + std::to_string(r.device.width()) + "," + std::to_string(r.device.height())
                    + "]");
    if (const ListPrintout *list = job.list()) {
        const ListGeometry &g = list->geometry();
        h.addRaw("pageRect", rectJson(g.page))
            .addInt("columns", g.columns)
            .addInt("columnWidth", g.columnWidth)
            .addInt("textWidth", g.textWidth)
            .addInt("lineHeight", g.lineHeight)
            .addInt("innerMargin", g.innerMargin)
            .addInt("usableHeight", g.usableHeight)
            .addInt("charWidth", o.charWidth.value_or(0))
            .addBool("border", g.border)
            .addBool("notes", r.range.includeNotes)
            .addDate("from", r.range.from)
            .addDate("through", r.range.through)
            .addInt("pagesWanted", r.byPages ? r.pages : 0);
    } else {
        h.addInt("charWidth", o.charWidth.value_or(0))
            .addString("months",
                       monthName(r.months.startYear, r.months.startMonth) + ".."
                           + monthName(r.months.endYear, r.months.endMonth));
    }
    return h.addRaw("fonts", fontsJson(job)).str();
}

void printListPage(std::ostream &out, ListPrintout &list, int p)
{
    const ListPage &page = *list.page(p);
    out << JsonObject()
               .addInt("page", p)
               .addBool("border", list.geometry().border)
               .addString("caption", EncodeUtf8(list.caption().text))
               .addRaw("captionRect", rectJson(list.caption().box))
               .str()
        << "\n";
    for (const PlacedItem &item : page.items) {
        out << JsonObject()
                   .addInt("page", p)
                   .addInt("column", item.column)
                   .addInt("x", item.x)
                   .addInt("y", item.y)
                   .addInt("height", item.height)
                   .addString("kind", PrintItemKindName(item.kind))
                   .addInt("line", item.line)
                   .addBool("done", item.done)
                   .addBool("cut", item.cut)
                   .addRaw("text", textArray(item.lines))
                   .addDate("date", item.date)
                   .str()
            << "\n";
    }
}

std::string cellJson(const MonthPage &page, const GridDay &day)
{
    const int shown = page.geometry.shownEntries(static_cast<int>(day.entries.size()));
    std::string entries = "[";
    for (int i = 0; i < shown; ++i) {
        const GridEntry &e = day.entries[static_cast<std::size_t>(i)];
        if (i > 0)
            entries += ',';
        entries += JsonObject()
                       .addInt("line", e.line)
                       .addString("text", EncodeUtf8(DecodeText(e.text)))
                       .addBool("done", e.done)
                       .str();
    }
    return JsonObject()
        .addInt("day", day.day)
        .addInt("weekday", day.weekday)
        .addRaw("rect", rectJson(page.geometry.cellRect(day.day)))
        .addBool("inRange", day.inWindow)
        .addBool("shaded", day.shaded)
        .addRaw("entries", entries + "]")
        .addInt("more", static_cast<std::int64_t>(day.entries.size()) - shown)
        .str();
}

void printMonthPage(std::ostream &out, const MonthPage &page)
{
    const MonthShape &s = page.grid.shape;
    std::string cells = "[";
    for (const GridDay &day : page.grid.days)
        cells += (cells.size() > 1 ? "," : "") + cellJson(page, day);
    std::string small = "[";
    for (const SmallMonth &m : page.smallMonths)
        small += (small.size() > 1 ? "," : "")
            + JsonObject()
                  .addString("month", monthName(m.shape.year, m.shape.month))
                  .addRaw("rect", rectJson(m.rect))
                  .addInt("rows", m.shape.weekRows)
                  .str();
    out << JsonObject()
               .addInt("page", page.number)
               .addString("month", monthName(s.year, s.month))
               .addRaw("rect", rectJson(page.rect))
               .addString("title", std::string(MonthName(s.month)) + ", " + std::to_string(s.year))
               .addInt("firstWeekday", s.firstWeekday)
               .addInt("rows", s.weekRows)
               .addInt("rowHeight", page.geometry.rowHeight())
               .addRaw("cells", cells + "]")
               .addRaw("smallMonths", small + "]")
               .addRaw("footer",
                       JsonObject()
                           .addString("text", EncodeUtf8(page.footer))
                           .addInt("right", page.footerRight)
                           .addInt("top", page.footerTop)
                           .str())
               .str()
        << "\n";
}

const char *endName(PrintEnd end)
{
    switch (end) {
    case PrintEnd::WontFit:
        return "won't fit";
    case PrintEnd::Cut:
        return "cut";
    default:
        return "done";
    }
}

void printLayout(std::ostream &out, const CliOptions &o, PrintJob &job)
{
    const int pages = job.pageCount();
    out << headerJson(o, job) << "\n";
    for (int p = 1; p <= pages; ++p) {
        if (ListPrintout *list = job.list())
            printListPage(out, *list, p);
        else
            printMonthPage(out, *job.month()->page(p));
    }
    out << JsonObject().addString("end", endName(job.end())).addInt("pages", pages).str() << "\n";
}

} // namespace

int runPrint(const CliOptions &o, std::ostream &out, std::ostream &err)
{
    if (const std::string problem = problemWith(o); !problem.empty())
        return usageProblem(err, problem);
    std::unique_ptr<EngineRun> run;
    if (const int status = prepare(o, run, false, err))
        return status;
    const Settings stored = loadStoredSettings(o);
    const bool fontFree = o.charWidth.has_value();
    if (!fontFree)
        ensureFonts();
    const PrintLayout layout = *o.layout == "month" ? PrintLayout::Month : PrintLayout::List;
    const QPageLayout page = pageLayoutOf(o, stored, layout);
    PrintJob job(run->document, requestOf(o, stored, *run, page), stored, o.charWidth);
    if (o.pdf) {
        const PdfResult written
            = WritePdfFile(*o.pdf, job, page, QString::fromStdString(run->document.path()));
        if (!written.ok) {
            err << "dayvane-cli: " << written.error << "\n";
            return 1;
        }
    }
    if (o.json)
        printLayout(out, o, job);
    job.pageCount();
    if (job.end() == PrintEnd::WontFit) {
        err << "dayvane-cli: Won't fit.\n";
        return 4;
    }
    if (job.end() == PrintEnd::Cut)
        err << "dayvane-cli: the printout stops after " << maxPrintPages << " pages\n";
    return 0;
}

} // namespace dvw
