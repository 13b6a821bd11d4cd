#pragma once

#include "settingstable.h"

#include <optional>
#include <string>
#include <string_view>

namespace dvw {

// Shown after a change the running program cannot apply.
inline constexpr char kRestartNotice[]
    = "This configuration change will take effect next time you run Dayvane.";

// How a setting is changed: flipped, typed as one line, or picked in a chooser.
enum class ConfigInput { Flag, Integer, Real, Text, File, Font, Colour };

// The rule for changing one setting, which the Configure menu and `dayvane-cli config`
// share. A setting without a menu item still has one: its load and use ranges.
struct ConfigRule
{
    const SettingDef *def = nullptr;
    ConfigInput input = ConfigInput::Flag;
    // The one-line question of a typed value; empty for items that ask none.
    std::string_view caption;
    std::string_view prompt;
    // Integers: the values accepted, inclusive. The menu item's own range is cut to the load
    // and use ranges, so an accepted value is used as typed and loads back unchanged.
    std::optional<IntRange> accepted;
    // Reals: the load range. The menu's ranges only add bounds a restart would throw away.
    std::optional<RealRange> realAccepted;
    // The change shows kRestartNotice: the running program cannot apply it.
    bool restartNotice = false;
    // Files: the text the chooser starts with and offers as the default, its filter (Qt's
    // form) and the extension added to a name typed without one.
    std::string_view defaultFile;
    std::string_view fileFilter;
    std::string_view fileExtension;
    // Files the program opens by this name: an empty name is refused.
    bool needsName = false;
};

// The rule of the setting; every setting of the table has one.
ConfigRule configRuleFor(const SettingDef &def);
// The rule of the setting of that stored name; nullopt when there is none.
std::optional<ConfigRule> findConfigRule(std::string_view name);

// What a typed value comes to.
struct TypedValue
{
    enum class Verdict { Accepted, OutOfRange, Unreadable };

    Verdict verdict = Verdict::Unreadable;
    SettingValue value; // when accepted: the value to keep
    std::string storedText; // when accepted: what the settings file keeps
};

// Judges a typed value by the setting's rule. Flags take 0 or 1; integers a whole decimal
// number (one that overflows is out of range); reals a finite decimal number, judged as the
// two-decimal text that is stored; texts valid UTF-8 without control characters, cut to the
// setting's length; fonts "face, size" and the letters B, I or R, read over the current
// slot; colours "#RRGGBB" or the stored decimal. Text that is no value of the kind is
// unreadable, never read as 0. `current` gives the font slot a font is read over.
TypedValue readTypedValue(const ConfigRule &rule, std::string_view typed, const Settings &current);

// What the rule accepts, for messages: "a whole number from 1 to 365".
std::string acceptedText(const ConfigRule &rule);

} // namespace dvw
