#include "listinput.h"

#include "shell/commands.h"

namespace dvw {

namespace {

ListAction command(int c)
{
    return ListAction {ListAction::Kind::Command, c};
}

// The help topic of the appointment list.
constexpr int listHelpTopic = 121;

} // namespace

std::optional<ListAction> CharacterAction(char character, bool ctrl, bool bigDialog)
{
    const char c = (character >= 'a' && character <= 'z') ? static_cast<char>(character - 'a' + 'A')
                                                          : character;
    if (ctrl) {
        switch (c) {
        case 'C':
            return command(Cm::EditCopy);
        case 'F':
            return command(Cm::Find);
        case 'V':
            return command(Cm::EditPaste);
        case 'X':
            return command(Cm::EditCut);
        default:
            return std::nullopt;
        }
    }
    switch (c) {
    case '\t':
        return ListAction {ListAction::Kind::FocusMonthPane, 0};
    case 'F':
        return command(Cm::Find);
    case 'D':
        return command(Cm::EditCut);
    case ' ':
    case 'M':
        return command(Cm::MarkDone);
    case 'E':
        return command(Cm::EditAppt);
    case 'I':
        return command(bigDialog ? Cm::InsertWithDate : Cm::InsertAppt);
    case 'N':
        return command(Cm::FindNext);
    case 'T':
        return command(Cm::InsertWithDate);
    case 'V':
        return command(Cm::ViewCalendar);
    default:
        return std::nullopt;
    }
}

ListAction KeyAction(ListKey key)
{
    switch (key) {
    case ListKey::Enter:
        return command(Cm::EditAppt);
    case ListKey::Delete:
        return command(Cm::EditCut);
    case ListKey::F1:
        break;
    }
    return ListAction {ListAction::Kind::Help, listHelpTopic};
}

bool ListCommandAllowed(int command, int cursorLine, bool clipboardHasText, bool screening)
{
    switch (command) {
    case Cm::EditAppt:
        return cursorLine != 0;
    case Cm::EditPaste:
        return clipboardHasText;
    case Cm::Restore:
        return screening;
    default:
        return true;
    }
}

} // namespace dvw
