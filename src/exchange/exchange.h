#pragma once

#include <QString>

namespace dvw {

class TDVDecoratedMDIFrame;

// The file dialogs' filter of calendar files.
QString CalendarFileFilter();

// Registers File > Export iCalendar... (the current document as a calendar over its
// window, written atomically to the file the user names) and File > Import iCalendar...
// (a calendar's items appended to the current document as lines, in one command, so the
// undo history keeps them as one step).
void InstallIcalExchange(TDVDecoratedMDIFrame &frame);

} // namespace dvw
