#include "configrules.h"

#include "settingkeys.h"
#include "settings.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

namespace dvw {

namespace k = settingkeys;

namespace {

using Verdict = TypedValue::Verdict;

constexpr IntRange kAnyInteger {INT_MIN, INT_MAX};
constexpr IntRange kAboveZero {1, INT_MAX};
constexpr IntRange kZeroAndAbove {0, INT_MAX};
constexpr IntRange kFlagValues {0, 1};
// The month pane, pixels.
constexpr IntRange kMonthPane {50, 600};

constexpr char kAppointmentFilter[] = "Appointment Files (*.apt);;All Files (*.*)";
// The sound file's filter has always been worded this way.
constexpr char kSoundFilter[] = "Appointment Files (*.wav);;All Files (*.*)";

// What a Configure item adds to the settings table: its question, its own range and
// whether the running program can apply the change. Settings not listed here keep the
// rule their kind and ranges give.
struct MenuRule
{
    const char *name;
    std::string_view caption = {};
    std::string_view prompt = {};
    std::optional<IntRange> range = std::nullopt;
    bool restartNotice = false;
    bool shownAsFlag = false; // a number the menu flips between 0 and 1
};

const MenuRule kMenuRules[] = {
    // Only these two are read at start and nowhere later.
    {.name = k::FULLSCREEN, .restartNotice = true},
    {.name = k::CALVIEW, .restartNotice = true},
    {k::NAG, "Nag interval", "How many days to nag using nag option?", kAboveZero},
    {k::CENTURYBREAK, "Century break",
     "With the default value of 20, 1/1/19 means 2019\n but 1/1/20 means 1920. New value?",
     IntRange {0, 99}},
    {k::DAYS, "Days to view",
     "Number of days viewable at one time without\nchanging start date, no larger than 365",
     IntRange {1, 365}},
    {k::UNIMPORTANT, "Unimportant notes",
     "Day of week (0=Sun,6=Sat) for displaying unimportant notes (entered with \\u option):",
     IntRange {0, 6}},
    {k::NUMPAGES, "Print pages", "Default number of pages to print:", kAboveZero},
    {k::NUMCOLS, "Print columns", "Number of columns for list printout: ", kAboveZero},
    {k::MONTHWIDTH, "Month width", "Width of month window, pixels:", kMonthPane},
    {k::MONTHHEIGHT, "Month height", "Height of month window, pixels:", kMonthPane},
    {k::DURATION, "Duration",
     "Number of times to play sound file, or time to beep: ", kZeroAndAbove},
    {k::INTERVAL, "Interval", "Seconds between playing sound file: ", kZeroAndAbove},
    {k::ADVANCE, "Advance", "Number of minutes before appointment to sound alarm?", kZeroAndAbove},
    {k::WALLETTOPMARGIN, "Top margin", "Top margin for wallet printout (0 - 8):"},
    {k::WALLETLEFTMARGIN, "Left margin", "Left margin for wallet printout (0 - 8):"},
    {k::WALLETWIDTH, "Wallet width", "Width of wallet printout (2.5 - 20):"},
    {k::WALLETHEIGHT, "Wallet height", "Height of wallet printout (3 - 20):"},
    {k::LEFTMARGIN, "Left margin", "Left margin for printouts (0 - 8):"},
    {k::RIGHTMARGIN, "Right margin", "Right margin for printouts (0 - 8):"},
    {k::TOPMARGIN, "Top margin", "Top margin for printouts (0 - 8):"},
    {k::BOTTOMMARGIN, "Bottom margin", "Bottom margin for printouts (0 - 8):"},
    {k::PRINTNAME, "Print name", "Name on printouts (or blank):"},
    {.name = k::BORDER, .shownAsFlag = true},
};

const MenuRule *menuRuleOf(std::string_view name)
{
    for (const MenuRule &rule : kMenuRules) {
        if (name == rule.name)
            return &rule;
    }
    return nullptr;
}

IntRange cutTo(IntRange range, const std::optional<IntRange> &limit)
{
    if (!limit)
        return range;
    return {std::max(range.low, limit->low), std::min(range.high, limit->high)};
}

ConfigInput inputOfKind(SettingKind kind)
{
    switch (kind) {
    case SettingKind::Flag:
        return ConfigInput::Flag;
    case SettingKind::Integer:
        return ConfigInput::Integer;
    case SettingKind::Real:
        return ConfigInput::Real;
    case SettingKind::Text:
        return ConfigInput::Text;
    case SettingKind::Colour:
        return ConfigInput::Colour;
    case SettingKind::Font:
        return ConfigInput::Font;
    }
    return ConfigInput::Text;
}

void addFileRule(ConfigRule &rule)
{
    const std::string_view name = rule.def->name;
    if (name == k::APPTFILE || name == k::ARCHIVEFILE) {
        rule.input = ConfigInput::File;
        rule.defaultFile = name == k::APPTFILE ? "NOTES.APT" : "ARCHIVE.APT";
        rule.fileFilter = kAppointmentFilter;
        rule.fileExtension = "APT";
        rule.needsName = true;
    } else if (name == k::WAVEFILE) {
        rule.input = ConfigInput::File; // the default is the sound file in use
        rule.fileFilter = kSoundFilter;
        rule.fileExtension = "WAV";
    }
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A whole decimal number with an optional sign; `fits` is false when it overflows an int.
struct WholeNumber
{
    bool fits = false;
    int value = 0;
};

std::optional<WholeNumber> readWholeNumber(std::string_view text)
{
    text = trimBlanks(text);
    const bool plus = !text.empty() && text.front() == '+';
    if (plus)
        text.remove_prefix(1);
    const bool minus = !plus && !text.empty() && text.front() == '-';
    const std::string_view digits = minus ? text.substr(1) : text;
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), isDigit))
        return std::nullopt;
    WholeNumber number;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number.value);
    number.fits = ec == std::errc() && end == text.data() + text.size();
    return number;
}

