#include "settings/platformprobe.h"
#include "settings/settingkeys.h"
#include "settings/settings.h"
#include "settings/settingslimits.h"
#include "settings/settingstable.h"
#include "tempsettingsdir.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

using namespace dvw;
using dvw::test::TempSettingsDir;

namespace {

const FixedProbe wideScreenWithSound(1280, 1);

// A value of the setting's kind that differs from `current` and that loading keeps.
SettingValue otherValue(const SettingDef &def, const SettingValue &current)
{
    switch (def.kind()) {
    case SettingKind::Flag:
        return !std::get<bool>(current);
    case SettingKind::Integer: {
        const int now = std::get<int>(current);
        if (def.loadRange)
            return now == def.loadRange->low ? def.loadRange->high : def.loadRange->low;
        return now == 0 ? 3 : -now;
    }
    case SettingKind::Real:
        return std::get<double>(current) == 3.5 ? 4.25 : 3.5; // inside every load range
    case SettingKind::Text:
        return std::string(def.name) + " text";
    case SettingKind::Colour:
        return std::get<std::uint32_t>(current) ^ 0x00ABCDEFu;
    case SettingKind::Font: {
        const FontSlot now = std::get<FontSlot>(current);
        return FontSlot {std::string(def.name).substr(0, 4), now.size + 1, !now.bold, !now.italic};
    }
    }
    return current;
}

} // namespace

TEST(SettingsTable, EveryNameIsFoundAndNamesOnlyOneSetting)
{
    std::set<std::string> names;
    for (const SettingDef &def : settingTable()) {
        EXPECT_TRUE(names.insert(def.name).second) << def.name;
        EXPECT_EQ(findSetting(def.name), &def);
    }
    EXPECT_EQ(findSetting("days"), nullptr); // stored names are matched exactly
    EXPECT_EQ(findSetting("COLOR16"), nullptr);
    EXPECT_EQ(findSetting(""), nullptr);
}

// Each setting is changed on its own, saved and loaded: it comes back changed and every
// other setting comes back at its default (as stored: two decimals). An entry that reached another
// setting's member, or whose text did not read back, fails here.
TEST(SettingsTable, EverySettingChangedAloneSurvivesSaveAndLoad)
{
    const TempSettingsDir dir;
    const Settings defaults = Settings::defaults(wideScreenWithSound);
    for (const SettingDef &def : settingTable()) {
        if (std::string_view(def.name) == settingkeys::FULLSCREEN)
            continue; // full screen keeps no window position, so it stays off here
        SCOPED_TRACE(def.name);
        Settings s = defaults;
        const SettingValue changed = otherValue(def, settingValue(s, def));
        setSettingValue(s, def, changed);
        SettingsStore store;
        ASSERT_TRUE(s.save(store).ok);
        const Settings loaded = Settings::load(store, wideScreenWithSound);
        EXPECT_EQ(settingValue(loaded, def), changed);
        EXPECT_EQ(storedSettingText(loaded, def), storedSettingText(s, def));
        for (const SettingDef &other : settingTable()) {
            if (&other != &def) {
                EXPECT_EQ(storedSettingText(loaded, other), storedSettingText(defaults, other))
                    << other.name;
            }
        }
    }
}

// What a stored text reads as writes back as the same text, for every setting's default.
TEST(SettingsTable, StoredTextOfEveryDefaultReadsBackToItself)
{
    const Settings defaults = Settings::defaults(wideScreenWithSound);
    for (const SettingDef &def : settingTable()) {
        SCOPED_TRACE(def.name);
        const std::string text = storedSettingText(defaults, def);
        Settings other = defaults;
        SettingValue changed = otherValue(def, settingValue(defaults, def));
        if (auto *font = std::get_if<FontSlot>(&changed)) {
            // A font stored without style letters keeps the slot's style: keep it here.
            const FontSlot now = std::get<FontSlot>(settingValue(defaults, def));
            font->bold = now.bold;
            font->italic = now.italic;
        }
        setSettingValue(other, def, changed);
        EXPECT_TRUE(readStoredSettingText(other, def, text));
        EXPECT_EQ(storedSettingText(other, def), text);
    }
}

TEST(SettingsTable, TextOutsideTheLoadRangeOrOfAnotherKindIsRefused)
{
    Settings s = Settings::defaults(wideScreenWithSound);
    const struct
    {
        const char *name;
        const char *text;
    } refused[]
        = {{"BWIDTH", "1001"}, {"BHEIGHT", "149"},  {"WALLETWIDTH", "2.5"}, {"LEFTMARGIN", "8"},
           {"DAYS", "many"},   {"EUROPEAN", "yes"}, {"COLOR1", "0xff"},     {"NAG", "1.5"}};
    for (const auto &r : refused) {
        SCOPED_TRACE(r.name);
        const SettingDef &def = *findSetting(r.name);
        const SettingValue before = settingValue(s, def);
        EXPECT_FALSE(readStoredSettingText(s, def, r.text));
        EXPECT_EQ(settingValue(s, def), before);
    }
}

// Where a setting is used, its value is held inside the range the table gives for it, and
// a value inside is used as it is; so an option or dialog that takes the table's range
// takes exactly what the setting can hold.
TEST(SettingsTable, UseRangesAreWhatTheLimitsHoldValuesTo)
{
    const struct
    {
        const char *name;
        int (*usable)(int);
    } uses[] = {{"DAYS", usableDays},
                {"NAG", usableNagDays},
                {"ZOOM", usableZoom},
                {"CENTURYBREAK", usableCenturyBreak},
                {"INTERVAL", usableIntervalSeconds},
                {"DURATION", usableDuration},
                {"ADVANCE", usableAdvanceMinutes},
                {"NUMCOLS", usableColumns},
                {"NUMPAGES", usablePages},
                {"UNIMPORTANT", usableUnimportantDay}};
    for (const auto &u : uses) {
        SCOPED_TRACE(u.name);
        const IntRange range = findSetting(u.name)->useRange.value();
        for (const int value : {INT_MIN, range.low - 1, range.high + 1, INT_MAX})
            EXPECT_TRUE(range.contains(u.usable(value))) << value;
        for (const int value : {range.low, (range.low + range.high) / 2, range.high})
            EXPECT_EQ(u.usable(value), value);
    }
}
