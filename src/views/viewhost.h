#pragma once

#include <functional>

namespace dvw {

// What a view asks of the main window and the document manager around it. A function
// left empty does nothing, so a view also works on its own (tests, images).
struct ViewHost
{
    // A menu command, as if the user chose it (runs only when it is enabled).
    std::function<void(int command)> runCommand;
    // Whether that command can run now.
    std::function<bool(int command)> commandEnabled;
    // A command of the main window that is in no menu (open or close the panes).
    std::function<void(int command)> clientCommand;
    std::function<void(int topic)> showHelp;
    // Moves the keyboard focus to the month pane, or the list, of the view's document,
    // when it is open.
    std::function<void()> focusMonthPane;
    std::function<void()> focusList;
    // How many documents are open.
    std::function<int()> documentCount;
    // True once, for the first list set up, when the program starts in the calendar view.
    std::function<bool()> takeCalendarStart;
};

} // namespace dvw
