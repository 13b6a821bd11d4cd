#pragma once

#include <QDateTime>
#include <QMdiArea>
#include <QTimer>

namespace dvw {

class Clock;

// The client area that holds the document windows. Its 5-second timer is the program's
// clock: each tick reports the time to whoever listens (the status bar's date and time).
class dvwMDIClient : public QMdiArea
{
    Q_OBJECT
public:
    static constexpr int tickMilliseconds = 5000;

    explicit dvwMDIClient(const Clock &clock, QWidget *parent = nullptr);

    const QTimer &clockTimer() const { return m_timer; }
    // One clock tick now, as the timer does.
    void tick();
    // Places minimised windows in a row along the bottom edge.
    void arrangeIcons();
    // Cascades the windows that are not minimised, each keeping a usable size.
    void cascade();

signals:
    void ticked(const QDateTime &now);
    void resized();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    const Clock &m_clock;
    QTimer m_timer;
};

} // namespace dvw
