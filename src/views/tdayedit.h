#pragma once

#include <QPlainTextEdit>

namespace dvw {

// The day view's text: read-only, and gone at the first left click or typed character.
// A right click does nothing, not even a menu.
class TDayEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TDayEdit(QWidget *parent = nullptr);

signals:
    void dismissed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
};

} // namespace dvw
