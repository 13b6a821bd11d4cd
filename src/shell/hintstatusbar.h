#pragma once

#include <QStatusBar>

namespace dvw {

// The status bar whose hint (the highlighted item's status tip) takes all the width the
// permanent fields leave free and is elided at its end when it is longer, instead of
// running under the first field.
class HintStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit HintStatusBar(QWidget *parent = nullptr);

    // Where the hint is drawn: from the left edge to just before the first permanent field.
    QRect hintRect() const;
    // The hint as it is drawn now: the current message, elided to fit hintRect().
    QString shownHint() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace dvw
