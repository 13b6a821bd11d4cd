#include "printjob.h"

#include "pagepainter.h"
#include "settings/settings.h"
#include "store/fileio.h"
#include "store/tapptdocument.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPainter>
#include <QPdfWriter>

namespace dvw {

namespace {

ListPrintSetup listSetupOf(const PrintRequest &r, const Settings &s, int baseHeight)
{
    ListPrintSetup setup;
    setup.device = r.device;
    setup.wallet = r.layout == PrintLayout::Wallet;
    setup.margins = {s.leftMargin, s.topMargin, s.rightMargin, s.bottomMargin};
    setup.walletPlace = {s.walletLeftMargin, s.walletTopMargin, s.walletWidth, s.walletHeight};
    setup.columns = r.columns;
    setup.byPages = r.byPages;
    setup.pages = r.pages;
    setup.border = r.border;
    setup.caption = r.caption;
    setup.baseHeight = baseHeight;
    return setup;
}

MonthPrintSetup monthSetupOf(const PrintRequest &r, const Settings &s, int titleHeight,
                             int entryHeight)
{
    MonthPrintSetup setup;
    setup.device = r.device;
    setup.range = r.months;
    setup.shadeWeekends = s.shadeWeekends;
    setup.footer = r.caption;
    setup.titleHeight = titleHeight;
    setup.entryLineHeight = entryHeight;
    return setup;
}

} // namespace

PrintJob::PrintJob(const TApptDocument &doc, const PrintRequest &request, const Settings &settings,
                   std::optional<int> fontFreeCharWidth)
    : m_request(request)
{
    const bool wallet = request.layout == PrintLayout::Wallet;
    int baseHeight = FontFreeBaseHeight(settings.fonts, wallet);
    int titleHeight = PrintUnitsOf(settings.fonts[2]) * 3 / 2;
    int entryHeight = PrintUnitsOf(settings.fonts[4]);
    if (fontFreeCharWidth) {
        m_measure = std::make_unique<FixedWidthMeasure>(*fontFreeCharWidth,
                                                        FontFreeHeights(settings.fonts, wallet));
    } else {
        m_fonts = std::make_unique<PrintFonts>(MakePrintFonts(settings.fonts, wallet));
        m_measure = std::make_unique<FontMeasure>(m_fonts->list);
        baseHeight = m_fonts->baseHeight;
        titleHeight = QFontMetrics(m_fonts->monthTitle).height();
        entryHeight
            = QFontMetrics(m_fonts->monthEntries).boundingRect(QStringLiteral("Ay")).height();
    }
    if (request.layout == PrintLayout::Month) {
        m_month = std::make_unique<MonthPrintout>(
            doc, monthSetupOf(request, settings, titleHeight, entryHeight));
    } else {
        const ListPrintSetup setup = listSetupOf(request, settings, baseHeight);
        m_list = std::make_unique<ListPrintout>(
            ListPrintSourceOf(doc, request.range, MostPrintableItems(setup)), setup, *m_measure);
    }
}

PrintJob::~PrintJob() = default;

bool PrintJob::hasPage(int p)
{
    if (m_month)
        return m_month->page(p) != nullptr;
    return m_list->page(p) != nullptr;
}

int PrintJob::pagesLaidOut() const
{
    return m_month ? m_month->pageCount() : m_list->pagesLaidOut();
}

PrintEnd PrintJob::end() const
{
    return m_month ? PrintEnd::Done : m_list->end();
}

int PrintJob::pageCount()
{
    return m_month ? m_month->pageCount() : m_list->pageCount();
}

void PrintJob::paintPage(QPainter &painter, int p)
{
    if (!m_fonts)
        return;
    if (m_month) {
        if (const MonthPage *page = m_month->page(p))
            PaintMonthPage(painter, *page, *m_fonts);
    } else if (const ListPage *page = m_list->page(p)) {
        PaintListPage(painter, m_list->geometry(), m_list->caption(), *page, *m_fonts);
    }
}

PrintRect DevicePageOf(const QPageLayout &layout)
{
    const QRectF inches = layout.fullRect(QPageLayout::Inch);
    return {0, 0, static_cast<int>(inches.width() * printUnitsPerInch),
            static_cast<int>(inches.height() * printUnitsPerInch)};
}

void MapPageUnits(QPainter &painter, const PrintRect &device, const QRect &devicePixels)
{
    painter.setWindow(device.left, device.top, device.width(), device.height());
    painter.setViewport(devicePixels);
}

int PaintAllPages(PrintJob &job, QPagedPaintDevice &device, QPainter &painter)
{
    int painted = 0;
    const QRect pixels(0, 0, device.width(), device.height());
    for (int p = 1; job.hasPage(p); ++p) {
        if (p > 1 && !device.newPage())
            break;
        painter.save();
        MapPageUnits(painter, job.request().device, pixels);
        job.paintPage(painter, p);
        painter.restore();
        ++painted;
    }
    return painted;
}

PdfResult WritePdfFile(const std::string &path, PrintJob &job, const QPageLayout &layout,
                       const QString &title)
{
    PdfResult result;
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setPageLayout(layout);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Dayvane"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            result.error = path + ": the PDF could not be made";
            return result;
        }
        result.pages = PaintAllPages(job, writer, painter);
        painter.end();
    }
    const SaveResult saved = SaveFileAtomically(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
        std::nullopt, true, SystemFileOps(), nullptr, Backup::None);
    result.ok = saved.ok;
    if (!saved.ok)
        result.error = saved.reason.empty() ? path + ": not written" : saved.reason;
    return result;
}

} // namespace dvw
