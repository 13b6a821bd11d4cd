#pragma once

#include "scrollrows.h"

#include <QAbstractScrollArea>

namespace dvw {

// A window of fixed-height rows with a cursor row, both scroll bars and a scroller that
// moves by whole rows vertically and by 40-pixel steps horizontally. The rows and their
// state belong to the subclass; this class keeps the scroll bars in step with them and
// paints only the rows that need it.
class TScrollView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit TScrollView(QWidget *parent = nullptr);

    int rowHeight() const { return m_rowHeight; }
    void setRowHeight(int pixels);
    // Asks for row n to be painted again, if it is visible.
    void repaintLine(int row);

protected:
    virtual ScrollRows &scrollRows() = 0;
    // Paints the rows that meet the area (window pixels).
    virtual void paintRows(QPainter &painter, const QRect &area) = 0;
    // Sets the scroll bars' ranges and positions from the rows.
    void syncScrollBars();

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int m_rowHeight = 16;
    bool m_syncing = false;
};

} // namespace dvw
