#pragma once

#include <QObject>

namespace dvw {

class TDVDecoratedMDIFrame;

// The help keys, looked at before any widget sees a key: F1 opens the help contents,
// Shift+F1 starts context help, F1 in an open menu asks for help on its highlighted item,
// and Esc ends context help.
class ContextHelpFilter : public QObject
{
    Q_OBJECT
public:
    explicit ContextHelpFilter(TDVDecoratedMDIFrame &frame);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TDVDecoratedMDIFrame &m_frame;
};

} // namespace dvw
