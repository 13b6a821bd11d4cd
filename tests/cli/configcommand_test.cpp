#include "../settings/tempsettingsdir.h"
#include "clirun.h"
#include "settings/settingsstore.h"
#include "settings/settingstable.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace dvw;
using dvw::test::runCliWith;
using dvw::test::TempSettingsDir;

namespace {

struct ConfigCase
{
    const char *name;
    const char *storedBefore; // the settings file, empty for none
    std::vector<std::string> args;
    int status;
    const char *out;
    const char *errHas; // a part of standard error
    const char *storedAfter; // the value's stored text afterwards, null for none
};

const ConfigCase kCases[] = {
    {"SetWritesAndPrintsTheStoredText",
     "",
     {"config", "set", "DAYS", "30"},
     0,
     "DAYS=30\n",
     "",
     "30"},
    {"OutOfRangeWritesNothing",
     "DAYS=20\n",
     {"config", "set", "DAYS", "400"},
     3,
     "",
     "a whole number from 1 to 365",
     "20"},
    {"OverflowIsOutOfRange",
     "",
     {"config", "set", "NAG", "4294967297"},
     3,
     "",
     "nothing written",
     nullptr},
    {"TextThatIsNoNumberIsRefused",
     "",
     {"config", "set", "DAYS", "abc"},
     2,
     "",
     "DAYS takes",
     nullptr},
    {"UnknownNameIsABadArgument",
     "",
     {"config", "set", "DAYZ", "3"},
     2,
     "",
     "no setting 'DAYZ'",
     nullptr},
    {"RealIsStoredWithTwoDecimals",
     "",
     {"config", "set", "WALLETHEIGHT", "3.5"},
     0,
     "WALLETHEIGHT=3.50\n",
     "",
     "3.50"},
    {"RealTheLoadRangeWouldDropIsRefused",
     "",
     {"config", "set", "WALLETWIDTH", "20"},
     3,
     "",
     "below 20.00",
     nullptr},
    {"NoticeOfWhatTheRunningProgramCannotApply",
     "",
     {"config", "set", "CALVIEW", "1"},
     0,
     "CALVIEW=1\n",
     "take effect next time",
     "1"},
    {"ToggleFlipsTheStoredFlag",
     "PROMPT=0\n",
     {"config", "toggle", "PROMPT"},
     0,
     "PROMPT=1\n",
     "",
     "1"},
    {"ToggleFlipsADefault", "", {"config", "toggle", "PROMPT"}, 0, "PROMPT=0\n", "", "0"},
    {"ToggleOfANumberIsRefused", "", {"config", "toggle", "DAYS"}, 2, "", "no on/off", nullptr},
    {"ToggleOfAScreenDependentDefaultIsRefused",
     "",
     {"config", "toggle", "FULLSCREEN"},
     2,
     "",
     "depends on the screen",
     nullptr},
    {"GetGivesTheStoredText",
     "BHEIGHT=120\n",
     {"config", "get", "BHEIGHT"},
     0,
     "BHEIGHT=120\n",
     "",
     "120"},
    {"GetGivesTheDefault",
     "",
     {"config", "get", "HEADINGFONT"},
     0,
     "HEADINGFONT=Arial Bold, 10B\n",
     "",
     nullptr},
    {"FontIsReadOverTheSlot",
     "",
     {"config", "set", "LARGEFONT", "Serif, 14"},
     0,
     "LARGEFONT=Serif, 14B\n",
     "",
     "Serif, 14B"},
    {"ProfileHasItsOwnFile",
     "DAYS=20\n",
     {"config", "get", "DAYS", "--profile", "2"},
     0,
     "DAYS=365\n",
     "",
     "20"},
    {"DateOptionsAreNoConfigOptions",
     "",
     {"config", "list", "--european"},
     2,
     "",
     "unknown option",
     nullptr},
    {"MissingActionIsABadArgument", "", {"config"}, 2, "", "takes list", nullptr},
};

// Cases are named by their name alone.
void PrintTo(const ConfigCase &c, std::ostream *out)
{
    *out << c.name;
}

class ConfigCommand : public ::testing::TestWithParam<ConfigCase>
{ };

} // namespace

TEST_P(ConfigCommand, Runs)
{
    const ConfigCase &c = GetParam();
    const TempSettingsDir dir;
    if (*c.storedBefore)
        dir.write(c.storedBefore);
    const test::CliRun run = runCliWith(c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.out, c.out);
    EXPECT_NE(run.err.find(c.errHas), std::string::npos) << run.err;
    SettingsStore store;
    store.open();
    const std::optional<std::string> stored = store.readStored(c.args.size() > 2 ? c.args[2] : "");
    store.close();
    EXPECT_EQ(stored.has_value(), c.storedAfter != nullptr);
    if (stored && c.storedAfter) {
        EXPECT_EQ(*stored, c.storedAfter);
    }
}

INSTANTIATE_TEST_SUITE_P(Config, ConfigCommand, ::testing::ValuesIn(kCases),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(ConfigList, EverySettingInTableOrderStoredTextOrDefault)
{
    const TempSettingsDir dir;
    dir.write("DAYS=abc\nWALLETWIDTH=20.00\n");
    const test::CliRun run = runCliWith({"config", "list"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string expected;
    for (const SettingDef &def : settingTable())
        expected += std::string(def.name) + "=";
    std::string names;
    std::size_t begin = 0;
    while (begin < run.out.size()) {
        const std::size_t end = run.out.find('\n', begin);
        names += run.out.substr(begin, run.out.find('=', begin) - begin + 1);
        begin = end + 1;
    }
    EXPECT_EQ(names, expected);
    // What is stored is shown as stored, even what loading would not take.
    EXPECT_NE(run.out.find("\nDAYS=abc\n"), std::string::npos);
    EXPECT_NE(run.out.find("\nWALLETWIDTH=20.00\n"), std::string::npos);
    EXPECT_NE(run.out.find("\nNAG=7\n"), std::string::npos);
}

TEST(ConfigSet, AFileThatCannotBeWrittenIsExitOneAndKeepsItsText)
{
    const TempSettingsDir dir;
    // A folder where the settings file should be: never written over, whoever runs this.
    ASSERT_EQ(mkdir(dir.file().c_str(), 0700), 0);
    const test::CliRun run = runCliWith({"config", "set", "DAYS", "30"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("DAYS not written"), std::string::npos) << run.err;
}
