#pragma once

#include "entryactions.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace dvw {

class TApptDocument;
class TFileView;
class TDate;

// Opens the edit dialog on a line of the document (line -1: a new line that starts as
// `text`; otherwise the line, which must still hold `text` when the dialog closes) with the
// date it opens on. Whether a line changed.
using EditDialogHook
    = std::function<bool(TApptDocument &doc, int line, const std::string &text, const TDate &date)>;
// Opens the edit dialog on the file view's current row (the raw line), or, with newLine, on
// a new line that goes in before it. Whether a line changed.
using FileRowEditHook = std::function<bool(TFileView &view, bool newLine)>;

// The edit dialog as the views open it.
struct EditDialogs
{
    EditDialogHook line;
    FileRowEditHook fileRow;
};

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
    // Moves the keyboard focus to the month pane, the list or the current-appointment pane
    // of the view's document, when it is open.
    std::function<void()> focusMonthPane;
    std::function<void()> focusList;
    std::function<void()> focusCurrentPane;
    // How many documents are open.
    std::function<int()> documentCount;
    // True once, for the first list set up, when the program starts in the calendar view.
    std::function<bool()> takeCalendarStart;

    // What the entry commands work with (the dialogs ask over the parent); empty while the
    // entry commands are not installed.
    std::function<EntryContext(TApptDocument &doc, QWidget *parent)> entryContext;
    // Empty while the edit dialog is not installed.
    EditDialogHook editLine;
    // The view changed its document's lines outside a menu command: the change becomes an
    // undo step of this name, and the other views and the titles catch up.
    std::function<void(const QString &step)> documentChanged;
};

} // namespace dvw
