// sort, mark and archive over real files: exit statuses, and that no line is ever lost
// between the file and its archive.
#include "../store/tempdir.h"
#include "cli/clioptions.h"
#include "cli/filecommands.h"
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

const std::string Before = "3/5/2020 Dentist\r\n!mon Gym\r\n";

} // namespace

TEST(CliFileCommands, BadArgumentsAreExitTwoAndChangeNothing)
{
    const std::vector<std::vector<std::string>> cases = {
        {"sort"},
        {"sort", "--by", "time"},
        {"sort", "--outdated"},
        {"mark"},
        {"mark", "--outdated", "--matching", "x"},
        {"mark", "--keep", "--outdated"},
        {"mark", "--outdated", "--today", "2024-02-30"},
        {"archive", "--outdated", "--stdout"},
        {"archive", "--by", "date"},
    };
    for (const std::vector<std::string> &args : cases) {
        TempDir dir;
        const std::string path = dir.file("NOTES.APT");
        writeBytes(path, Before);
        std::vector<std::string> line = {args[0], path};
        line.insert(line.end(), args.begin() + 1, args.end());
        const test::CliRun r = runCliWith(line);
        EXPECT_EQ(r.status, 2) << line.size() << " " << r.err;
        EXPECT_EQ(readBytes(path), Before);
        EXPECT_EQ(dir.names(), std::set<std::string> {"NOTES.APT"});
    }
}

TEST(CliFileCommands, ArchiveThatCannotWriteItsTargetKeepsTheLines)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    writeBytes(path, Before);
    ::mkdir(dir.file("ARCHIVE.APT").c_str(), 0700);
    const test::CliRun r = runCliWith({"archive", path, "--outdated", "--today", "2024-06-15"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(dir.file("ARCHIVE.APT") + ": is a directory"), std::string::npos) << r.err;
    EXPECT_EQ(readBytes(path), Before);
    EXPECT_EQ(r.out, "");
}

// Another program changes the file after the lines were archived: the file is not
// overwritten (exit 3), so the archived lines are in both places and none is lost.
TEST(CliFileCommands, ArchiveOfAFileChangedMeanwhileLosesNoLine)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    writeBytes(path, Before);
    const std::string theirs = Before + "their line\r\n";
    auto parse = parseCliOptions({"archive", path, "--outdated", "--today", "2024-06-15"});
    ASSERT_TRUE(parse.error.empty()) << parse.error;
    std::ostringstream out, err;
    const int status = runArchive(parse.options, out, err, [&] { writeBytes(path, theirs); });
    EXPECT_EQ(status, 3) << err.str();
    EXPECT_EQ(readBytes(path), theirs);
    EXPECT_EQ(readBytes(dir.file("ARCHIVE.APT")), "3/5/2020 Dentist\r\n");
    EXPECT_NE(out.str().find("\"archived\":1"), std::string::npos);
}

TEST(CliFileCommands, SortSavesWithABackup)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    writeBytes(path, "3/5/2020 b\r\n* note\r\n");
    const test::CliRun r = runCliWith({"sort", path, "--by", "date"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readBytes(path), "* note\r\n3/5/2020 b\r\n");
    EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), "3/5/2020 b\r\n* note\r\n");
}
