// export and import over real files: what is written where, the exit statuses, and that
// a failure leaves every file as it was.
#include "../store/tempdir.h"
#include "cli/clioptions.h"
#include "cli/icalcommands.h"
#include "clirun.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <sys/stat.h>

using namespace dvw;
using test::readBytes;
using test::runCliWith;
using test::TempDir;
using test::writeBytes;

namespace {

const std::string Notes = "\\C WORK=Work\r\n3/5/2026 9:00 Dentist\r\n?/15 Rent\r\n*WORK Call\r\n";
const std::string Window[] = {"--today", "2026-03-01", "--days", "60"};

std::string calendar(const std::string &items)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n" + items + "END:VCALENDAR\r\n";
}

const std::string Trip = calendar("BEGIN:VEVENT\r\nUID:t\r\nDTSTART;VALUE=DATE:20260310\r\n"
                                  "DTEND;VALUE=DATE:20260312\r\nSUMMARY:Trip\r\nEND:VEVENT\r\n"
                                  "BEGIN:VTODO\r\nUID:n\r\nSUMMARY:Pack\r\nCATEGORIES:Work\r\n"
                                  "END:VTODO\r\n");

std::vector<std::string> exportArgs(const std::string &file, std::vector<std::string> more = {})
{
    std::vector<std::string> args = {"export", file};
    args.insert(args.end(), std::begin(Window), std::end(Window));
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

} // namespace

TEST(CliIcal, ExportPrintsTheCalendarOrWritesTheSameBytesToItsFile)
{
    TempDir dir;
    const std::string notes = dir.file("NOTES.APT");
    writeBytes(notes, Notes);
    const test::CliRun printed = runCliWith(exportArgs(notes));
    ASSERT_EQ(printed.status, 0) << printed.err;
    EXPECT_NE(printed.out.find("X-DAYVANE-LINE:?/15 Rent\r\n"), std::string::npos);
    const test::CliRun written = runCliWith(exportArgs(notes, {"--ics", dir.file("out.ics")}));
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(readBytes(dir.file("out.ics")), printed.out);
    EXPECT_EQ(readBytes(notes), Notes);
    EXPECT_EQ(dir.names(), (std::set<std::string> {"NOTES.APT", "out.ics"}));
}

TEST(CliIcal, ExportNeverWritesOverTheFileOrItsBackup)
{
    for (const char *target : {"NOTES.APT", "NOTES.BAK", "link.ics"}) {
        SCOPED_TRACE(target);
        TempDir dir;
        const std::string notes = dir.file("NOTES.APT");
        writeBytes(notes, Notes);
        writeBytes(dir.file("NOTES.BAK"), "old\r\n");
        ::symlink(notes.c_str(), dir.file("link.ics").c_str());
        const test::CliRun r = runCliWith(exportArgs(notes, {"--ics", dir.file(target)}));
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("is an open appointment file or its backup"), std::string::npos)
            << r.err;
        EXPECT_EQ(readBytes(notes), Notes);
        EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), "old\r\n");
    }
}

TEST(CliIcal, ExportThatCannotWriteLeavesNothingBehind)
{
    TempDir dir;
    const std::string notes = dir.file("NOTES.APT");
    writeBytes(notes, Notes);
    ::mkdir(dir.file("out.ics").c_str(), 0700);
    const test::CliRun r = runCliWith(exportArgs(notes, {"--ics", dir.file("out.ics")}));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not written"), std::string::npos) << r.err;
    EXPECT_EQ(dir.names(), (std::set<std::string> {"NOTES.APT", "out.ics"}));
    const test::CliRun missing = runCliWith(exportArgs(dir.file("NONE.APT")));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no such appointment file"), std::string::npos);
}

TEST(CliIcal, ImportAppendsTheLinesAndSavesAsAddDoes)
{
    TempDir dir;
    const std::string notes = dir.file("NOTES.APT");
    writeBytes(notes, Notes);
    writeBytes(dir.file("trip.ics"), Trip);
    const test::CliRun r
        = runCliWith({"import", dir.file("trip.ics"), "--into", notes, "--today", "2026-03-01"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"imported\":2,\"expanded\":0,\"skipped\":0}\n");
    EXPECT_EQ(readBytes(notes), Notes + "3/10/2026 +1 Trip\r\n*WORK Pack\r\n");
    EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), Notes);
}

