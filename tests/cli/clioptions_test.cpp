#include "../settings/tempsettingsdir.h"
#include "cli/clioptions.h"
#include "cli/commands.h"
#include "clirun.h"
#include "settings/settingkeys.h"
#include "settings/settingstable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace dvw;
using dvw::test::TempSettingsDir;

namespace {

using test::CliRun;

CliRun run(const std::vector<std::string> &args, const std::string &input = {})
{
    return test::runCliWith(args, input);
}

std::size_t countOf(const std::string &text, const std::string &part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

} // namespace

// Each option that overrides a setting takes exactly the values the setting means
// something for: both ends, and nothing beyond them.
TEST(CliOptionRanges, SettingOptionsTakeTheirSettingsRange)
{
    const struct
    {
        const char *option;
        const char *setting;
        std::optional<int> CliOptions::*slot;
    } options[] = {
        {"--days", settingkeys::DAYS, &CliOptions::days},
        {"--nag", settingkeys::NAG, &CliOptions::nag},
        {"--unimportant", settingkeys::UNIMPORTANT, &CliOptions::unimportant},
        {"--century-break", settingkeys::CENTURYBREAK, &CliOptions::centuryBreak},
    };
    for (const auto &o : options) {
        SCOPED_TRACE(o.option);
        const IntRange range = findSetting(o.setting)->useRange.value();
        for (const int inside : {range.low, range.high}) {
            const CliParse parse = parseCliOptions({"agenda", o.option, std::to_string(inside)});
            EXPECT_EQ(parse.error, "");
            EXPECT_EQ(parse.options.*o.slot, inside);
        }
        for (const int outside : {range.low - 1, range.high + 1})
            EXPECT_NE(parseCliOptions({"agenda", o.option, std::to_string(outside)}).error, "");
    }
}

TEST(CliArguments, DoubleDashEndsTheOptions)
{
    const CliParse parse = parseCliOptions({"add", "--force", "--", "F.APT", "--european", "-h"});
    EXPECT_EQ(parse.error, "");
    EXPECT_TRUE(parse.options.force);
    EXPECT_EQ(parse.options.european, std::nullopt);
    EXPECT_FALSE(parse.options.help);
    EXPECT_EQ(parse.options.positional, (std::vector<std::string> {"F.APT", "--european", "-h"}));
    // Only the first "--" ends them; a later one is an argument.
    EXPECT_EQ(parseCliOptions({"add", "--", "F", "--"}).options.positional,
              (std::vector<std::string> {"F", "--"}));
}

TEST(CliArguments, AddSavesATextThatStartsWithADash)
{
    const TempSettingsDir settings;
    const std::string file = settings.file("N.APT");
    const CliRun r = run({"add", file, "--", "-- minus sign first"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("-- minus sign first"), std::string::npos);
}

TEST(CliUsage, UsageIsPrintedOnceForEveryBadArgument)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"add"},
        {"add", "F.APT", ""},
        {"read", "FILE"},
        {"agenda", "--days", "0"},
        {"index"},
        {"month", "F.APT"},
        {"month", "F.APT", "--month", "2026-13"},
        {"month", "F.APT", "--month", "2026-00"},
        {"month", "F.APT", "--month", "2026-1"},
        {"month", "F.APT", "--month", "0000-01"},
        {"month", "F.APT", "--month", "2026-01-05"},
        {"agenda", "F.APT", "--month", "2026-01"},
        {"agenda", "F.APT", "--text"},
    };
    for (const auto &args : bad) {
        const CliRun r = run(args);
        SCOPED_TRACE(args.empty() ? "(none)" : args[0]);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(countOf(r.err, "usage:"), 1u) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

TEST(CliArguments, MonthTakesAYearAndMonth)
{
    const CliParse parse = parseCliOptions({"month", "F", "--text", "--month=0001-12"});
    EXPECT_EQ(parse.error, "");
    ASSERT_TRUE(parse.options.month);
    EXPECT_EQ(*parse.options.month, (std::pair {1, 12}));
    EXPECT_TRUE(parse.options.text);
}

TEST(CliUsage, HelpPrintsTheUsageOnStandardOutput)
{
    const std::vector<std::vector<std::string>> asks
        = {{"--help"}, {"-h"}, {"help"}, {"help", "agenda"}, {"agenda", "--help"}, {"add", "-h"}};
    for (const auto &args : asks) {
        const CliRun r = run(args);
        SCOPED_TRACE(args.back());
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(countOf(r.out, "usage:"), 1u);
        EXPECT_EQ(r.err, "");
    }
}

TEST(CliUsage, VersionIsPrinted)
{
    const CliRun r = run({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("dayvane-cli ", 0), 0u);
    EXPECT_NE(r.out.find_first_of("0123456789"), std::string::npos);
    EXPECT_EQ(r.err, "");
}

TEST(CliSettingsFile, IgnoredSettingsFileIsReported)
{
    const TempSettingsDir dir;
    dir.write("DAYS=30\n" + std::string(2 * 1024 * 1024, '\n'));
    const CliRun r = run({"agenda", dir.file("MISSING.APT"), "--today", "2026-12-07"});
    EXPECT_NE(r.err.find("ignoring the settings file " + dir.file()), std::string::npos) << r.err;
}

TEST(CliWhen, ArgumentsAreCheckedAndTheCountHolds)
{
    const TempSettingsDir settings;
    struct Case
    {
        std::vector<std::string> args;
        int status;
        std::size_t records;
    };
    const Case cases[] = {
        {{"when", "--from", "2026-12-07", "--", "!1D x"}, 0, 10},
        {{"when", "--from", "2026-12-07", "--count", "3", "--", "-3 !1D x"}, 0, 0},
        {{"when", "--from=2026-12-07", "--count=3", "!1D x"}, 0, 3},
        {{"when", "--from", "2026-12-07", "--count", "0", "!1D x"}, 0, 0},
        {{"when", "--from", "2026-02-30", "!1D x"}, 2, 0},
        {{"when", "--count", "-1", "!1D x"}, 2, 0},
        {{"when", "--count", "many", "!1D x"}, 2, 0},
        {{"when"}, 2, 0},
        {{"when", "a", "b"}, 2, 0},
        {{"when", "--today", "2026-12-07", "x"}, 2, 0},
    };
    for (const Case &c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.back() << r.err;
        EXPECT_EQ(countOf(r.out, "\n"), c.records) << c.args.back();
    }
}
