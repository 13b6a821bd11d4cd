#include "settings/configrules.h"
#include "settings/platformprobe.h"
#include "settings/settings.h"
#include "typedtexts.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <climits>

using namespace dvw;

namespace {

using Verdict = TypedValue::Verdict;

const FixedProbe wideScreen(1280, 0);

struct TypedCase
{
    const char *setting;
    std::string typed;
    Verdict verdict;
    const char *stored = ""; // when accepted
};

// The menu items' edge values, and text that is no value of the kind.
const TypedCase kTypedCases[] = {
    {"DAYS", "365", Verdict::Accepted, "365"},
    {"DAYS", " 30 ", Verdict::Accepted, "30"},
    {"DAYS", "400", Verdict::OutOfRange},
    {"DAYS", "0", Verdict::OutOfRange},
    {"DAYS", "99999999999", Verdict::OutOfRange}, // overflows: never wraps into the range
    {"DAYS", "abc", Verdict::Unreadable}, // never read as 0
    {"DAYS", "12abc", Verdict::Unreadable},
    {"DAYS", "", Verdict::Unreadable},
    {"CENTURYBREAK", "99", Verdict::Accepted, "99"},
    {"CENTURYBREAK", "100", Verdict::OutOfRange},
    {"CENTURYBREAK", "0", Verdict::Accepted, "0"},
    {"NAG", "0", Verdict::OutOfRange}, // "above 0"
    {"NAG", "3660", Verdict::Accepted, "3660"}, // ten years: the most the engine takes
    {"NAG", "3661", Verdict::OutOfRange},
    {"UNIMPORTANT", "7", Verdict::OutOfRange},
    {"NUMCOLS", "4", Verdict::Accepted, "4"},
    {"NUMCOLS", "5", Verdict::OutOfRange}, // printing uses one column past four
    {"NUMPAGES", "101", Verdict::OutOfRange},
    {"INTERVAL", "0", Verdict::OutOfRange}, // the repeat timer takes a second at least
    {"DURATION", "0", Verdict::Accepted, "0"},
    {"ADVANCE", "1441", Verdict::OutOfRange},
    {"MONTHWIDTH", "49", Verdict::OutOfRange},
    {"MONTHWIDTH", "600", Verdict::Accepted, "600"},
    {"WALLETHEIGHT", "2.75", Verdict::OutOfRange},
    // Three inches would load as the default: the load range starts above it.
    {"WALLETHEIGHT", "3", Verdict::OutOfRange},
    {"WALLETHEIGHT", "3.004", Verdict::OutOfRange}, // stored as 3.00
    {"WALLETHEIGHT", "3.5", Verdict::Accepted, "3.50"},
    {"WALLETWIDTH", "20", Verdict::OutOfRange},
    {"WALLETWIDTH", "19.994", Verdict::Accepted, "19.99"},
    {"WALLETWIDTH", "19.996", Verdict::OutOfRange}, // stored as 20.00
    {"LEFTMARGIN", "-0.001", Verdict::Accepted, "0.00"},
    {"LEFTMARGIN", "8", Verdict::OutOfRange},
    {"LEFTMARGIN", "1e999", Verdict::OutOfRange},
    {"LEFTMARGIN", "nan", Verdict::Unreadable},
    {"LEFTMARGIN", "inf", Verdict::Unreadable},
    {"LEFTMARGIN", "1,5", Verdict::Unreadable}, // the C locale, whatever the user's
    {"ALARM", "0", Verdict::Accepted, "0"},
    {"ALARM", "2", Verdict::OutOfRange},
    {"ALARM", "yes", Verdict::Unreadable},
    {"BORDER", "1", Verdict::Accepted, "1"},
    {"PRINTNAME", std::string(70, 'n'), Verdict::Accepted,
     "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn"},
    {"PRINTNAME", "", Verdict::Accepted, ""},
    {"PRINTNAME", "a\tb", Verdict::Unreadable},
    {"PRINTNAME", "\xC3(", Verdict::Unreadable}, // no UTF-8: it would not read back
    {"APPTFILE", "", Verdict::Unreadable},
    {"APPTFILE", "/home/ann/work.apt", Verdict::Accepted, "/home/ann/work.apt"},
    {"WAVEFILE", "", Verdict::Accepted, ""},
    {"BODYFONT", "Arial, 12BI", Verdict::Accepted, "Arial, 12BI"},
    {"BODYFONT", "Arial, 12", Verdict::Accepted, "Arial, 12R"},
    {"HEADINGFONT", "Arial, 11", Verdict::Accepted, "Arial, 11B"}, // as reading it gives
    {"HEADINGFONT", "Arial, 11R", Verdict::Accepted, "Arial, 11R"},
    {"BODYFONT", "Arial, 40", Verdict::OutOfRange},
    {"BODYFONT", "Arial", Verdict::Unreadable},
    {"BODYFONT", ", 12", Verdict::Unreadable},
    {"BODYFONT", "Arial, 12X", Verdict::Unreadable},
    {"COLOR1", "#FF8000", Verdict::Accepted, "33023"}, // 0x00BBGGRR
    {"COLOR1", "255", Verdict::Accepted, "255"},
    {"COLOR1", "16777216", Verdict::OutOfRange},
    {"COLOR1", "#12345", Verdict::Unreadable},
    {"ZOOM", "24", Verdict::OutOfRange}, // no menu item: its use range
    {"BWIDTH", "1001", Verdict::OutOfRange}, // no menu item: its load range
    {"X", "-5", Verdict::Accepted, "-5"},
};

} // namespace

