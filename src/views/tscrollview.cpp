#include "tscrollview.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace dvw {

TScrollView::TScrollView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
}

void TScrollView::setRowHeight(int pixels)
{
    m_rowHeight = std::max(1, pixels);
    scrollRows().setPage(viewport()->height(), m_rowHeight);
    syncScrollBars();
    viewport()->update();
}

void TScrollView::repaintLine(int row)
{
    const int y = (row - scrollRows().topRow) * m_rowHeight;
    if (y + m_rowHeight >= 0 && y <= viewport()->height())
        viewport()->update(QRect(0, y, viewport()->width(), m_rowHeight));
}

void TScrollView::syncScrollBars()
{
    const ScrollRows &rows = scrollRows();
    m_syncing = true;
    verticalScrollBar()->setRange(0, rows.lastLine);
    verticalScrollBar()->setPageStep(rows.pageRows);
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setValue(rows.topRow);
    horizontalScrollBar()->setRange(0, ScrollRows::xRange);
    horizontalScrollBar()->setPageStep(1);
    horizontalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setValue(rows.xPos);
    m_syncing = false;
}

void TScrollView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    paintRows(painter, event->rect());
}

void TScrollView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    scrollRows().setPage(viewport()->height(), m_rowHeight);
    syncScrollBars();
}

void TScrollView::scrollContentsBy(int, int)
{
    if (m_syncing)
        return;
    ScrollRows &rows = scrollRows();
    rows.scrollTo(verticalScrollBar()->value());
    rows.xPos = std::clamp(horizontalScrollBar()->value(), 0, ScrollRows::xRange);
    viewport()->update();
}

} // namespace dvw
