#pragma once

#include <QIcon>

namespace dvw {

// The program's icon: a calendar page.
QIcon AppIcon();
// The icon of a document window.
QIcon ChildIcon();
// The button-bar icon of a command: the desktop theme's, else the drawn one. Null for a
// command without a button.
QIcon CommandIcon(int command);
// The button-bar icon the program draws itself, whatever the desktop has.
QIcon DrawnCommandIcon(int command);

} // namespace dvw
