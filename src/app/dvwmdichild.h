#pragma once

#include <QMdiSubWindow>

#include <functional>

namespace dvw {

// The frame of one document window. Closing it first asks mayClose (the save prompt of
// its document); when that declines, the window stays.
class dvwMDIChild : public QMdiSubWindow
{
    Q_OBJECT
public:
    dvwMDIChild(QWidget *content, std::function<bool()> mayClose, QWidget *parent = nullptr);

signals:
    // The window is going: its close was agreed to.
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::function<bool()> m_mayClose;
};

} // namespace dvw
