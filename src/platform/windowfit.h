#pragma once

#include <QRect>
#include <QString>

class QFont;
class QWidget;

namespace dvw {

// The width a top-level window needs for the window manager to show its whole caption:
// the caption in a bold title-bar font, with room for the icon and three buttons beside it.
int TitleBarWidth(const QString &title, const QFont &font);
// Raises the window's minimum width so that its caption shows whole.
void KeepTitleWhole(QWidget &window);

// A window's rectangle moved (and, when it is larger, shrunk) so that it lies wholly
// inside the available screen area; one that lies inside already stays as it is.
QRect KeepInside(const QRect &window, const QRect &available);

} // namespace dvw
