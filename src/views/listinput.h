#pragma once

#include <optional>

namespace dvw {

// What a typed key or a pressed key asks of the appointment list.
struct ListAction
{
    enum class Kind {
        Command, // run the main window's command `command`
        FocusMonthPane,
        Help, // the help topic `command`
    };
    Kind kind = Kind::Command;
    int command = 0;

    bool operator==(const ListAction &) const = default;
};

// A typed character (any case) with or without Ctrl. BIGDIALOG makes I insert with the
// cursor date. Nothing for characters the list does not take.
std::optional<ListAction> CharacterAction(char character, bool ctrl, bool bigDialog);

// Keys other than the cursor keys: Enter edits, Delete deletes, F1 shows the list's help.
enum class ListKey { Enter, Delete, F1 };
ListAction KeyAction(ListKey key);

// Whether the list allows a command of its own now: editing needs a cursor row other
// than 0, pasting needs text on the clipboard and Restore an active screen. The others
// always run.
bool ListCommandAllowed(int command, int cursorLine, bool clipboardHasText, bool screening);

} // namespace dvw
