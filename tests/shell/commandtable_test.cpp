#include "shell/commands.h"
#include "shell/commandtable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace dvw;

namespace {

struct Row
{
    int command;
    const char *text;
    const char *hint;
};

// The commands with fixed texts and hints, as the user sees them.
const Row mainRows[] = {
    {24331, "&New", "Creates a new document"},
    {24332, "&Open...", "Opens an existing document"},
    {24339, "&Close", "Close this document"},
    {120, "R&escan", "Rescan file (in case of glitches)"},
    {24333, "&Save", "Saves this document"},
    {24334, "Save &As...", "Saves this document with a new name"},
    {740, "&Import iCalendar...", "Adds the events of an iCalendar file to this document"},
    {745, "Export iCa&lendar...", "Writes this document as an iCalendar file"},
    {135, "Prin&t Options", "Set date range and print style"},
    {24340, "Print Pre&view...", "Display full pages as read-only"},
    {24337, "&Print...", "Print this document"},
    {24338, "P&rint Setup...", "Setup this document print characteristics"},
    {24310, "E&xit\tAlt+F4", "Quits dvwApp and prompts to save the documents"},
    {160, "&Insert appointment\tI", "Create new appointment"},
    {165, "&Edit appointment\tE", "Edit existing appointment"},
    {170, "Insert appointment with Da&te\tT", "Use cursor date "},
    {175, "&Mark appointment as done\tM", ""},
    {24322, "&Delete appointment\tD", "Cuts the selection and puts it on the Clipboard"},
    {24323, "&Copy\tCtrl+C", "Copies the selection and puts it on the Clipboard"},
    {24324, "&Paste\tCtrl+V", "Inserts the clipboard contents at the insertion point"},
    {24351, "&Find\tF", "Finds the specified text"},
    {24353, "&Next\tN", "Finds the next match"},
    {205, "&Screen", ""},
    {210, "&Restore", ""},
    {215, "&Appointment", "Enable/disable Appointment View"},
    {220, "&Calendar", "Enable/disable Calendar View"},
    {225, "&File", "Enable/disable File View"},
    {230, "&Start date", ""},
    {235, "Priority &Level", ""},
    {240, "Show &Unprioritized entries", ""},
    {24361, "&Cascade", "Cascades open windows"},
    {24362, "&Tile", "Tiles open windows"},
    {24364, "Arrange &Icons", "Arranges iconic windows along bottom"},
    {24365, "C&lose All", "Closes all open windows"},
    {265, "&Select", "Change active categories"},
    {270, "&New category", ""},
    {275, "&Show current alarms", "Show current alarms set"},
    {280, "Set &timer", ""},
    {345, "&Century break", "Boundary for 1/1/xx to mean 1/1/19xx"},
    {24381, "&Contents", "Help table of contents"},
    {24382, "&Using help", "Help on using online Help"},
    {24389, "&About...", "About the dvw application"},
};

} // namespace

TEST(CommandTable, EveryMenuCommandHasItsTextAndHint)
{
    for (const Row &row : mainRows) {
        const MenuEntry *e = FindCommand(MainMenu(), row.command);
        ASSERT_NE(e, nullptr) << row.command;
        EXPECT_EQ(e->text, row.text) << row.command;
        EXPECT_EQ(e->hint, row.hint) << row.command;
    }
}

TEST(CommandTable, PopupsComeInGroupOrderWithTheirHints)
{
    const auto &menu = MainMenu();
    ASSERT_EQ(menu.size(), 9u);
    const std::pair<const char *, const char *> popups[] = {
        {"&File", "File/document operations"},
        {"&Edit", "Editing operations"},
        {"&Search", "Search/screen operations"},
        {"&View", "Options for changing views"},
        {"&Window", "Window arrangement and selection"},
        {"&Categories", "Select or define categories"},
        {"&Alarm", "Show or set alarms"},
        {"Confi&Gure", "Configuration options"},
        {"&Help", "Access online help"},
    };
    for (std::size_t i = 0; i < menu.size(); ++i) {
        EXPECT_EQ(menu[i].kind, MenuEntry::Kind::Popup);
        EXPECT_EQ(menu[i].text, popups[i].first);
        EXPECT_EQ(menu[i].hint, popups[i].second);
    }
    const MenuGroup groups[] = {MenuGroup::File,   MenuGroup::Edit,   MenuGroup::Container,
                                MenuGroup::Object, MenuGroup::Object, MenuGroup::Window,
                                MenuGroup::Window, MenuGroup::Window, MenuGroup::Help};
    for (std::size_t i = 0; i < menu.size(); ++i)
        EXPECT_EQ(menu[i].group, groups[i]) << i;
}

