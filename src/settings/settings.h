#pragma once

#include "core/datetextsettings.h"
#include "fontvalue.h"
#include "settingsstore.h"

#include <array>
#include <climits>
#include <cstdint>
#include <string>

namespace dvw {

class PlatformProbe;

// A colour as stored: 0x00BBGGRR.
constexpr std::uint32_t colorRef(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return red | (green << 8) | (blue << 16);
}

// The main window's rectangle as stored; each part may be the window system's
// "default position" marker.
struct WindowRect
{
    static constexpr int kDefaultPosition = INT_MIN; // 0x80000000

    int x = kDefaultPosition;
    int y = kDefaultPosition;
    int w = kDefaultPosition;
    int h = kDefaultPosition;

    bool operator==(const WindowRect &) const = default;
};

// Font slots, in the order of the stored font names.
enum FontSlotIndex : std::size_t {
    BodyFont,
    HeadingFont,
    LargeFont,
    CalendarFont,
    SmallFont,
    WalletFont,
    FontSlotCount
};

// Every user option, as one value. Members are named after their stored names (see
// settingkeys.h); the comments give what each means. Only the dialog sizes, the page
// measures, PRINTNAME and the font sizes are checked when loading; everything else is
// kept as stored, and code that sizes or divides by a value takes it through
// settingslimits.h.
struct Settings
{
    std::string waveFile; // alarm sound file; empty: no sound file
    bool sbFont = true; // status bar uses its own font (else SMALLFONT)
    int bWidth = 364; // enlarged appointment dialog, dialog units
    int bHeight = 265;
    int sWidth = 242; // reduced appointment dialog, dialog units
    int sHeight = 69;
    int unimportant = 1; // weekday of unimportant notes, 0 = Sunday
    bool shadeWeekends = true;
    int monthWidth = 200; // month window, pixels
    int monthHeight = 200;
    bool fullScreen = false; // start maximised and keep no window position
    int advance = 5; // alarm lead, minutes
    int interval = 5; // seconds between alarm sounds
    int duration = 10; // plays of the sound file, or seconds of beeping
    bool includeNotes = false; // notes in list printouts
    int numPages = 1;
    int numCols = 2;
    bool walletStyle = false; // default print style: wallet, else list
    bool page = true; // print range by pages, else up to an end date
    bool alarm = true;
    bool sound = true;
    bool soundCard = true;
    int nag = 7; // days a past nag date stays in the notes
    bool allCategories = false;
    bool european = false; // day/month/year
    bool multiLine = false;
    bool bigDialog = false;
    int centuryBreak = 20;
    bool military = false;
    int days = 365; // days in the viewed window
    bool calView = false; // open documents in the calendar view (current choice)
    bool startCalView = false; // ... as it was at start
    int border = 1; // border around list printouts
    bool prompt = true; // ask before deleting
    std::string printName; // name on printouts, at most 59 characters
    double walletWidth = 5.25; // inches
    double walletHeight = 6.125;
    double leftMargin = 0.75;
    double rightMargin = 0.75;
    double topMargin = 0.75;
    double bottomMargin = 0.75;
    double walletLeftMargin = 0.75;
    double walletTopMargin = 0.75;
    std::array<std::uint32_t, 15> colors {}; // COLOR1 to COLOR15; colour 0 is black
    WindowRect window; // read only when fullScreen is off
    int zoom = 100; // percent scale of the screen fonts
    std::array<FontSlot, FontSlotCount> fonts;
    std::string apptFile = "NOTES.APT";
    std::string archiveFile = "ARCHIVE.APT";
    int calOrient = 2; // calendar printouts: 1 portrait, 2 landscape
    int listOrient = 1;

    bool operator==(const Settings &) const = default;

    // Every setting's default on the machine the probe describes.
    static Settings defaults(const PlatformProbe &probe);
    // Every setting, in one batch: the stored value where there is a usable one, else the
    // default. Never fails; a store that cannot be opened gives the defaults.
    static Settings load(SettingsStore &store, const PlatformProbe &probe);
    // Writes every setting in one batch (the window rectangle only when fullScreen is off).
    StoreResult save(SettingsStore &store) const;
    // Writes the window rectangle, as the main window does when it closes; nothing when
    // fullScreen is on.
    StoreResult saveWindowRect(SettingsStore &store) const;

    // Limited for use: the stored break may be anything a user typed.
    DateTextSettings dateText() const;
};

// Longest PRINTNAME kept, in characters.
inline constexpr std::size_t kPrintNameLength = 59;

} // namespace dvw
