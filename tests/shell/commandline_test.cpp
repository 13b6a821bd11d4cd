#include "shell/commandline.h"

#include <gtest/gtest.h>

using dvw::ParseCommandLine;
using Args = std::vector<std::string>;

TEST(CommandLine, NoArgumentsLeaveEverythingToTheSettings)
{
    const auto line = ParseCommandLine({"dayvane"});
    EXPECT_FALSE(line.hasProfile);
    EXPECT_FALSE(line.minimised);
    EXPECT_TRUE(line.file.empty());
}

TEST(CommandLine, LoneFileNameIsOpened)
{
    EXPECT_EQ(ParseCommandLine({"dayvane", "notes2.apt"}).file, "notes2.apt");
}

TEST(CommandLine, ProfileThenFileOpensTheFileWithTheProfile)
{
    const auto line = ParseCommandLine({"dayvane", "-R", "2", "work.apt"});
    EXPECT_TRUE(line.hasProfile);
    EXPECT_EQ(line.profile, 2u);
    EXPECT_EQ(line.file, "work.apt");
}

TEST(CommandLine, ProfileAloneNamesNoFile)
{
    const auto line = ParseCommandLine({"dayvane", "-R", "5"});
    EXPECT_TRUE(line.hasProfile);
    EXPECT_EQ(line.profile, 5u);
    EXPECT_TRUE(line.file.empty());
}

TEST(CommandLine, FileRightAfterASwitchIsNotTaken)
{
    const auto line = ParseCommandLine({"dayvane", "-M", "work.apt"});
    EXPECT_TRUE(line.minimised);
    EXPECT_TRUE(line.file.empty());
}

TEST(CommandLine, SwitchesAreKnownByTheirSecondLetterInEitherCase)
{
    const auto line = ParseCommandLine({"dayvane", "-min", "-rx", "7", "a.apt"});
    EXPECT_TRUE(line.minimised);
    EXPECT_TRUE(line.hasProfile);
    EXPECT_EQ(line.profile, 7u);
    EXPECT_EQ(line.file, "a.apt");
    EXPECT_FALSE(ParseCommandLine({"dayvane", "-x", "1", "b.apt"}).hasProfile);
    EXPECT_EQ(ParseCommandLine({"dayvane", "-x", "1", "b.apt"}).file, "b.apt");
}

TEST(CommandLine, ProfileNumberReadsLeadingDigitsOnly)
{
    EXPECT_EQ(ParseCommandLine({"dayvane", "-R", "12abc"}).profile, 12u);
    EXPECT_EQ(ParseCommandLine({"dayvane", "-R", "abc"}).profile, 0u);
    EXPECT_TRUE(ParseCommandLine({"dayvane", "-R", "abc"}).hasProfile);
}

TEST(CommandLine, ProfileSwitchAtTheEndAppendsNoNumber)
{
    const auto line = ParseCommandLine({"dayvane", "work.apt", "-R"});
    EXPECT_FALSE(line.hasProfile);
    EXPECT_TRUE(line.file.empty());
}

TEST(CommandLine, LongFileNameIsKeptWhole)
{
    const std::string name = std::string(300, 'n') + ".apt";
    EXPECT_EQ(ParseCommandLine({"dayvane", name}).file, name);
}

TEST(CommandLine, EmptyOrDashOnlyArgumentsNameNoFile)
{
    EXPECT_TRUE(ParseCommandLine({"dayvane", ""}).file.empty());
    EXPECT_TRUE(ParseCommandLine({"dayvane", "-"}).file.empty());
    EXPECT_TRUE(ParseCommandLine({""}).file.empty());
}
