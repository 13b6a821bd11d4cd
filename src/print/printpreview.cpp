#include "printpreview.h"

#include "render/printjob.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QPainter>
#include <QToolBar>
#include <QVBoxLayout>

namespace dvw {

namespace {

constexpr int pageGap = 30; // between the two pages
constexpr int margin = 10; // around the pages

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int pageLimitOf(const PrintJob &job)
{
    if (job.isMonth())
        return job.month()->pageCount();
    ListPrintSetup setup;
    setup.byPages = job.request().byPages;
    setup.pages = job.request().pages;
    return PageLimitOf(setup);
}

} // namespace

const QImage &PreviewPages::page(int p, const QSize &size)
{
    if (size != m_size) {
        m_images.clear();
        m_size = size;
    }
    auto found = m_images.find(p);
    if (found != m_images.end())
        return found->second;
    QImage image(size.expandedTo({1, 1}), QImage::Format_RGB32);
    image.fill(Qt::white);
    if (m_job.hasPage(p)) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        MapPageUnits(painter, m_job.request().device, image.rect());
        m_job.paintPage(painter, p);
    }
    return m_images.emplace(p, std::move(image)).first->second;
}

int PreviewPages::highest() const
{
    return m_job.end() == PrintEnd::More ? pageLimitOf(m_job) : std::max(1, m_job.pagesLaidOut());
}

class TPrintPreview::PageArea : public QWidget
{
public:
    explicit PageArea(TPrintPreview &preview)
        : QWidget(&preview)
        , m_preview(preview)
    {
        setObjectName(QStringLiteral("previewPages"));
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, palette().color(QPalette::Dark));
        setPalette(p);
        setMinimumSize(200, 200);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const PreviewPager &pager = m_preview.pager();
        const int shown = pager.twoPages() ? 2 : 1;
        for (int i = 0; i < shown; ++i) {
            const QRect r = m_preview.pageRect(i);
            painter.drawImage(r.topLeft(), m_preview.pages().page(pager.first() + i, r.size()));
            painter.setPen(Qt::black);
            painter.drawRect(r.adjusted(-1, -1, 0, 0));
        }
    }

private:
    TPrintPreview &m_preview;
};

TPrintPreview::TPrintPreview(PrintJob &job, QWidget *parent)
    : QDialog(parent)
    , m_job(job)
    , m_pages(job)
    , m_pager(m_pages.highest())
{
    setObjectName(QStringLiteral("printPreview"));
    setWindowTitle(QStringLiteral("Print Preview"));
    auto *bar = new QToolBar(this);
    QFont barFont = bar->font();
    barFont.setPointSize(10);
    bar->setFont(barFont);
    const auto action
        = [this, bar](int command, const QString &text, void (TPrintPreview::*run)()) {
              QAction *a = bar->addAction(text);
              a->setObjectName(QStringLiteral("action%1").arg(command));
              connect(a, &QAction::triggered, this, run);
              return a;
          };
    m_previous = action(24500, QStringLiteral("Previous page"), &TPrintPreview::previous);
    m_next = action(24501, QStringLiteral("Next page"), &TPrintPreview::next);
    bar->addSeparator();
    m_one = action(24502, QStringLiteral("One page"), &TPrintPreview::onePage);
    m_two = action(24503, QStringLiteral("Two pages"), &TPrintPreview::twoPages);
    auto *group = new QActionGroup(this);
    for (QAction *a : {m_one, m_two}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    m_one->setChecked(true);
    bar->addSeparator();
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("previewStatus"));
    m_status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_status->setMinimumWidth(m_status->fontMetrics().horizontalAdvance(QString(10, u'0')));
    bar->addWidget(m_status);
    m_area = new PageArea(*this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_area, 1);
    // A page wider than high leaves no room for two.
    const PrintRect &d = job.request().device;
    m_two->setEnabled(d.height() >= d.width());
    refresh();
}

TPrintPreview::~TPrintPreview() = default;

QString TPrintPreview::status() const
{
    return m_status->text();
}

QRect TPrintPreview::pageRect(int which) const
{
    const PrintRect &d = m_job.request().device;
    const int shown = m_pager.twoPages() ? 2 : 1;
    const int roomH = std::max(1, m_area->height() - 2 * margin);
    const int roomW = std::max(1, (m_area->width() - 2 * margin - (shown - 1) * pageGap) / shown);
    const double scale
        = std::min(roomH / double(std::max(1, d.height())), roomW / double(std::max(1, d.width())));
    const QSize size(std::max(1, static_cast<int>(d.width() * scale)),
                     std::max(1, static_cast<int>(d.height() * scale)));
    const int total = shown * size.width() + (shown - 1) * pageGap;
    const int left = (m_area->width() - total) / 2;
    return QRect(QPoint(left + which * (size.width() + pageGap), margin), size);
}

void TPrintPreview::previous()
{
    m_pager.previous();
    refresh();
}

void TPrintPreview::next()
{
    // Turning on lays out the next page, which tells whether the printout ends sooner.
    if (m_pager.canGoOn())
        m_job.hasPage(m_pager.last() + 1);
    m_pager.setHighest(m_pages.highest());
    m_pager.next();
    refresh();
}

void TPrintPreview::onePage()
{
    m_pager.onePage();
    m_one->setChecked(true);
    refresh();
}

void TPrintPreview::twoPages()
{
    if (!m_two->isEnabled())
        return;
    m_job.hasPage(m_pager.first() + 1);
    m_pager.setHighest(m_pages.highest());
    m_pager.showTwoPages();
    m_two->setChecked(true);
    refresh();
}

void TPrintPreview::refresh()
{
    m_job.hasPage(m_pager.last());
    m_pager.setHighest(m_pages.highest());
    m_status->setText(fromUtf8(m_pager.status()));
    m_previous->setEnabled(m_pager.canGoBack());
    m_next->setEnabled(m_pager.canGoOn());
    m_area->update();
    if (m_job.end() == PrintEnd::WontFit && !m_wontFitTold && m_wontFit) {
        m_wontFitTold = true;
        m_wontFit();
    }
}

} // namespace dvw
