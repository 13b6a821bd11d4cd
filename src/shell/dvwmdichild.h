#pragma once

#include "commandtable.h"

#include <QMdiSubWindow>

#include <functional>
#include <vector>

namespace dvw {

// The frame of one document window. Closing it first asks mayClose (the save prompt of
// its document); when that declines, the window stays.
class dvwMDIChild : public QMdiSubWindow
{
    Q_OBJECT
public:
    dvwMDIChild(QWidget *content, std::function<bool()> mayClose, QWidget *parent = nullptr);

    // The popups the view brings into the main menu while its window is active.
    const std::vector<MenuEntry> &viewMenu() const { return m_viewMenu; }
    void setViewMenu(std::vector<MenuEntry> menu);

signals:
    void viewMenuChanged();
    // The window is going: its close was agreed to.
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::function<bool()> m_mayClose;
    std::vector<MenuEntry> m_viewMenu;
};

} // namespace dvw
