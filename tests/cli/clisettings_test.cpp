#include "../settings/tempsettingsdir.h"
#include "cli/clioptions.h"
#include "cli/clisettings.h"
#include "cli/commands.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>

using namespace dvw;
using dvw::test::TempSettingsDir;

namespace {

CliSettings settingsFor(const std::vector<std::string> &args)
{
    const CliParse parse = parseCliOptions(args);
    EXPECT_EQ(parse.error, "");
    return loadCliSettings(parse.options);
}

std::string readOutput(const std::vector<std::string> &args, const std::string &input)
{
    std::istringstream in(input);
    std::ostringstream out, err;
    EXPECT_EQ(runCli(args, in, out, err), 0) << err.str();
    return out.str();
}

} // namespace

TEST(CliSettings, StoredSettingsApplyAndOptionsOverrideThem)
{
    const TempSettingsDir dir;
    dir.write("EUROPEAN=1\nMILITARY=1\nCENTURYBREAK=50\nDAYS=30\nNAG=3\nUNIMPORTANT=4\n"
              "ALLCATEGORIES=1\nAPPTFILE=/home/ann/work.apt\n");
    const CliSettings stored = settingsFor({"agenda"});
    EXPECT_TRUE(stored.dateText.european);
    EXPECT_TRUE(stored.dateText.military);
    EXPECT_EQ(stored.dateText.centuryBreak, 50);
    EXPECT_EQ(stored.days, 30);
    EXPECT_EQ(stored.nag, 3);
    EXPECT_EQ(stored.unimportant, 4);
    EXPECT_TRUE(stored.allCategories);
    EXPECT_EQ(stored.apptFile, "/home/ann/work.apt");

    const CliSettings overridden = settingsFor({"agenda", "--no-european", "--century-break", "20",
                                                "--days", "7", "--default-categories"});
    EXPECT_FALSE(overridden.dateText.european);
    EXPECT_TRUE(overridden.dateText.military); // not overridden
    EXPECT_EQ(overridden.dateText.centuryBreak, 20);
    EXPECT_EQ(overridden.days, 7);
    EXPECT_FALSE(overridden.allCategories);
}

TEST(CliSettings, AbsurdStoredValuesAreLimited)
{
    const TempSettingsDir dir;
    dir.write("DAYS=2147483647\nNAG=-5\nUNIMPORTANT=-1\nCENTURYBREAK=5000\n");
    const CliSettings s = settingsFor({"agenda"});
    EXPECT_EQ(s.days, 365);
    EXPECT_EQ(s.nag, 0);
    EXPECT_EQ(s.unimportant, 6);
    EXPECT_EQ(s.dateText.centuryBreak, 100); // 1999 stays 1999
}

TEST(CliSettings, ProfileOptionReadsThatProfileOnly)
{
    const TempSettingsDir dir;
    dir.write("EUROPEAN=1\n", "DVW3.conf");
    EXPECT_TRUE(settingsFor({"read", "--profile", "3"}).dateText.european);
    EXPECT_FALSE(settingsFor({"read"}).dateText.european);
    EXPECT_FALSE(settingsFor({"read", "--profile", "4"}).dateText.european);
}

TEST(CliSettings, ReadCommandUsesTheStoredDateOrder)
{
    const TempSettingsDir dir;
    EXPECT_NE(readOutput({"read"}, "13/5 x").find("\"kind\":13"), std::string::npos);
    dir.write("EUROPEAN=1\n");
    EXPECT_NE(readOutput({"read"}, "13/5 x").find("\"kind\":6"), std::string::npos);
    EXPECT_NE(readOutput({"read", "--no-european"}, "13/5 x").find("\"kind\":13"),
              std::string::npos);
}

// The agenda prints most entries as one line straight from its text block; a continued
// entry and a birthday take the long way, and MULTILINE decides how much of them shows.
TEST(CliSettings, MultilineShowsEveryLineOfAContinuedEntry)
{
    const TempSettingsDir dir;
    const std::string file = dir.file("NOTES.APT");
    std::ofstream(file, std::ios::binary) << "3/5/2026 Trip\r\n&  to the coast\r\n"
                                             "\\B3/5/1990 Ann (age)\r\n&  bring cake\r\n"
                                             ">3/5/2026 9:00 Call\r\n";
    const std::vector<std::string> args {"agenda", file, "--today", "2026-03-01", "--days", "7"};
    const std::string day = "Thursday March 5, 2026\n";

    dir.write("MULTILINE=0\n");
    EXPECT_EQ(readOutput(args, {}), day + "x 9:00 Call\n  Ann (36)\n  Trip\n\n");
    dir.write("MULTILINE=1\n");
    EXPECT_EQ(readOutput(args, {}),
              day + "x 9:00 Call\n  Ann (36)\n    bring cake\n  Trip\n    to the coast\n\n");
}
