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
struct SettingDef;

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
// settingkeys.h); the comments give what each means. The settings table (settingstable.h)
// gives each its default and ranges; a Settings made here rather than by defaults() or
// load() holds no meaningful values. Only the dialog sizes, the page measures, PRINTNAME
// and the font sizes are checked when loading; everything else is kept as stored, and
// code that sizes or divides by a value takes it through settingslimits.h.
struct Settings
{
    std::string waveFile; // alarm sound file; empty: no sound file
    bool sbFont {}; // status bar uses its own font (else SMALLFONT)
    int bWidth {}; // enlarged appointment dialog, dialog units
    int bHeight {};
    int sWidth {}; // reduced appointment dialog, dialog units
    int sHeight {};
    int unimportant {}; // weekday of unimportant notes, 0 = Sunday
    bool shadeWeekends {};
    int monthWidth {}; // month window, pixels
    int monthHeight {};
    bool fullScreen {}; // start maximised and keep no window position
    int advance {}; // alarm lead, minutes
    int interval {}; // seconds between alarm sounds
    int duration {}; // plays of the sound file, or seconds of beeping
    bool includeNotes {}; // notes in list printouts
    int numPages {};
    int numCols {};
    bool walletStyle {}; // default print style: wallet, else list
    bool page {}; // print range by pages, else up to an end date
    bool alarm {};
    bool sound {};
    bool soundCard {};
    int nag {}; // days a past nag date stays in the notes
    bool allCategories {};
    bool european {}; // day/month/year
    bool multiLine {};
    bool bigDialog {};
    int centuryBreak {};
    bool military {};
    int days {}; // days in the viewed window
    bool calView {}; // open documents in the calendar view (current choice)
    bool startCalView {}; // ... as it was at start
    int border {}; // border around list printouts
    bool prompt {}; // ask before deleting
    std::string printName; // name on printouts, at most 59 characters
    double walletWidth {}; // inches
    double walletHeight {};
    double leftMargin {};
    double rightMargin {};
    double topMargin {};
    double bottomMargin {};
    double walletLeftMargin {};
    double walletTopMargin {};
    std::array<std::uint32_t, 15> colors {}; // COLOR1 to COLOR15; colour 0 is black
    WindowRect window; // read only when fullScreen is off
    int zoom {}; // percent scale of the screen fonts
    std::array<FontSlot, FontSlotCount> fonts;
    std::string apptFile;
    std::string archiveFile;
    int calOrient {}; // calendar printouts: 1 portrait, 2 landscape
    int listOrient {};

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
    // Writes one setting in a batch of its own.
    StoreResult saveOne(SettingsStore &store, const SettingDef &def) const;

    // Limited for use: the stored break may be anything a user typed.
    DateTextSettings dateText() const;
};

// Longest PRINTNAME kept, in characters.
inline constexpr std::size_t kPrintNameLength = 59;

} // namespace dvw
