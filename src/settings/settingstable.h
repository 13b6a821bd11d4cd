#pragma once

#include "fontvalue.h"
#include "settingvalue.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace dvw {

class PlatformProbe;
struct Settings;

// What a setting holds. The order is the order of SettingValue's alternatives.
enum class SettingKind { Flag, Integer, Real, Text, Colour, Font };

// One setting's value, of its kind.
using SettingValue = std::variant<bool, int, double, std::string, std::uint32_t, FontSlot>;
// Where a setting lives in a Settings value.
using SettingField
    = std::variant<bool *, int *, double *, std::string *, std::uint32_t *, FontSlot *>;

// Everything the program knows about one stored setting. Loading, saving, the command-line
// options and the configuration commands all walk the one table of these, so a setting's
// name, default and ranges are written down once.
struct SettingDef
{
    const char *name; // the stored name, which is also the setting's name everywhere
    SettingField (*field)(Settings &, std::size_t index);
    std::size_t index = 0; // which colour or font slot `field` gives
    // The default; a value that only shows the kind when machineDefault is set.
    SettingValue defaultValue;
    // A default that depends on the machine or on the settings before this one in the
    // table (as loaded, during a load).
    SettingValue (*machineDefault)(const PlatformProbe &, const Settings &before) = nullptr;
    // Integers: a stored value outside it loads as the default. None: any value loads.
    std::optional<IntRange> loadRange = std::nullopt;
    // Reals: the same for measures.
    std::optional<RealRange> realLoadRange = std::nullopt;
    // Integers: the values that mean something where the setting is used. A stored value
    // outside is held to it there (settingslimits.h); an option or dialog refuses it.
    std::optional<IntRange> useRange = std::nullopt;
    // Texts: characters kept of a stored text; 0 keeps it whole.
    std::size_t maxCharacters = 0;
    // Part of the main window's rectangle: read and written only when FULLSCREEN is off.
    bool windowRect = false;

    SettingKind kind() const { return static_cast<SettingKind>(defaultValue.index()); }
};

// Every stored setting, in load order.
std::span<const SettingDef> settingTable();
// The setting of that stored name (exact case); null when there is none.
const SettingDef *findSetting(std::string_view name);

// The setting's value in `settings`.
SettingValue settingValue(const Settings &settings, const SettingDef &def);
// Sets the setting's value; the value must be of the setting's kind.
void setSettingValue(Settings &settings, const SettingDef &def, const SettingValue &value);
// The setting's default on the machine the probe describes, given the settings before it.
SettingValue settingDefault(const SettingDef &def, const PlatformProbe &probe,
                            const Settings &before);

// The text the settings file keeps for the setting's value: flags 0 or 1, numbers in
// decimal (a colour as its 32-bit pattern read signed), reals with two decimals, fonts as
// "face, sizeBI".
std::string storedSettingText(const Settings &settings, const SettingDef &def);
// Reads a stored text into the setting as loading does: false, leaving the value alone,
// when the text is no value of the setting's kind or lies outside its load range.
bool readStoredSettingText(Settings &settings, const SettingDef &def, std::string_view text);

} // namespace dvw