// A decimal real that is the whole text (blanks aside). Nothing for text that is no
// number (NaN included); an infinity for one too large for a double.
std::optional<double> readWholeReal(std::string_view text)
{
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !(isDigit(text.front()) || text.front() == '.'))
        return std::nullopt; // also "inf" and "nan"
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (end != text.data() + text.size())
        return std::nullopt;
    if (ec == std::errc::result_out_of_range)
        value = HUGE_VAL; // too small a value rounds to zero below anyway
    else if (ec != std::errc())
        return std::nullopt;
    return negative ? -value : value;
}

bool isPlainText(std::string_view text)
{
    const bool controls = std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    return !controls && isValidUtf8(text);
}

TypedValue refused(Verdict verdict)
{
    TypedValue typed;
    typed.verdict = verdict;
    return typed;
}

TypedValue acceptedAs(SettingValue value)
{
    TypedValue typed;
    typed.verdict = Verdict::Accepted;
    typed.value = std::move(value);
    return typed;
}

TypedValue readInteger(const ConfigRule &rule, std::string_view text)
{
    const std::optional<WholeNumber> number = readWholeNumber(text);
    if (!number)
        return refused(Verdict::Unreadable);
    if (!number->fits || !rule.accepted.value_or(kAnyInteger).contains(number->value))
        return refused(Verdict::OutOfRange);
    return acceptedAs(number->value);
}

// 0 or 1 (the flag rules accept nothing else), kept as the setting's kind.
TypedValue readFlag(const ConfigRule &rule, std::string_view text)
{
    TypedValue typed = readInteger(rule, text);
    if (typed.verdict == Verdict::Accepted && rule.def->kind() == SettingKind::Flag)
        typed.value = std::get<int>(typed.value) != 0;
    return typed;
}

// Judged as stored: the value the two-decimal text reads back as ("3.004" is 3.00).
TypedValue readReal(const ConfigRule &rule, std::string_view text)
{
    const std::optional<double> number = readWholeReal(text);
    if (!number)
        return refused(Verdict::Unreadable);
    if (!std::isfinite(*number))
        return refused(Verdict::OutOfRange);
    double stored = parseRealValue(formatRealValue(*number)).value_or(0);
    if (stored == 0)
        stored = 0; // "-0.00" is stored as "0.00"
    if (rule.realAccepted && !rule.realAccepted->contains(stored))
        return refused(Verdict::OutOfRange);
    return acceptedAs(stored);
}

TypedValue readText(const ConfigRule &rule, std::string_view text)
{
    if (!isPlainText(text) || (rule.needsName && text.empty()))
        return refused(Verdict::Unreadable);
    const std::size_t keep = rule.def->maxCharacters;
    return acceptedAs(keep > 0 ? cutToCharacters(std::string(text), keep) : std::string(text));
}

// "face, size" and at most two of the letters B, I and R; nothing after the size keeps the
// slot's bold and italic flags, as reading the stored value does.
TypedValue readFont(std::string_view text, const FontSlot &current)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return refused(Verdict::Unreadable);
    const std::string face
        = cutToCharacters(std::string(trimBlanks(text.substr(0, comma))), kFontFaceLength);
    std::string_view rest = trimBlanks(text.substr(comma + 1));
    std::size_t digits = 0;
    while (digits < rest.size() && isDigit(rest[digits]))
        ++digits;
    const std::string_view letters = rest.substr(digits);
    const bool lettersKnown
        = letters.size() <= 2 && letters.find_first_not_of("BIR") == std::string_view::npos;
    if (face.empty() || !isPlainText(face) || digits == 0 || !lettersKnown)
        return refused(Verdict::Unreadable);
    const WholeNumber size = *readWholeNumber(rest.substr(0, digits));
    if (!size.fits || size.value < kFontSizeMin || size.value > kFontSizeMax)
        return refused(Verdict::OutOfRange);
    FontSlot font {face, size.value, current.bold, current.italic};
    if (!letters.empty()) {
        font.bold = letters.find('B') != std::string_view::npos;
        font.italic = letters.find('I') != std::string_view::npos;
    }
    return acceptedAs(font);
}

