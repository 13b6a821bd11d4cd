#include "cli/alarmcommand.h"
#include "cli/commands.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

using namespace dvw;

namespace {

int runStatus(const std::vector<std::string> &args, std::string *out = nullptr)
{
    std::istringstream in;
    std::ostringstream o, e;
    const int status = runCli(args, in, o, e);
    if (out)
        *out = o.str();
    return status;
}

TEST(CliAlarms, LocalMomentsAreWholeMinutesOfRealDays)
{
    struct Case
    {
        const char *text;
        bool ok;
        int minute;
    };
    const Case cases[] = {
        {"2026-12-07T09:05", true, 545},  {"2026-12-07T00:00", true, 0},
        {"2026-12-07T23:59", true, 1439}, {"2026-12-07T24:00", false, 0},
        {"2026-12-07T09:60", false, 0},   {"2026-02-30T09:00", false, 0},
        {"2026-12-07 09:00", false, 0},   {"2026-12-07T9:00", false, 0},
        {"2026-12-07T09:0x", false, 0},   {"2026-12-07", false, 0},
    };
    for (const Case &c : cases) {
        const auto m = parseLocalMoment(c.text);
        ASSERT_EQ(m.has_value(), c.ok) << c.text;
        if (m) {
            EXPECT_EQ(m->minute, c.minute) << c.text;
        }
    }
}

TEST(CliAlarms, BadArgumentsAndUnreadableFiles)
{
    const std::string path = ::testing::TempDir() + "alarms-args.APT";
    std::ofstream(path) << "12/7/2026 9:00 Meet\r\n";
    struct Case
    {
        const char *name;
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {"no file", {"alarms", "--at", "2026-12-07T08:55"}, 2},
        {"no --at", {"alarms", path}, 2},
        {"bad --at", {"alarms", path, "--at", "2026-12-07"}, 2},
        {"bad --since", {"alarms", path, "--at", "2026-12-07T08:55", "--since", "x"}, 2},
        {"advance above a day",
         {"alarms", path, "--at", "2026-12-07T08:55", "--advance", "1441"},
         2},
        {"window option", {"alarms", path, "--at", "2026-12-07T08:55", "--days", "3"}, 2},
        {"since over a year back",
         {"alarms", path, "--at", "2026-12-07T08:55", "--since", "2025-12-01T00:00"},
         2},
        {"missing second file",
         {"alarms", path, "/nonexistent/B.APT", "--at", "2026-12-07T08:55"},
         1},
        {"good", {"alarms", path, "--at", "2026-12-07T08:55"}, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(runStatus(c.args), c.status) << c.name;
    std::remove(path.c_str());
}

TEST(CliAlarms, RepeatedFileCountsAsAnotherDocument)
{
    const std::string path = ::testing::TempDir() + "alarms-twice.APT";
    std::ofstream(path) << "12/7/2026 9:00 Meet\r\n";
    std::string out;
    ASSERT_EQ(
        runStatus({"alarms", path, path, "--at", "2026-12-07T08:50", "--advance", "10"}, &out), 0);
    EXPECT_NE(out.find("{\"file\":0,"), std::string::npos);
    EXPECT_NE(out.find("\n{\"file\":1,"), std::string::npos);
    EXPECT_EQ(runStatus({"alarms", path, "--at", "2026-12-07T08:51", "--advance", "10"}, &out), 0);
    EXPECT_EQ(out, "") << "only the minute of --at without --since";
    std::remove(path.c_str());
}

} // namespace
