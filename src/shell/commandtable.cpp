#include "commandtable.h"

#include "commands.h"

#include <algorithm>

namespace dvw {

namespace {

MenuEntry command(std::string_view text, int number, std::string_view hint = {},
                  std::string_view shortcut = {})
{
    MenuEntry e;
    e.kind = MenuEntry::Kind::Command;
    e.text = text;
    e.command = number;
    e.hint = hint;
    e.shortcut = shortcut;
    return e;
}

MenuEntry separator()
{
    MenuEntry e;
    e.kind = MenuEntry::Kind::Separator;
    return e;
}

MenuEntry popup(std::string_view text, std::string_view hint, std::vector<MenuEntry> entries,
                MenuGroup group = MenuGroup::File)
{
    MenuEntry e;
    e.kind = MenuEntry::Kind::Popup;
    e.text = text;
    e.hint = hint;
    e.group = group;
    e.entries = std::move(entries);
    return e;
}

MenuEntry filePopup()
{
    return popup(
        "&File", "File/document operations",
        {
            command("&New", Cm::FileNew, "Creates a new document"),
            command("&Open...", Cm::FileOpen, "Opens an existing document"),
            command("&Close", Cm::FileClose, "Close this document"),
            command("R&escan", Cm::Rescan, "Rescan file (in case of glitches)"),
            separator(),
            command("&Save", Cm::FileSave, "Saves this document"),
            command("Save &As...", Cm::FileSaveAs, "Saves this document with a new name"),
            separator(),
            command("&Import iCalendar...", Cm::FileImportIcal,
                    "Adds the events of an iCalendar file to this document"),
            command("Export iCa&lendar...", Cm::FileExportIcal,
                    "Writes this document as an iCalendar file"),
            separator(),
            command("Prin&t Options", Cm::PrintOptions, "Set date range and print style"),
            command("Print Pre&view...", Cm::PrintPreview, "Display full pages as read-only"),
            command("&Print...", Cm::FilePrint, "Print this document"),
            command("P&rint Setup...", Cm::FilePrintSetup,
                    "Setup this document print characteristics"),
            separator(),
            command("E&xit\tAlt+F4", Cm::Exit, "Quits dvwApp and prompts to save the documents",
                    "Alt+F4"),
        },
        MenuGroup::File);
}

MenuEntry editPopup()
{
    return popup(
        "&Edit", "Editing operations",
        {
            command("&Undo\tCtrl+Z", Cm::EditUndo, "Undoes the last change", "Ctrl+Z"),
            command("&Redo\tCtrl+Shift+Z", Cm::EditRedo, "Makes the last undone change again",
                    "Ctrl+Shift+Z; Ctrl+Y"),
            separator(),
            command("&Insert appointment\tI", Cm::InsertAppt, "Create new appointment"),
            command("&Edit appointment\tE", Cm::EditAppt, "Edit existing appointment"),
            command("Insert appointment with Da&te\tT", Cm::InsertWithDate, "Use cursor date "),
            command("&Mark appointment as done\tM", Cm::MarkDone),
            separator(),
            command("&Delete appointment\tD", Cm::EditCut,
                    "Cuts the selection and puts it on the Clipboard", "Shift+Del"),
            command("&Copy\tCtrl+C", Cm::EditCopy,
                    "Copies the selection and puts it on the Clipboard", "Ctrl+Ins"),
            command("&Paste\tCtrl+V", Cm::EditPaste,
                    "Inserts the clipboard contents at the insertion point", "Shift+Ins"),
        },
        MenuGroup::Edit);
}

MenuEntry searchPopup()
{
    return popup("&Search", "Search/screen operations",
                 {
                     command("&Find\tF", Cm::Find, "Finds the specified text"),
                     command("&Next\tN", Cm::FindNext, "Finds the next match", "F3"),
                     separator(),
                     command("&Screen", Cm::Screen),
                     command("&Restore", Cm::Restore),
                 },
                 MenuGroup::Container);
}

MenuEntry viewPopup()
{
    return popup(
        "&View", "Options for changing views",
        {
            command("&Appointment", Cm::ViewAppointment, "Enable/disable Appointment View"),
            command("&Calendar", Cm::ViewCalendar, "Enable/disable Calendar View"),
            command("&File", Cm::ViewFile, "Enable/disable File View"),
            separator(),
            command("&Start date", Cm::StartDate),
            popup("&Priority", {},
                  {
                      command("Priority &Level", Cm::PriorityLevel),
                      command("Show &Unprioritized entries", Cm::ShowUnprioritized),
                  }),
        },
        MenuGroup::Object);
}

MenuEntry windowPopup()
{
    return popup(
        "&Window", "Window arrangement and selection",
        {
            command("&Cascade", Cm::Cascade, "Cascades open windows"),
            command("&Tile", Cm::Tile, "Tiles open windows"),
            command("Arrange &Icons", Cm::ArrangeIcons, "Arranges iconic windows along bottom"),
            command("C&lose All", Cm::CloseAll, "Closes all open windows"),
        },
        MenuGroup::Object);
}

MenuEntry categoriesPopup()
{
    return popup("&Categories", "Select or define categories",
                 {
                     command("&Select", Cm::SelectCategories, "Change active categories"),
                     command("&New category", Cm::NewCategory),
                 },
                 MenuGroup::Window);
}

MenuEntry alarmPopup()
{
    return popup("&Alarm", "Show or set alarms",
                 {
                     command("&Show current alarms", Cm::ShowAlarms, "Show current alarms set"),
                     command("Set &timer", Cm::SetTimer),
                 },
                 MenuGroup::Window);
}

MenuEntry configurePopup()
{
    auto fonts
        = popup("&Fonts", "Change fonts",
                {
                    command("&Body font", Cm::BodyFont, "Choose the font of the appointment list"),
                    command("&Calendar font", Cm::CalendarFont, "Choose the font of the calendar"),
                    command("&Heading font", Cm::HeadingFont, "Choose the font of date headings"),
                    command("&Large font", Cm::LargeFont, "Choose the large font"),
                    command("&Small font", Cm::SmallFont, "Choose the small font"),
                    command("&Wallet font", Cm::WalletFont, "Choose the font of wallet printouts"),
                });
    auto files
        = popup("F&iles", "Specify location of files",
                {
                    command("&Appointment file", Cm::AppointmentFile, "File opened at start"),
                    command("Archi&ve file", Cm::ArchiveFile, "File that archived lines go to"),
                });
    auto appointment = popup(
        "&Appointment", "Options for viewing appointments",
        {
            command("Show all &categories", Cm::ShowAllCategories,
                    "Show all categories by default"),
            command("&Nag interval", Cm::NagInterval, "Days to nag about a past appointment"),
            command("Use &day/month/year format", Cm::DayMonthYear,
                    "Read and write dates day first"),
            command("Show &multiple lines", Cm::MultipleLines,
                    "Show more text on each appointment line"),
            command("Use &big dialog", Cm::BigDialog, "Open the appointment dialog enlarged"),
            command("&Century break", Cm::CenturyBreak, "Boundary for 1/1/xx to mean 1/1/19xx"),
            command("&Accept military times", Cm::MilitaryTimes, "Accept 24-hour times"),
            command("Days to &view", Cm::DaysToView, "Number of days in the list"),
            command("&Open in calendar view", Cm::OpenInCalendar,
                    "Open documents in the calendar view"),
            command("&Prompt before deleting", Cm::PromptBeforeDelete,
                    "Ask before deleting an appointment"),
            command("&Unimportant day", Cm::UnimportantDay,
                    "Day of week that shows unimportant notes"),
            command("Co&lors", Cm::Colors, "Change the fifteen colors"),
        });
    auto wallet = popup(
        "&Wallet", {},
        {
            command("&Top margin", Cm::WalletTopMargin, "Top margin of wallet printouts"),
            command("&Left margin", Cm::WalletLeftMargin, "Left margin of wallet printouts"),
            command("&Width", Cm::WalletWidth, "Width of a wallet page"),
            command("&Height", Cm::WalletHeight, "Height of a wallet page"),
        });
    auto margins
        = popup("&Margins", {},
                {
                    command("&Left margin", Cm::LeftMargin, "Left margin of printouts"),
                    command("&Right margin", Cm::RightMargin, "Right margin of printouts"),
                    command("&Top margin", Cm::TopMargin, "Top margin of printouts"),
                    command("&Bottom margin", Cm::BottomMargin, "Bottom margin of printouts"),
                });
    auto print = popup(
        "&Print", "Printing options",
        {
            command("ShadeWeekends", Cm::ShadeWeekends, "Shade weekends in the calendar"),
            command("Border", Cm::PrintBorder, "Draw a border around list printouts"),
            wallet,
            margins,
            command("&Include notes", Cm::IncludeNotes, "Include notes in list printouts"),
            command("Number of &pages", Cm::NumberOfPages, "Default number of pages to print"),
            command("Number of &columns", Cm::NumberOfColumns, "Columns of a list printout"),
            command("Wallet style", Cm::WalletStyle, "Print wallet style by default"),
            command("Include &name", Cm::IncludeName, "Name printed on printouts"),
            command("Page range", Cm::PageRange, "Print by number of pages by default"),
        });
    auto screen = popup(
        "&Screen", "Options for screen dimensions",
        {
            command("Open &full screen", Cm::OpenFullScreen, "Start with the window maximised"),
            command("&Width of month window", Cm::MonthWidth, "Width of the month pane"),
            command("&Height of month window", Cm::MonthHeight, "Height of the month pane"),
        });
    auto alarm = popup(
        "A&larm", "Alarm clock options",
        {
            command("&Enable alarm clock", Cm::EnableAlarm, "Turn the alarm clock on or off"),
            command("E&nable sound", Cm::EnableSound, "Alarms make a sound"),
            command("Use sound &card", Cm::UseSoundCard, "Play the sound file, not a beep"),
            command("Alarm &file", Cm::AlarmFile, "Sound file played by alarms"),
            command("&Duration", Cm::AlarmDuration, "How often the sound plays"),
            command("&Interval", Cm::AlarmInterval, "Seconds between alarm sounds"),
            command("&Advance", Cm::AlarmAdvance, "Minutes of warning before an alarm"),
        });
    return popup("Confi&Gure", "Configuration options",
                 {fonts, files, appointment, print, screen, alarm}, MenuGroup::Window);
}

MenuEntry helpPopup()
{
    return popup("&Help", "Access online help",
                 {
                     command("&Contents", Cm::HelpContents, "Help table of contents"),
                     command("&Using help", Cm::HelpUsing, "Help on using online Help"),
                     separator(),
                     command("&About...", Cm::HelpAbout, "About the dvw application"),
                 },
                 MenuGroup::Help);
}

void collectCommands(const std::vector<MenuEntry> &menu, std::vector<int> &out)
{
    for (const MenuEntry &e : menu) {
        if (e.kind == MenuEntry::Kind::Command)
            out.push_back(e.command);
        else if (e.kind == MenuEntry::Kind::Popup)
            collectCommands(e.entries, out);
    }
}

} // namespace

const std::vector<MenuEntry> &MainMenu()
{
    static const std::vector<MenuEntry> menu = {
        filePopup(),       editPopup(),  searchPopup(),    viewPopup(), windowPopup(),
        categoriesPopup(), alarmPopup(), configurePopup(), helpPopup(),
    };
    return menu;
}

const std::vector<int> &ButtonBar()
{
    static const std::vector<int> buttons = {
        Cm::FileNew,
        Cm::FileOpen,
        Cm::FileSave,
        0,
        Cm::EditCut,
        Cm::EditCopy,
        Cm::EditPaste,
        0,
        Cm::Find,
        Cm::FindNext,
        0,
        Cm::FilePrint,
        Cm::PrintPreview,
        0,
        Cm::HelpContents,
        0,
    };
    return buttons;
}

const std::vector<Accelerator> &AcceleratorTable()
{
    static const std::vector<Accelerator> table = {
        {"Shift+Del", Cm::EditCut},  {"Ctrl+Ins", Cm::EditCopy}, {"Shift+Ins", Cm::EditPaste},
        {"Ctrl+Del", Cm::EditClear}, {"F3", Cm::FindNext},
    };
    return table;
}

std::vector<MenuEntry> undoEntries()
{
    const std::vector<MenuEntry> &edit = MainMenu()[1].entries;
    return {edit.begin(), edit.begin() + 3};
}

const MenuEntry *FindCommand(const std::vector<MenuEntry> &menu, int number)
{
    for (const MenuEntry &e : menu) {
        if (e.kind == MenuEntry::Kind::Command && e.command == number)
            return &e;
        if (e.kind == MenuEntry::Kind::Popup) {
            if (const MenuEntry *found = FindCommand(e.entries, number))
                return found;
        }
    }
    return nullptr;
}

std::vector<int> MenuCommands(const std::vector<MenuEntry> &menu)
{
    std::vector<int> out;
    collectCommands(menu, out);
    return out;
}

std::vector<MenuEntry> MergeMenus(const std::vector<MenuEntry> &main,
                                  const std::vector<MenuEntry> &view)
{
    const auto viewBrings = [&view](MenuGroup g) {
        return std::any_of(view.begin(), view.end(),
                           [g](const MenuEntry &e) { return e.group == g; });
    };
    static constexpr MenuGroup order[]
        = {MenuGroup::File,   MenuGroup::Edit,   MenuGroup::Container,
           MenuGroup::Object, MenuGroup::Window, MenuGroup::Help};
    std::vector<MenuEntry> merged;
    for (MenuGroup g : order) {
        const std::vector<MenuEntry> &from = viewBrings(g) ? view : main;
        for (const MenuEntry &e : from) {
            if (e.group == g)
                merged.push_back(e);
        }
    }
    return merged;
}

} // namespace dvw