int hexDigit(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "#RRGGBB", or the stored decimal of 0x00BBGGRR.
TypedValue readColour(std::string_view text)
{
    text = trimBlanks(text);
    std::uint32_t colour = 0;
    if (!text.empty() && text.front() == '#') {
        if (text.size() != 7)
            return refused(Verdict::Unreadable);
        std::uint32_t rgb = 0;
        for (char c : text.substr(1)) {
            const int digit = hexDigit(c);
            if (digit < 0)
                return refused(Verdict::Unreadable);
            rgb = rgb * 16 + static_cast<std::uint32_t>(digit);
        }
        colour = colorRef(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
    } else {
        const std::optional<WholeNumber> number = readWholeNumber(text);
        if (!number)
            return refused(Verdict::Unreadable);
        if (!number->fits || number->value < 0 || number->value > 0xFFFFFF)
            return refused(Verdict::OutOfRange);
        colour = static_cast<std::uint32_t>(number->value);
    }
    return acceptedAs(colour);
}

TypedValue readOfInput(const ConfigRule &rule, std::string_view text, const Settings &current)
{
    switch (rule.input) {
    case ConfigInput::Flag:
        return readFlag(rule, text);
    case ConfigInput::Integer:
        return readInteger(rule, text);
    case ConfigInput::Real:
        return readReal(rule, text);
    case ConfigInput::Text:
    case ConfigInput::File:
        return readText(rule, text);
    case ConfigInput::Font:
        return readFont(text, std::get<FontSlot>(settingValue(current, *rule.def)));
    case ConfigInput::Colour:
        return readColour(text);
    }
    return refused(Verdict::Unreadable);
}

std::string realBoundText(double value)
{
    return formatRealValue(value);
}

std::string integerRangeText(const IntRange &range)
{
    if (range.low == INT_MIN && range.high == INT_MAX)
        return "a whole number";
    if (range.high == INT_MAX)
        return "a whole number from " + std::to_string(range.low) + " up";
    return "a whole number from " + std::to_string(range.low) + " to " + std::to_string(range.high);
}

} // namespace

ConfigRule configRuleFor(const SettingDef &def)
{
    ConfigRule rule;
    rule.def = &def;
    rule.input = inputOfKind(def.kind());
    IntRange range = kAnyInteger;
    if (const MenuRule *menu = menuRuleOf(def.name)) {
        rule.caption = menu->caption;
        rule.prompt = menu->prompt;
        rule.restartNotice = menu->restartNotice;
        if (menu->shownAsFlag)
            rule.input = ConfigInput::Flag;
        range = menu->range.value_or(kAnyInteger);
    }
    if (rule.input == ConfigInput::Integer)
        rule.accepted = cutTo(cutTo(range, def.loadRange), def.useRange);
    if (rule.input == ConfigInput::Flag)
        rule.accepted = kFlagValues;
    rule.realAccepted = def.realLoadRange;
    addFileRule(rule);
    if (rule.input == ConfigInput::Colour) {
        rule.caption = "Color selection";
        rule.prompt = "Enter index (1-15) of color to be edited: ";
    }
    return rule;
}

std::optional<ConfigRule> findConfigRule(std::string_view name)
{
    const SettingDef *def = findSetting(name);
    if (def == nullptr)
        return std::nullopt;
    return configRuleFor(*def);
}

TypedValue readTypedValue(const ConfigRule &rule, std::string_view typed, const Settings &current)
{
    TypedValue value = readOfInput(rule, typed, current);
    if (value.verdict == Verdict::Accepted) {
        Settings changed = current;
        setSettingValue(changed, *rule.def, value.value);
        value.storedText = storedSettingText(changed, *rule.def);
    }
    return value;
}

std::string acceptedText(const ConfigRule &rule)
{
    switch (rule.input) {
    case ConfigInput::Flag:
        return "0 or 1";
    case ConfigInput::Integer:
        return integerRangeText(rule.accepted.value_or(kAnyInteger));
    case ConfigInput::Real: {
        if (!rule.realAccepted)
            return "a number";
        const RealRange &r = *rule.realAccepted;
        return (r.lowIncluded ? "a number from " + realBoundText(r.low) + " to below "
                              : "a number above " + realBoundText(r.low) + " and below ")
            + realBoundText(r.high);
    }
    case ConfigInput::Text:
        return "text without control characters";
    case ConfigInput::File:
        return rule.needsName ? "a file name" : "a file name, or nothing for none";
    case ConfigInput::Font:
        return "a font as \"face, size\" with a size from " + std::to_string(kFontSizeMin) + " to "
            + std::to_string(kFontSizeMax) + ", then B for bold, I for italic or R for neither";
    case ConfigInput::Colour:
        return "a colour as #RRGGBB";
    }
    return {};
}

} // namespace dvw