TEST(CommandTable, ConfigureHoldsEveryConfigurationCommandOnce)
{
    const auto configure = MenuCommands({MainMenu()[7]});
    std::set<int> expected;
    for (int n = 285; n <= 500; n += 5) {
        if (n != 450)
            expected.insert(n);
    }
    expected.insert({675, 680, 685});
    EXPECT_EQ(std::set<int>(configure.begin(), configure.end()), expected);
    EXPECT_EQ(configure.size(), expected.size());
    const std::vector<std::string> subs
        = {"&Fonts", "F&iles", "&Appointment", "&Print", "&Screen", "A&larm"};
    ASSERT_EQ(MainMenu()[7].entries.size(), subs.size());
    for (std::size_t i = 0; i < subs.size(); ++i)
        EXPECT_EQ(MainMenu()[7].entries[i].text, subs[i]);
}

TEST(CommandTable, CommandNumbersAreUnique)
{
    const auto all = MenuCommands(MainMenu());
    EXPECT_EQ(std::set<int>(all.begin(), all.end()).size(), all.size());
}

TEST(CommandTable, ButtonBarInItsOrder)
{
    const std::vector<int> expected = {24331, 24332, 24333, 0,     24322, 24323, 24324, 0,
                                       24351, 24353, 0,     24337, 24340, 0,     24381, 0};
    EXPECT_EQ(ButtonBar(), expected);
}

TEST(CommandTable, ExactlyTheFiveAcceleratorsAndExitOnAltF4)
{
    const auto &table = AcceleratorTable();
    ASSERT_EQ(table.size(), 5u);
    const std::pair<const char *, int> expected[] = {{"Shift+Del", 24322},
                                                     {"Ctrl+Ins", 24323},
                                                     {"Shift+Ins", 24324},
                                                     {"Ctrl+Del", 24326},
                                                     {"F3", 24353}};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(table[i].key, expected[i].first);
        EXPECT_EQ(table[i].command, expected[i].second);
    }
    EXPECT_EQ(FindCommand(MainMenu(), Cm::Exit)->shortcut, "Alt+F4");
}

TEST(MenuMerge, FileViewReplacesFileEditAndTheWindowGroup)
{
    std::vector<MenuEntry> view(4);
    view[0] = {MenuEntry::Kind::Popup, "&File", 0, {}, {}, MenuGroup::File, {}};
    view[1] = {MenuEntry::Kind::Popup, "&Edit", 0, {}, {}, MenuGroup::Edit, {}};
    view[2] = {MenuEntry::Kind::Popup, "&Mark", 0, {}, {}, MenuGroup::Window, {}};
    view[3] = {MenuEntry::Kind::Popup, "Sor&t", 0, {}, {}, MenuGroup::Window, {}};

    const auto merged = MergeMenus(MainMenu(), view);
    std::vector<std::string> texts;
    for (const auto &e : merged)
        texts.emplace_back(e.text);
    const std::vector<std::string> expected
        = {"&File", "&Edit", "&Search", "&View", "&Window", "&Mark", "Sor&t", "&Help"};
    EXPECT_EQ(texts, expected);
    EXPECT_TRUE(merged[0].entries.empty()); // the view's own File popup
}

TEST(MenuMerge, CalendarViewReplacesOnlyEdit)
{
    MenuEntry edit {MenuEntry::Kind::Popup, "&Edit", 0, {}, {}, MenuGroup::Edit, {}};
    edit.entries
        = {{MenuEntry::Kind::Command,
            "&Insert appointment",
            Cm::InsertAppt,
            {},
            {},
            MenuGroup::Edit,
            {}},
           {MenuEntry::Kind::Command, "&Paste", Cm::EditPaste, {}, {}, MenuGroup::Edit, {}}};
    const auto merged = MergeMenus(MainMenu(), {edit});
    ASSERT_EQ(merged.size(), MainMenu().size());
    EXPECT_EQ(merged[1].entries.size(), 2u);
    EXPECT_EQ(FindCommand(merged, Cm::EditCopy), nullptr);
    EXPECT_NE(FindCommand(merged, Cm::FilePrint), nullptr);
    EXPECT_EQ(MergeMenus(MainMenu(), {}).size(), MainMenu().size());
}
