#pragma once

#include <QString>
#include <Qt>

#include <optional>
#include <string_view>

namespace dvw {

class TApptDocument;

// What the current-appointment pane shows and how its keys act, without a window.
namespace OneAppt {

inline constexpr int helpContext = 121;
inline constexpr int calendarCommand = 220; // toggles the calendar view

// The stored bytes of the record at a display-index position, from the start of its
// description to its end (continuation lines included, CR LF between them). Empty for -1,
// for a position outside the index and for a line that is not an entry: a heading names
// no record, and its value must never be taken for a line number.
std::string_view RecordText(TApptDocument &doc, int position);

// Record bytes as the screen shows them: decoded (UTF-8, else Windows-1252) and with each
// continuation on its own line.
QString DisplayRecord(std::string_view bytes);

// The position the pane shows when the document's views are refreshed or the pane is
// made: nothing for an empty index, the list view's cursor line when the list view is open
// (listCursor set), else the line it already shows while that is still in the index.
int RefreshedLine(TApptDocument &doc, std::optional<int> listCursor, int shown);

enum class PaneKey {
    Own, // the edit's own read-only handling: moving, selecting, copying
    Help,
    FocusList,
    ToggleCalendar,
};

PaneKey PaneKeyFor(int key, Qt::KeyboardModifiers modifiers);

} // namespace OneAppt

} // namespace dvw
