#include "hintstatusbar.h"

#include <QPainter>
#include <QSizeGrip>
#include <QStyleOption>

#include <algorithm>

namespace dvw {

namespace {

// Room kept free at the left edge and before the first field.
constexpr int kHintMargin = 6;
constexpr int kFieldGap = 4;

} // namespace

HintStatusBar::HintStatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("statusBar"));
}

QRect HintStatusBar::hintRect() const
{
    int right = width() - kHintMargin;
    for (const QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible() && !qobject_cast<const QSizeGrip *>(child))
            right = std::min(right, child->x() - kFieldGap);
    }
    return QRect(kHintMargin, 0, std::max(0, right - kHintMargin), height());
}

QString HintStatusBar::shownHint() const
{
    return fontMetrics().elidedText(currentMessage(), Qt::ElideRight, hintRect().width());
}

void HintStatusBar::paintEvent(QPaintEvent *event)
{
    if (currentMessage().isEmpty()) {
        QStatusBar::paintEvent(event);
        return;
    }
    // The base class would draw the whole message over the fields; this draws the same
    // panel and field frames, and the message cut to the free width.
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, this);
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->isVisible() || qobject_cast<QSizeGrip *>(child))
            continue;
        QStyleOption frame;
        frame.rect = child->geometry().adjusted(-2, -1, 2, 1);
        frame.palette = palette();
        frame.state = QStyle::State_None;
        style()->drawPrimitive(QStyle::PE_FrameStatusBarItem, &frame, &painter, child);
    }
    painter.setPen(palette().windowText().color());
    painter.drawText(hintRect(), Qt::AlignLeading | Qt::AlignVCenter | Qt::TextSingleLine,
                     shownHint());
}

} // namespace dvw
