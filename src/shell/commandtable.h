#pragma once

#include <string_view>
#include <vector>

namespace dvw {

// The main menu's popups fall into six groups. A view with a menu of its own replaces,
// while it is active, each group for which it brings popups.
enum class MenuGroup { File, Edit, Container, Object, Window, Help };

// One entry of a menu: a command, a popup with its entries, or a separator. Texts keep
// their "&" mnemonics and a tab before the key shown at the right ("E&xit\tAlt+F4").
struct MenuEntry
{
    enum class Kind { Command, Popup, Separator };

    Kind kind = Kind::Command;
    std::string_view text;
    int command = 0; // for Kind::Command
    // Status-bar hint while the entry is highlighted; may be empty.
    std::string_view hint;
    // The keys that also run the command, in portable key text, several separated by "; ";
    // may be empty.
    std::string_view shortcut;
    MenuGroup group = MenuGroup::File; // top-level popups only
    std::vector<MenuEntry> entries; // for Kind::Popup
};

struct Accelerator
{
    std::string_view key; // portable key text ("Shift+Del")
    int command;
};

// The nine popups of the main menu, in order.
const std::vector<MenuEntry> &MainMenu();
// The button bar from left to right; 0 is a separator.
const std::vector<int> &ButtonBar();
// The keys that run commands wherever the focus is (the menu's Alt+F4 aside).
const std::vector<Accelerator> &AcceleratorTable();

// Undo and Redo and the separator after them: every Edit menu, a view's too, begins so.
std::vector<MenuEntry> undoEntries();

// The command entry with this number anywhere in the menu, or null.
const MenuEntry *FindCommand(const std::vector<MenuEntry> &menu, int command);
// Every command number in the menu, depth first.
std::vector<int> MenuCommands(const std::vector<MenuEntry> &menu);

// The menu shown while a view with its own popups is active: for each group the view
// brings popups for, its popups take the place of the main menu's; other groups stay.
std::vector<MenuEntry> MergeMenus(const std::vector<MenuEntry> &main,
                                  const std::vector<MenuEntry> &view);

} // namespace dvw