TEST(CliIcal, ADryRunPrintsTheLinesInTheFilesFormAndSavesNothing)
{
    TempDir dir;
    const std::string notes = dir.file("NOTES.APT");
    writeBytes(notes, Notes);
    writeBytes(dir.file("two.ics"),
               calendar("BEGIN:VEVENT\r\nUID:a\r\nDTSTART;VALUE=DATE:20260310\r\n"
                        "SUMMARY:Two\\nlines\r\nEND:VEVENT\r\n"
                        "BEGIN:VJOURNAL\r\nUID:b\r\nX-DAYVANE-LINE:&joined\r\nEND:VJOURNAL\r\n"));
    const test::CliRun r = runCliWith(
        {"import", dir.file("two.ics"), "--into", notes, "--dry-run", "--today", "2026-03-01"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, " &joined\n3/10/2026 Two\n&lines\n");
    EXPECT_NE(r.err.find("\"imported\":2"), std::string::npos);
    EXPECT_EQ(readBytes(notes), Notes);
    EXPECT_EQ(dir.names(), (std::set<std::string> {"NOTES.APT", "two.ics"}));
}

TEST(CliIcal, ImportFailuresAppendNothing)
{
    struct Case
    {
        const char *name;
        std::string calendarText; // empty: no calendar file
        bool targetExists;
        int status;
        const char *message;
    };
    const Case cases[] = {
        {"a broken calendar", calendar("BEGIN:VEVENT\r\nDTSTART:soon\r\nEND:VEVENT\r\n"), true, 2,
         "cal.ics: line 5: cannot read DTSTART"},
        {"no calendar file", "", true, 2, "no such calendar file"},
        {"no appointment file", Trip, false, 1, "no such appointment file"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string notes = dir.file("NOTES.APT");
        if (c.targetExists)
            writeBytes(notes, Notes);
        if (!c.calendarText.empty())
            writeBytes(dir.file("cal.ics"), c.calendarText);
        const test::CliRun r = runCliWith({"import", dir.file("cal.ics"), "--into", notes});
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        if (c.targetExists) {
            EXPECT_EQ(readBytes(notes), Notes);
        }
        EXPECT_EQ(dir.names().count("NOTES.BAK"), 0u);
    }
}

TEST(CliIcal, ImportIntoAFileChangedMeanwhileSavesNothing)
{
    TempDir dir;
    const std::string notes = dir.file("NOTES.APT");
    writeBytes(notes, Notes);
    writeBytes(dir.file("trip.ics"), Trip);
    const std::string theirs = Notes + "their line\r\n";
    auto parse = parseCliOptions({"import", dir.file("trip.ics"), "--into", notes});
    ASSERT_TRUE(parse.error.empty()) << parse.error;
    std::ostringstream out, err;
    EXPECT_EQ(runImport(parse.options, out, err, [&] { writeBytes(notes, theirs); }), 3);
    EXPECT_EQ(readBytes(notes), theirs);
    EXPECT_EQ(out.str(), "");
}

TEST(CliIcal, BadArgumentsAreExitTwo)
{
    const std::vector<std::vector<std::string>> cases = {
        {"export"},
        {"export", "a.apt", "b.apt"},
        {"export", "a.apt", "--ics"},
        {"export", "a.apt", "--dry-run"},
        {"export", "a.apt", "--days", "400"},
        {"import"},
        {"import", "a.ics", "b.ics"},
        {"import", "a.ics", "--expand"},
        {"import", "a.ics", "--today", "2026-02-30"},
        {"import", "a.ics", "--start", "2026-03-01"},
        {"import", "a.ics", "--ics", "x"},
    };
    for (const std::vector<std::string> &args : cases) {
        const test::CliRun r = runCliWith(args);
        EXPECT_EQ(r.status, 2) << args.size() << " " << r.err;
        EXPECT_EQ(r.out, "");
    }
}
