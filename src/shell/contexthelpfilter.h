#pragma once

#include <QObject>

namespace dvw {

class TDVDecoratedMDIFrame;

// The help keys, looked at before any widget sees a key: F1 opens the help topic of the
// focused window (the nearest widget with a helpContextProperty) or else the contents,
// Shift+F1 starts context help, F1 in an open menu asks for help on its highlighted item,
// and Esc ends context help.
class ContextHelpFilter : public QObject
{
    Q_OBJECT
public:
    // A widget with this int property names the help topic F1 shows while it has focus.
    static constexpr const char *helpContextProperty = "dvwHelpContext";

    explicit ContextHelpFilter(TDVDecoratedMDIFrame &frame);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TDVDecoratedMDIFrame &m_frame;
};

} // namespace dvw
