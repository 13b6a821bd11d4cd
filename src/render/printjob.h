#pragma once

#include "printfonts.h"
#include "store/listprintout.h"
#include "store/monthprintout.h"

#include <QPageLayout>

#include <memory>
#include <optional>
#include <string>

class QPagedPaintDevice;
class QPainter;

namespace dvw {

class TApptDocument;
struct Settings;

enum class PrintLayout { List, Wallet, Month };

// Everything a printout is made from besides the document and the stored settings: what
// the print options and the command line choose for one run.
struct PrintRequest
{
    PrintLayout layout = PrintLayout::List;
    PrintRect device; // the whole sheet, in page units
    ListPrintRange range; // list and wallet
    int columns = 1;
    bool byPages = true;
    int pages = 1;
    bool border = false;
    MonthRange months; // calendar
    std::string caption; // "NAME DATE"
};

// A printout that lays out and draws its pages on demand. Made with fonts it draws; made
// font-free (every character charWidth units wide) it only lays out.
class PrintJob
{
public:
    // Takes what it prints from the document now; the document is not read again.
    PrintJob(const TApptDocument &doc, const PrintRequest &request, const Settings &settings,
             std::optional<int> fontFreeCharWidth = std::nullopt);
    ~PrintJob();

    const PrintRequest &request() const { return m_request; }
    bool isMonth() const { return m_month != nullptr; }
    bool canPaint() const { return m_fonts != nullptr; }
    ListPrintout *list() const { return m_list.get(); }
    const MonthPrintout *month() const { return m_month.get(); }
    const TextMeasure *measure() const { return m_measure.get(); }
    // Lays out the pages up to p; false when the printout has no page p.
    bool hasPage(int p);
    // Pages laid out so far, and how the printout ended (More while pages may follow).
    int pagesLaidOut() const;
    PrintEnd end() const;
    // Lays out every page; their number.
    int pageCount();
    // Draws page p with the painter in page units; nothing when there is no such page or
    // the job is font-free.
    void paintPage(QPainter &painter, int p);

private:
    PrintRequest m_request;
    std::unique_ptr<PrintFonts> m_fonts;
    std::unique_ptr<TextMeasure> m_measure;
    std::unique_ptr<ListPrintout> m_list;
    std::unique_ptr<MonthPrintout> m_month;
};

// The sheet of a page layout in page units (its full rectangle, not the printable one).
PrintRect DevicePageOf(const QPageLayout &layout);
// Maps page units onto the device's full page: call before painting a page.
void MapPageUnits(QPainter &painter, const PrintRect &device, const QRect &devicePixels);
// Paints every page of the job, from the first, onto the device (a new device page for
// each after the first). Returns the pages painted.
int PaintAllPages(PrintJob &job, QPagedPaintDevice &device, QPainter &painter);

struct PdfResult
{
    bool ok = false;
    std::string error; // the path and the reason, when not ok
    int pages = 0;
};

// Writes the job as a PDF file, atomically: the file is replaced whole, or left as it was.
PdfResult WritePdfFile(const std::string &path, PrintJob &job, const QPageLayout &layout,
                       const QString &title);

} // namespace dvw
