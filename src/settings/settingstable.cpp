#include "settingstable.h"

#include "platformprobe.h"
#include "settingkeys.h"
#include "settings.h"
#include "settingslimits.h"

#include <array>
#include <cassert>
#include <vector>

namespace dvw {

namespace k = settingkeys;

namespace {

// Load ranges: a stored value outside them is replaced by the default.
constexpr IntRange kBigDialogWidth {200, 1000};
constexpr IntRange kBigDialogHeight {150, 1000};
constexpr IntRange kSmallDialogWidth {150, 1000};
constexpr IntRange kSmallDialogHeight {40, 1000};
constexpr RealRange kWalletWidth {2.5, false, 20};
constexpr RealRange kWalletHeight {3, false, 20};
constexpr RealRange kMargin {0, true, 8};

// Screens up to this width (pixels) start full screen and unzoomed.
constexpr int kSmallScreenWidth = 800;

constexpr std::array<std::uint32_t, 15> kDefaultColors = {
    colorRef(255, 0, 0),     colorRef(0, 0, 255),   colorRef(128, 0, 128), colorRef(128, 0, 0),
    colorRef(0, 0, 128),     colorRef(0, 128, 128), colorRef(0, 128, 0),   colorRef(128, 128, 0),
    colorRef(128, 128, 128), colorRef(0, 255, 0),   colorRef(255, 0, 255), colorRef(0, 255, 255),
    colorRef(255, 255, 0),   colorRef(192, 0, 0),   colorRef(0, 192, 0),
};

const std::array<FontSlot, FontSlotCount> &defaultFonts()
{
    static const std::array<FontSlot, FontSlotCount> fonts = {{
        {"Lucida Bright", 10, false, false},
        {"Arial Bold", 10, true, false},
        {"Arial", 20, true, false},
        {"Arial", 9, false, false},
        {"Arial", 9, false, false},
        {"Lucida Sans", 8, false, false},
    }};
    return fonts;
}

template<auto Member>
SettingField member(Settings &s, std::size_t)
{
    return &(s.*Member);
}

template<auto Part>
SettingField windowPart(Settings &s, std::size_t)
{
    return &(s.window.*Part);
}

SettingField colour(Settings &s, std::size_t index)
{
    return &s.colors.at(index);
}

SettingField font(Settings &s, std::size_t index)
{
    return &s.fonts.at(index);
}

bool isSmallScreen(const PlatformProbe &probe)
{
    return probe.screenWidth() <= kSmallScreenWidth;
}

SettingValue soundFileDefault(const PlatformProbe &probe, const Settings &)
{
    return std::string(probe.waveInputDeviceCount() > 0 ? "DVW.WAV" : "");
}

// With a sound file the alarm plays it a few times quickly; without one it beeps longer.
SettingValue intervalDefault(const PlatformProbe &, const Settings &before)
{
    return before.waveFile.empty() ? 5 : 1;
}

SettingValue durationDefault(const PlatformProbe &, const Settings &before)
{
    return before.waveFile.empty() ? 10 : 5;
}

SettingValue fullScreenDefault(const PlatformProbe &probe, const Settings &)
{
    return isSmallScreen(probe);
}

SettingValue zoomDefault(const PlatformProbe &probe, const Settings &)
{
    return isSmallScreen(probe) ? 100 : 90;
}

void addMargins(std::vector<SettingDef> &t)
{
    t.push_back({.name = k::LEFTMARGIN,
                 .field = member<&Settings::leftMargin>,
                 .defaultValue = 0.75,
                 .realLoadRange = kMargin});
    t.push_back({.name = k::RIGHTMARGIN,
                 .field = member<&Settings::rightMargin>,
                 .defaultValue = 0.75,
                 .realLoadRange = kMargin});
    t.push_back({.name = k::TOPMARGIN,
                 .field = member<&Settings::topMargin>,
                 .defaultValue = 0.75,
                 .realLoadRange = kMargin});
    t.push_back({.name = k::BOTTOMMARGIN,
                 .field = member<&Settings::bottomMargin>,
                 .defaultValue = 0.75,
                 .realLoadRange = kMargin});
    t.push_back({.name = k::WALLETLEFTMARGIN,
                 .field = member<&Settings::walletLeftMargin>,
                 .defaultValue = 0.75,
                 .realLoadRange = kMargin});
    t.push_back({.name = k::WALLETTOPMARGIN,
                 .field = member<&Settings::walletTopMargin>,
                 .defaultValue = 0.75,
                 .realLoadRange = kMargin});
}

// The window system's "default position" marker in each part.
void addWindowRect(std::vector<SettingDef> &t)
{
    constexpr int unset = WindowRect::kDefaultPosition;
    t.push_back({.name = k::X,
                 .field = windowPart<&WindowRect::x>,
                 .defaultValue = unset,
                 .windowRect = true});
    t.push_back({.name = k::Y,
                 .field = windowPart<&WindowRect::y>,
                 .defaultValue = unset,
                 .windowRect = true});
    t.push_back({.name = k::W,
                 .field = windowPart<&WindowRect::w>,
                 .defaultValue = unset,
                 .windowRect = true});
    t.push_back({.name = k::H,
                 .field = windowPart<&WindowRect::h>,
                 .defaultValue = unset,
                 .windowRect = true});
}

// The archive file is a path: never cut.
void addFilesAndOrientation(std::vector<SettingDef> &t)
{
    t.push_back({.name = k::APPTFILE,
                 .field = member<&Settings::apptFile>,
                 .defaultValue = std::string("NOTES.APT")});
    t.push_back({.name = k::ARCHIVEFILE,
                 .field = member<&Settings::archiveFile>,
                 .defaultValue = std::string("ARCHIVE.APT")});
    // 1 portrait, 2 landscape
    t.push_back({.name = k::CALORIENT, .field = member<&Settings::calOrient>, .defaultValue = 2});
    t.push_back({.name = k::LISTORIENT, .field = member<&Settings::listOrient>, .defaultValue = 1});
}

// Flags are on when the stored number is not zero.
bool readFlag(bool &value, std::string_view text)
{
    const std::optional<int> stored = parseIntValue(text);
    if (stored)
        value = *stored != 0;
    return stored.has_value();
}

bool readInteger(int &value, std::string_view text, const std::optional<IntRange> &range)
{
    const std::optional<int> stored = parseIntValue(text);
    if (!stored || (range && !range->contains(*stored)))
        return false;
    value = *stored;
    return true;
}

bool readReal(double &value, std::string_view text, const std::optional<RealRange> &range)
{
    const std::optional<double> stored = parseRealValue(text);
    if (!stored || (range && !range->contains(*stored)))
        return false;
    value = *stored;
    return true;
}

// A colour is stored as its 32-bit pattern read as a signed number.
bool readColour(std::uint32_t &value, std::string_view text)
{
    const std::optional<int> stored = parseIntValue(text);
    if (stored)
        value = static_cast<std::uint32_t>(*stored);
    return stored.has_value();
}

std::vector<SettingDef> buildTable()
{
    std::vector<SettingDef> t = {
        {.name = k::WAVEFILE,
         .field = member<&Settings::waveFile>,
         .defaultValue = std::string(),
         .machineDefault = soundFileDefault},
        {.name = k::SBFONT, .field = member<&Settings::sbFont>, .defaultValue = true},
        {.name = k::BWIDTH,
         .field = member<&Settings::bWidth>,
         .defaultValue = 364,
         .loadRange = kBigDialogWidth},
        {.name = k::BHEIGHT,
         .field = member<&Settings::bHeight>,
         .defaultValue = 265,
         .loadRange = kBigDialogHeight},
        {.name = k::SWIDTH,
         .field = member<&Settings::sWidth>,
         .defaultValue = 242,
         .loadRange = kSmallDialogWidth},
        {.name = k::SHEIGHT,
         .field = member<&Settings::sHeight>,
         .defaultValue = 69,
         .loadRange = kSmallDialogHeight},
        {.name = k::UNIMPORTANT,
         .field = member<&Settings::unimportant>,
         .defaultValue = 1,
         .useRange = kUnimportantRange},
        {.name = k::SHADEWEEKENDS, .field = member<&Settings::shadeWeekends>, .defaultValue = true},
        {.name = k::MONTHWIDTH, .field = member<&Settings::monthWidth>, .defaultValue = 200},
        {.name = k::MONTHHEIGHT, .field = member<&Settings::monthHeight>, .defaultValue = 200},
        {.name = k::FULLSCREEN,
         .field = member<&Settings::fullScreen>,
         .defaultValue = false,
         .machineDefault = fullScreenDefault},
        {.name = k::ADVANCE,
         .field = member<&Settings::advance>,
         .defaultValue = 5,
         .useRange = kAdvanceRange},
        {.name = k::INTERVAL,
         .field = member<&Settings::interval>,
         .defaultValue = 5,
         .machineDefault = intervalDefault,
         .useRange = kIntervalRange},
        {.name = k::DURATION,
         .field = member<&Settings::duration>,
         .defaultValue = 10,
         .machineDefault = durationDefault,
         .useRange = kDurationRange},
        {.name = k::INCLUDENOTES, .field = member<&Settings::includeNotes>, .defaultValue = false},
        {.name = k::NUMPAGES,
         .field = member<&Settings::numPages>,
         .defaultValue = 1,
         .useRange = kPagesRange},
        {.name = k::NUMCOLS,
         .field = member<&Settings::numCols>,
         .defaultValue = 2,
         .useRange = kColumnsRange},
        {.name = k::WALLETSTYLE, .field = member<&Settings::walletStyle>, .defaultValue = false},
        {.name = k::PAGE, .field = member<&Settings::page>, .defaultValue = true},
        {.name = k::ALARM, .field = member<&Settings::alarm>, .defaultValue = true},
        {.name = k::SOUND, .field = member<&Settings::sound>, .defaultValue = true},
        {.name = k::SOUNDCARD, .field = member<&Settings::soundCard>, .defaultValue = true},
        {.name = k::NAG, .field = member<&Settings::nag>, .defaultValue = 7, .useRange = kNagRange},
        {.name = k::ALLCATEGORIES,
         .field = member<&Settings::allCategories>,
         .defaultValue = false},
        {.name = k::EUROPEAN, .field = member<&Settings::european>, .defaultValue = false},
        {.name = k::MULTILINE, .field = member<&Settings::multiLine>, .defaultValue = false},
        {.name = k::BIGDIALOG, .field = member<&Settings::bigDialog>, .defaultValue = false},
        {.name = k::CENTURYBREAK,
         .field = member<&Settings::centuryBreak>,
         .defaultValue = 20,
         .useRange = kCenturyBreakRange},
        {.name = k::MILITARY, .field = member<&Settings::military>, .defaultValue = false},
        {.name = k::DAYS,
         .field = member<&Settings::days>,
         .defaultValue = 365,
         .useRange = kDaysRange},
        {.name = k::CALVIEW, .field = member<&Settings::calView>, .defaultValue = false},
        {.name = k::BORDER, .field = member<&Settings::border>, .defaultValue = 1},
        {.name = k::PROMPT, .field = member<&Settings::prompt>, .defaultValue = true},
        {.name = k::PRINTNAME,
         .field = member<&Settings::printName>,
         .defaultValue = std::string(),
         .maxCharacters = kPrintNameLength},
        {.name = k::WALLETWIDTH,
         .field = member<&Settings::walletWidth>,
         .defaultValue = 5.25,
         .realLoadRange = kWalletWidth},
        {.name = k::WALLETHEIGHT,
         .field = member<&Settings::walletHeight>,
         .defaultValue = 6.125,
         .realLoadRange = kWalletHeight},
    };
    addMargins(t);
    for (std::size_t i = 0; i < kDefaultColors.size(); ++i)
        t.push_back(
            {.name = k::COLOR[i], .field = colour, .index = i, .defaultValue = kDefaultColors[i]});
    addWindowRect(t);
    t.push_back({.name = k::ZOOM,
                 .field = member<&Settings::zoom>,
                 .defaultValue = 90,
                 .machineDefault = zoomDefault,
                 .useRange = kZoomRange});
    for (std::size_t i = 0; i < FontSlotCount; ++i)
        t.push_back(
            {.name = k::FONT[i], .field = font, .index = i, .defaultValue = defaultFonts()[i]});
    addFilesAndOrientation(t);
    return t;
}

const std::vector<SettingDef> &table()
{
    static const std::vector<SettingDef> settings = buildTable();
    return settings;
}

} // namespace

std::span<const SettingDef> settingTable()
{
    return table();
}

const SettingDef *findSetting(std::string_view name)
{
    for (const SettingDef &def : table()) {
        if (name == def.name)
            return &def;
    }
    return nullptr;
}

SettingValue settingValue(const Settings &settings, const SettingDef &def)
{
    // The field is only read here.
    const SettingField field = def.field(const_cast<Settings &>(settings), def.index);
    return std::visit([](auto *value) { return SettingValue(*value); }, field);
}

void setSettingValue(Settings &settings, const SettingDef &def, const SettingValue &value)
{
    assert(value.index() == def.defaultValue.index());
    std::visit(
        [&value](auto *target) {
            *target = std::get<std::remove_pointer_t<decltype(target)>>(value);
        },
        def.field(settings, def.index));
}

SettingValue settingDefault(const SettingDef &def, const PlatformProbe &probe,
                            const Settings &before)
{
    return def.machineDefault ? def.machineDefault(probe, before) : def.defaultValue;
}

std::string storedSettingText(const Settings &settings, const SettingDef &def)
{
    const SettingValue value = settingValue(settings, def);
    switch (def.kind()) {
    case SettingKind::Flag:
        return std::get<bool>(value) ? "1" : "0";
    case SettingKind::Integer:
        return std::to_string(std::get<int>(value));
    case SettingKind::Real:
        return formatRealValue(std::get<double>(value));
    case SettingKind::Text:
        return std::get<std::string>(value);
    case SettingKind::Colour:
        return std::to_string(static_cast<int>(std::get<std::uint32_t>(value)));
    case SettingKind::Font:
        return formatFontValue(std::get<FontSlot>(value));
    }
    return {};
}

bool readStoredSettingText(Settings &settings, const SettingDef &def, std::string_view text)
{
    const SettingField field = def.field(settings, def.index);
    switch (def.kind()) {
    case SettingKind::Flag:
        return readFlag(*std::get<bool *>(field), text);
    case SettingKind::Integer:
        return readInteger(*std::get<int *>(field), text, def.loadRange);
    case SettingKind::Real:
        return readReal(*std::get<double *>(field), text, def.realLoadRange);
    case SettingKind::Text:
        *std::get<std::string *>(field) = def.maxCharacters > 0
            ? cutToCharacters(std::string(text), def.maxCharacters)
            : std::string(text);
        return true;
    case SettingKind::Colour:
        return readColour(*std::get<std::uint32_t *>(field), text);
    case SettingKind::Font: {
        FontSlot &slot = *std::get<FontSlot *>(field);
        slot = parseFontValue(text, slot);
        return true;
    }
    }
    return false;
}

} // namespace dvw
