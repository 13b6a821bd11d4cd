#include "../store/tempdir.h"
#include "cli/commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace dvw;

namespace {

using test::inChild;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

struct AddRun
{
    int status = 0;
    std::string err;
};

AddRun add(const std::vector<std::string> &args)
{
    std::istringstream in;
    std::ostringstream out, err;
    std::vector<std::string> all = {"add"};
    all.insert(all.end(), args.begin(), args.end());
    AddRun r;
    r.status = runCli(all, in, out, err);
    r.err = err.str();
    return r;
}

int lineCount(const std::string &text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace

TEST(CliAdd, SavesTheLineBehindTheOthers)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    writeBytes(path, "3/5/99 first\r\n");
    const AddRun r = add({path, "3/6/99 second\nmore"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readBytes(path), "3/5/99 first\r\n3/6/99 second\r\n&more\r\n");
    EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), "3/5/99 first\r\n");
}

TEST(CliAdd, MissingFileStartsWithTheSeedLines)
{
    TempDir dir;
    const std::string path = dir.file("NEW.APT");
    ASSERT_EQ(add({path, "~not deleted"}).status, 0);
    const std::string saved = readBytes(path);
    EXPECT_EQ(lineCount(saved), 3);
    EXPECT_NE(saved.find(" New appointments file " + path + " started.\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\r\n ~not deleted\r\n"), std::string::npos);
}

TEST(CliAdd, BadArgumentsAreExitTwoAndTouchNothing)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    for (const auto &args : std::vector<std::vector<std::string>> {
             {}, {path}, {path, "a", "b"}, {path, ""}, {path, "a", "--days", "3"}}) {
        const AddRun r = add(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("usage"), std::string::npos);
    }
    EXPECT_NE(access(path.c_str(), F_OK), 0);
}

TEST(CliAdd, UnsavableFileIsExitOneWithOneLineNamingIt)
{
    TempDir dir;
    const std::string directory = dir.file("ADIR.APT");
    ASSERT_EQ(mkdir(directory.c_str(), 0755), 0);
    const std::string orphan = dir.file("missing/NOTES.APT");
    for (const std::string &path : {directory, orphan}) {
        const AddRun r = add({path, "3/5/99 x"});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(lineCount(r.err), 1) << r.err;
        EXPECT_NE(r.err.find(path), std::string::npos) << r.err;
    }
    struct stat info
    { };
    ASSERT_EQ(stat(directory.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_NE(access(orphan.c_str(), F_OK), 0);
}

TEST(CliAdd, FileChangedBetweenReadingAndSavingIsExitThreeUnlessForced)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    writeBytes(path, "3/5/99 first\r\n");
    const auto otherProgram = [&path] { writeBytes(path, "3/5/99 edited elsewhere\r\n"); };
    std::ostringstream err;
    EXPECT_EQ(runAddCommand(path, "3/6/99 mine", false, {}, err, otherProgram), 3);
    EXPECT_EQ(lineCount(err.str()), 1);
    EXPECT_NE(err.str().find(path), std::string::npos);
    EXPECT_EQ(readBytes(path), "3/5/99 edited elsewhere\r\n");

    // A file another program creates after ours was found missing counts as well.
    const std::string fresh = dir.file("FRESH.APT");
    const auto creator = [&fresh] { writeBytes(fresh, "theirs\r\n"); };
    EXPECT_EQ(runAddCommand(fresh, "mine", false, {}, err, creator), 3);
    EXPECT_EQ(readBytes(fresh), "theirs\r\n");

    writeBytes(path, "3/5/99 first\r\n");
    EXPECT_EQ(runAddCommand(path, "3/6/99 mine", true, {}, err, otherProgram), 0);
    EXPECT_EQ(readBytes(path), "3/5/99 first\r\n3/6/99 mine\r\n");
    EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), "3/5/99 edited elsewhere\r\n");
}

// Loops of adds on one file, each add its own process as when a script runs the
// command: every add that reports success is in the file, and none is refused.
TEST(CliAdd, ConcurrentAddsAllLand)
{
    constexpr int Loops = 3;
    constexpr int AddsPerLoop = 25;
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    writeBytes(path, "3/5/99 first\r\n");
    const int added = test::sumOfChildren(Loops, [&path](int loop) {
        int done = 0;
        for (int i = 0; i < AddsPerLoop; ++i) {
            const std::string text
                = "3/6/99 loop " + std::to_string(loop) + " add " + std::to_string(i);
            std::ostringstream err;
            done += inChild([&] { return runAddCommand(path, text, false, {}, err); }) == 0;
        }
        return done;
    });
    EXPECT_EQ(added, Loops * AddsPerLoop);
    EXPECT_EQ(lineCount(readBytes(path)), 1 + added);
}

TEST(CliAdd, AFileTheUserMayNotWriteIsExitOneEvenWithForce)
{
    TempDir dir;
    const std::string path = dir.file("NOTES.APT");
    writeBytes(path, "3/5/99 first\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    for (const std::vector<std::string> &args :
         {std::vector<std::string> {path, "3/6/99 x"}, {path, "3/6/99 x", "--force"}}) {
        const AddRun r = add(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("read-only"), std::string::npos) << r.err;
    }
    EXPECT_EQ(readBytes(path), "3/5/99 first\r\n");
}

// The new version is in place although its directory (which its user may write and
// enter, but not list) cannot be synced: a retry would add the line twice.
TEST(CliAdd, ASaveInPlaceWithAWarningIsExitZero)
{
    constexpr uid_t Nobody = 65534;
    TempDir dir;
    const std::string home = dir.file("home");
    const std::string path = home + "/NOTES.APT";
    ASSERT_EQ(::mkdir(home.c_str(), 0700), 0);
    writeBytes(path, "3/5/99 first\r\n");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chmod(dir.path().c_str(), 0711), 0);
        ASSERT_EQ(::chown(home.c_str(), Nobody, Nobody), 0);
        ASSERT_EQ(::chown(path.c_str(), Nobody, Nobody), 0);
    }
    ASSERT_EQ(::chmod(home.c_str(), 0300), 0);
    const int status = inChild(
        [&path] {
            std::ostringstream err;
            const int added = runAddCommand(path, "3/6/99 second", false, {}, err);
            const bool warned = err.str().find("warning") != std::string::npos
                && err.str().find("may not survive") != std::string::npos;
            return added == 0 && warned && lineCount(err.str()) == 1 ? 0 : 1;
        },
        Nobody);
    ::chmod(home.c_str(), 0700);
    ASSERT_NE(status, test::CouldNotSwitchUser) << "cannot become an ordinary user";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readBytes(path), "3/5/99 first\r\n3/6/99 second\r\n");
}