TEST(ConfigRules, TypedValuesAreJudgedByTheMenuRangeCutToTheLoadAndUseRanges)
{
    const Settings defaults = Settings::defaults(wideScreen);
    for (const TypedCase &c : kTypedCases) {
        SCOPED_TRACE(std::string(c.setting) + " <- '" + c.typed + "'");
        const std::optional<ConfigRule> rule = findConfigRule(c.setting);
        ASSERT_TRUE(rule.has_value());
        const TypedValue value = readTypedValue(*rule, c.typed, defaults);
        EXPECT_EQ(value.verdict, c.verdict);
        if (c.verdict == Verdict::Accepted) {
            EXPECT_EQ(value.storedText, c.stored);
        }
    }
}

TEST(ConfigRules, OnlyFullScreenAndCalendarStartWaitForTheNextStart)
{
    for (const SettingDef &def : settingTable()) {
        const std::string_view name = def.name;
        EXPECT_EQ(configRuleFor(def).restartNotice, name == "FULLSCREEN" || name == "CALVIEW")
            << name;
    }
}

// Whatever is typed, an accepted value is stored as a text that loads back as the same
// value, inside the load and use ranges, so a restart changes nothing. Each text is typed
// into every setting.
RC_GTEST_PROP(ConfigRules, AcceptedTextLoadsBackUnchanged, ())
{
    const std::string typed = *test::genTypedText();
    const Settings defaults = Settings::defaults(wideScreen);
    int accepted = 0;
    for (const SettingDef &def : settingTable()) {
        const TypedValue value = readTypedValue(configRuleFor(def), typed, defaults);
        if (value.verdict != Verdict::Accepted)
            continue;
        ++accepted;
        Settings reloaded = defaults;
        RC_ASSERT(readStoredSettingText(reloaded, def, value.storedText));
        RC_ASSERT(settingValue(reloaded, def) == value.value);
        RC_ASSERT(storedSettingText(reloaded, def) == value.storedText);
        if (const int *number = std::get_if<int>(&value.value)) {
            RC_ASSERT(def.useRange.value_or(IntRange {INT_MIN, INT_MAX}).contains(*number));
            RC_ASSERT(def.loadRange.value_or(IntRange {INT_MIN, INT_MAX}).contains(*number));
        }
    }
    RC_CLASSIFY(accepted > 4, "accepted by several settings");
}

TEST(ConfigRules, AcceptedTextSaysWhatIsAccepted)
{
    const struct
    {
        const char *setting;
        const char *text;
    } cases[] = {
        {"DAYS", "a whole number from 1 to 365"},
        {"NAG", "a whole number from 1 to 3660"},
        {"X", "a whole number"},
        {"WALLETWIDTH", "a number above 2.50 and below 20.00"},
        {"TOPMARGIN", "a number from 0.00 to below 8.00"},
        {"PROMPT", "0 or 1"},
        {"APPTFILE", "a file name"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(acceptedText(*findConfigRule(c.setting)), c.text) << c.setting;
}
