#pragma once

#include <QPlainTextEdit>

namespace dvw {

// The current-appointment pane's text: read-only, wrapped, never scrolled sideways. Tab,
// V and F1 are the pane's; every other key is the edit's own (moving, selecting, copying).
class TOneEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TOneEdit(QWidget *parent = nullptr);

signals:
    void helpRequested(int context);
    void focusListRequested();
    void commandRequested(int command);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // True when the key was the pane's.
    bool handlePaneKey(QKeyEvent *event);
};

} // namespace dvw
