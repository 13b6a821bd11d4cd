#pragma once

#include "settings/settings.h"

#include <QRect>

namespace dvw {

// The main window's rectangle at start from the stored X, Y, W, H: each part that holds
// the default-position marker keeps what the window system chose.
QRect RequestedGeometry(const WindowRect &stored, const QRect &systemChoice);

// The stored form of the window's last normal (neither minimised nor maximised) place.
WindowRect StoredRect(const QRect &normalGeometry);

enum class StartShow { Normal, Minimised, Maximised };
// -M starts minimised; otherwise FULLSCREEN starts maximised.
StartShow StartShowState(bool minimisedSwitch, bool fullScreen);

} // namespace dvw
