// done, delete and edit over a real file: what is saved, and the exit statuses.
#include "../store/tempdir.h"
#include "cli/clioptions.h"
#include "cli/commands.h"
#include "cli/entrycommands.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace dvw;

namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

struct ChangeCase
{
    const char *name;
    std::vector<std::string> args; // FILE goes in front of them
    int status;
    std::string after; // the file afterwards
};

TEST(CliEntryCommands, SaveTheChangeOrReportWhyNot)
{
    const std::string before = "* note\r\n!THU Gym\r\n";
    const ChangeCase cases[] = {
        {"done", {"done", "1", "2000-02-03", "--days", "7"}, 0, "* note\r\n\\D2/3/00 !THU Gym\r\n"},
        {"note done",
         {"done", "0", "--notes", "--today", "2000-02-03"},
         0,
         ">* note\r\n!THU Gym\r\n"},
        {"no instance that day", {"done", "1", "2000-02-04"}, 4, before},
        {"edit", {"edit", "1", "!FRI Swim"}, 0, "* note\r\n!FRI Swim\r\n"},
        {"edit keeps lines apart", {"edit", "0", "~x\nmore"}, 0, " ~x\r\n&more\r\n!THU Gym\r\n"},
        {"edit to empty deletes", {"edit", "0", ""}, 0, "!THU Gym\r\n"},
        {"edit to the same text", {"edit", "0", "* note"}, 4, before},
        {"edit past the end", {"edit", "2", "x"}, 4, before},
        {"negative line", {"edit", "-1", "x"}, 2, before},
        {"delete needs a scope", {"delete", "1", "2000-02-03"}, 2, before},
        {"stdout leaves the file", {"done", "1", "2000-02-03", "--stdout"}, 0, before},
    };
    for (const ChangeCase &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.file("NOTES.APT");
        writeBytes(path, before);
        std::vector<std::string> args = c.args;
        args.insert(args.begin() + 1, path);
        std::istringstream in;
        std::ostringstream out, err;
        EXPECT_EQ(runCli(args, in, out, err), c.status) << err.str();
        EXPECT_EQ(readBytes(path), c.after);
    }
}

TEST(CliEntryCommands, AFileChangedOnDiskIsNotOverwritten)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    writeBytes(path, "!THU Gym\r\n");
    const auto otherProgram = [&] { writeBytes(path, "theirs\r\n"); };
    for (bool force : {false, true}) {
        std::vector<std::string> args = {"done", path, "0", "2000-02-03"};
        if (force)
            args.push_back("--force");
        const CliParse parse = parseCliOptions(args);
        ASSERT_EQ(parse.error, "");
        std::ostringstream out, err;
        writeBytes(path, "!THU Gym\r\n");
        EXPECT_EQ(runDone(parse.options, out, err, otherProgram), force ? 0 : 3);
        EXPECT_EQ(readBytes(path), force ? "\\D2/3/00 !THU Gym\r\n" : "theirs\r\n");
    }
}

} // namespace
