#include "cli/clioptions.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "clirun.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace dvw;

namespace {

using test::CliRun;

CliRun run(const std::vector<std::string> &args, const std::string &input = {})
{
    return test::runCliWith(args, input);
}

std::vector<std::string> outputLines(const std::string &text)
{
    std::istringstream in(text);
    return readInputLines(in);
}

} // namespace

TEST(CliRead, OneJsonObjectPerInputLineEmptyLinesIncluded)
{
    const CliRun r = run({"read"}, "3/5/99 9:00 am Dentist\r\n\n&not joined\n* note");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = outputLines(r.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[0].find("\"line\":{\"textStart\":7,\"time\":540,\"alarmAdvance\":-1"),
              std::string::npos);
    EXPECT_NE(lines[0].find("\"sortKey\":767717"), std::string::npos);
    EXPECT_NE(lines[0].find("\"mainDate\":{\"jd\":2451243,\"flags\":0}"), std::string::npos);
    EXPECT_NE(lines[1].find("\"kind\":13"), std::string::npos);
    EXPECT_NE(lines[3].find("\"kind\":1"), std::string::npos);
}

TEST(CliRead, DateOptionsSteerTheReader)
{
    const CliRun us = run({"read"}, "13/5 x");
    EXPECT_NE(us.out.find("\"kind\":13"), std::string::npos);
    const CliRun eu = run({"read", "--european"}, "13/5 x");
    EXPECT_NE(eu.out.find("\"kind\":6"), std::string::npos);
    const CliRun mil = run({"read", "--military"}, "3/5/99 1430 x");
    EXPECT_NE(mil.out.find("\"time\":870"), std::string::npos);
    const CliRun brk = run({"read", "--century-break", "50"}, "3/5/49 x");
    const std::string march2049 = "\"jd\":" + std::to_string(TDate(5, 3, 2049).dayNumber);
    EXPECT_NE(brk.out.find(march2049), std::string::npos);
}

TEST(CliRead, DoneDatesAreListed)
{
    const CliRun r = run({"read"}, "\\D3/12/99 \\D3/5/99 !1W x");
    EXPECT_NE(r.out.find("\"doneDates\":[{\"jd\":2451243,\"flags\":0},{\"jd\":2451250,"
                         "\"flags\":0}]"),
              std::string::npos);
}

TEST(CliWrite, OneWrittenLinePerInputLine)
{
    const CliRun r
        = run({"write"}, "!mon, wed Gym\r\n\n\\CWORK=5 Work\n  * x\n3/5/1999 +2 -3 Trip");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "!MON,WED Gym\n\n\\CWORK=5 Work\n * x\n3/5/99 -3 +2 Trip\n");
}

TEST(CliWrite, DateOptionsSteerTheWriter)
{
    EXPECT_EQ(run({"write", "--european"}, "5/3/1999 x\n").out, "5/3/99 x\n");
    EXPECT_EQ(run({"write", "--century-break", "0"}, "3/5/2005 x\n").out, "3/5/2005 x\n");
    EXPECT_EQ(run({"write", "--century-break", "0"}, "3/5/05 x\n").out, "3/5/05 x\n"); // 1905
    EXPECT_EQ(run({"write", "--military"}, "3/5 +0 14:30 x\n").out, "3/5 -0 +0 14:30 x\n");
    EXPECT_EQ(run({"write", "FILE"}).status, 2);
    EXPECT_EQ(run({"write", "--today", "1999-03-05"}).status, 2);
}

TEST(CliArguments, BadArgumentsAreUsageErrors)
{
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({"frobnicate"}).status, 2);
    EXPECT_EQ(run({"read", "--bogus"}).status, 2);
    EXPECT_EQ(run({"read", "--century-break"}).status, 2);
    EXPECT_EQ(run({"read", "--century-break", "x"}).status, 2);
    EXPECT_EQ(run({"read", "--days", "5"}).status, 2); // a window option, not for read
    const CliRun r = run({"read", "--bogus"});
    EXPECT_NE(r.err.find("unknown option '--bogus'"), std::string::npos);
    EXPECT_NE(r.err.find("usage:"), std::string::npos);
}

TEST(CliArguments, IsoDates)
{
    EXPECT_EQ(parseIsoDate("1999-03-05"), TDate(5, 3, 1999));
    EXPECT_FALSE(parseIsoDate("1999-02-30"));
    EXPECT_FALSE(parseIsoDate("1999-3-5"));
    EXPECT_FALSE(parseIsoDate("yesterday"));
}

TEST(Json, StringsAreEscapedAndInvalidUtf8Survives)
{
    EXPECT_EQ(jsonString("a\"b\\c\r\n"), "\"a\\\"b\\\\c\\r\\n\"");
    EXPECT_EQ(jsonString("caf\xc3\xa9"), "\"caf\xc3\xa9\"");
    EXPECT_EQ(jsonString("caf\xe9"), "\"caf\\u00e9\"");
    EXPECT_EQ(jsonString(std::string("a\0b", 3)), "\"a\\u0000b\"");
}

TEST(CliAgenda, UnreadableFileIsReportedWithStatusOne)
{
    const CliRun missing = run({"agenda", "/nonexistent/NOTES.APT", "--today", "2026-12-07"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("/nonexistent/NOTES.APT: no such appointment file"),
              std::string::npos);
    const CliRun directory = run({"instances", "/tmp", "--today", "2026-12-07"});
    EXPECT_EQ(directory.status, 1);
    EXPECT_NE(directory.err.find("directory"), std::string::npos);
}

TEST(CliAgenda, FileArgumentsAreCheckedBeforeReading)
{
    EXPECT_EQ(run({"index"}).status, 2);
    EXPECT_EQ(run({"agenda", "a.apt", "b.apt"}).status, 2);
    EXPECT_EQ(run({"agenda", "a.apt", "--days", "366"}).status, 2);
}

TEST(CliRead, CategoriesAreScannedBeforeAnyLineIsRead)
{
    // The definition comes after the lines it colours: the scan runs over all lines first.
    const CliRun r = run({"read"}, "*WORK call\n\\*WORK 3/5 x\n\\CWORK,5=Work\n");
    const auto lines = outputLines(r.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("\"shade\":5"), std::string::npos);
    EXPECT_NE(lines[1].find("\"shade\":5"), std::string::npos);
    EXPECT_NE(lines[2].find("\"kind\":0"), std::string::npos);
}
