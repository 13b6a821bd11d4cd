#pragma once

#include <QIcon>

namespace dvw {

// The program's icon: a calendar page.
QIcon AppIcon();
// The icon of a document window.
QIcon ChildIcon();
// The button-bar icon of a command: the desktop theme's, else a drawn one.
QIcon CommandIcon(int command);

} // namespace dvw
