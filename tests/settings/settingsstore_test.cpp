#include "settings/platformprobe.h"
#include "settings/settings.h"
#include "settings/settingsstore.h"
#include "tempsettingsdir.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <future>
#include <optional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace dvw;
using dvw::test::TempSettingsDir;

TEST(SettingsLocation, ConfigDirVariableThenXdgThenHome)
{
    EXPECT_EQ(settingsDirectoryFrom("/t/cfg", "/x", "/home/u"), "/t/cfg");
    EXPECT_EQ(settingsDirectoryFrom(nullptr, "/x", "/home/u"), "/x/dayvane");
    EXPECT_EQ(settingsDirectoryFrom("", "/x", "/home/u"), "/x/dayvane");
    EXPECT_EQ(settingsDirectoryFrom(nullptr, nullptr, "/home/u"), "/home/u/.config/dayvane");
    // A relative XDG_CONFIG_HOME is not a valid setting and is ignored.
    EXPECT_EQ(settingsDirectoryFrom(nullptr, "rel", "/home/u"), "/home/u/.config/dayvane");
}

TEST(SettingsLocation, EachProfileHasItsOwnFile)
{
    EXPECT_EQ(settingsFileName(std::nullopt), "DVW.conf");
    EXPECT_EQ(settingsFileName(3), "DVW3.conf");
    EXPECT_EQ(settingsFileName(0), "DVW0.conf");
    const TempSettingsDir dir;
    EXPECT_EQ(SettingsStore(3).filePath(), dir.file("DVW3.conf"));
}

TEST(SettingsStore, OpenCreatesAnEmptyStoreAndReadingNeverWritesDefaultsBack)
{
    const TempSettingsDir dir;
    std::filesystem::remove(dir.path());
    SettingsStore store;
    ASSERT_TRUE(store.open().ok);
    EXPECT_EQ(store.readInt("DAYS", 365), 365);
    EXPECT_EQ(store.readText("APPTFILE", "NOTES.APT"), "NOTES.APT");
    EXPECT_EQ(store.readReal("LEFTMARGIN", 0.75), 0.75);
    EXPECT_TRUE(store.close().ok);
    EXPECT_TRUE(dir.exists());
    EXPECT_EQ(dir.read(), "");
}

TEST(SettingsStore, ValuesWrittenInABatchReadBackInTheNext)
{
    const TempSettingsDir dir;
    SettingsStore store;
    ASSERT_TRUE(store.open().ok);
    store.writeInt("DAYS", 30);
    store.writeInt("X", INT_MIN);
    store.writeText("PRINTNAME", "Ann Smith");
    store.writeReal("WALLETWIDTH", 0.755);
    ASSERT_TRUE(store.close().ok);
    EXPECT_NE(dir.read().find("WALLETWIDTH=0.76"), std::string::npos);

    ASSERT_TRUE(store.open().ok);
    EXPECT_EQ(store.readInt("DAYS", 365), 30);
    EXPECT_EQ(store.readInt("X", 0), INT_MIN);
    EXPECT_EQ(store.readText("PRINTNAME", ""), "Ann Smith");
    EXPECT_DOUBLE_EQ(store.readReal("WALLETWIDTH", 5.25), 0.76);
    EXPECT_EQ(store.readText("DAYS", ""), "30"); // the stored kind is not examined
    store.writeInt("DAYS", 30); // the same value again is a write like any other
    EXPECT_TRUE(store.close().ok);
}

TEST(SettingsStore, WriteThatAnEventLoopAlreadySavedIsStillASuccess)
{
    const TempSettingsDir dir;
    int argc = 1;
    char name[] = "app_tests";
    char *argv[] = {name, nullptr};
    const QCoreApplication app(argc, argv);
    SettingsStore store;
    store.open();
    store.writeInt("DAYS", 30);
    QCoreApplication::processEvents(); // the INI writer saves pending values from here
    ASSERT_NE(dir.read().find("DAYS=30"), std::string::npos);
    EXPECT_TRUE(store.close().ok);
}

TEST(SettingsStore, TextsRoundTripExactly)
{
    const TempSettingsDir dir;
    SettingsStore store;
    const std::vector<std::string> texts = {"Times New Roman, 12I",
                                            " lead and trail ",
                                            "a \"quoted\" word",
                                            "@Variant(x)",
                                            "semi;colon = equals",
                                            "back\\slash",
                                            "two\nlines",
                                            "caf\xC3\xA9",
                                            "",
                                            "[General]"};
    ASSERT_TRUE(store.open().ok);
    for (std::size_t i = 0; i < texts.size(); ++i)
        store.writeText("T" + std::to_string(i), texts[i]);
    ASSERT_TRUE(store.close().ok);
    ASSERT_TRUE(store.open().ok);
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(store.readText("T" + std::to_string(i), "missing"), texts[i]);
    store.writeInt("DAYS", 1);
    ASSERT_TRUE(store.close().ok);
    EXPECT_FALSE(dir.exists("DVW.conf.bad")); // what the store writes is never malformed
}

TEST(SettingsStore, UnquotedCommaValueTypedByHandReadsAsItsText)
{
    const TempSettingsDir dir;
    dir.write("BODYFONT=Times New Roman, 12I\nPRINTNAME=Smith, Ann, Dr\nDAYS=3,0\n");
    SettingsStore store;
    store.open();
    EXPECT_EQ(store.readText("BODYFONT", ""), "Times New Roman, 12I");
    EXPECT_EQ(store.readText("PRINTNAME", ""), "Smith, Ann, Dr");
    EXPECT_EQ(store.readInt("DAYS", 365), 365); // "3, 0" is no number
    store.close();
}

TEST(SettingsStore, ValuesOfOtherKindsCountAsMissing)
{
    const TempSettingsDir dir;
    dir.write("[General]\nDAYS=@Rect(1 2 3 4)\nNAG=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x5QRect)\n"
              "ZOOM=@ByteArray(85)\nWALLETWIDTH=\n");
    SettingsStore store;
    store.open();
    EXPECT_EQ(store.readInt("DAYS", 365), 365);
    EXPECT_EQ(store.readInt("NAG", 7), 7);
    EXPECT_EQ(store.readInt("ZOOM", 100), 85);
    EXPECT_EQ(store.readReal("WALLETWIDTH", 5.25), 5.25);
    store.close();
}

TEST(SettingsStore, ProfilesAreKeptApart)
{
    const TempSettingsDir dir;
    SettingsStore profile3(3);
    profile3.open();
    profile3.writeInt("DAYS", 30);
    ASSERT_TRUE(profile3.close().ok);

    SettingsStore main;
    main.open();
    EXPECT_EQ(main.readInt("DAYS", 365), 365);
    main.close();
    EXPECT_EQ(dir.read("DVW.conf"), "");
    EXPECT_NE(dir.read("DVW3.conf").find("DAYS=30"), std::string::npos);
}

TEST(SettingsStoreFailure, WriteIntoAFolderNobodyCanWriteIsReported)
{
    // /proc/self refuses new files even to root.
    SettingsStore store = SettingsStore::atPath("/proc/self/DVW.conf");
    EXPECT_FALSE(store.open().ok);
    EXPECT_EQ(store.readInt("DAYS", 365), 365);
    store.writeInt("DAYS", 30);
    const StoreResult result = store.close();
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.reason.find("/proc/self/DVW.conf"), std::string::npos);
}

TEST(SettingsStoreFailure, WriteIntoAReadOnlyFolderIsReported)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const TempSettingsDir dir;
    dir.write("DAYS=30\n");
    chmod(dir.path().c_str(), 0555);
    SettingsStore store;
    store.open();
    store.writeInt("DAYS", 31);
    EXPECT_FALSE(store.close().ok);
    EXPECT_EQ(dir.read(), "DAYS=30\n");
}

TEST(SettingsStoreFailure, FileThatCannotBeReadIsNeverOverwritten)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    const TempSettingsDir dir;
    dir.write("DAYS=30\n");
    chmod(dir.file().c_str(), 0);
    SettingsStore store;
    EXPECT_FALSE(store.open().ok);
    EXPECT_EQ(store.readInt("DAYS", 365), 365);
    store.writeInt("NAG", 3);
    EXPECT_FALSE(store.close().ok);
    chmod(dir.file().c_str(), 0600);
    EXPECT_EQ(dir.read(), "DAYS=30\n");
}

TEST(SettingsStoreFailure, SettingsPathThatIsAFolderIsReportedNotWritten)
{
    const TempSettingsDir dir;
    std::filesystem::create_directory(dir.file());
    SettingsStore store;
    EXPECT_FALSE(store.open().ok);
    store.writeInt("DAYS", 31);
    EXPECT_FALSE(store.close().ok);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file()));
}

TEST(SettingsStoreMalformed, FileIsCopiedAsideBeforeTheFirstWriteRewritesIt)
{
    const TempSettingsDir dir;
    const std::string broken = "my own notes\n[General\nDAYS=30\n";
    dir.write(broken);
    SettingsStore store;
    store.open();
    store.close();
    EXPECT_FALSE(dir.exists("DVW.conf.bad")); // reading keeps the file as it is
    EXPECT_EQ(dir.read(), broken);

    store.open();
    store.writeInt("NAG", 3);
    store.writeInt("ZOOM", 90);
    ASSERT_TRUE(store.close().ok);
    EXPECT_EQ(dir.read("DVW.conf.bad"), broken);
    store.open();
    EXPECT_EQ(store.readInt("NAG", 7), 3);
    store.close();
}

TEST(SettingsStoreMalformed, FailedWriteIsReportedEvenAfterAFormatError)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes over read-only files";
    const TempSettingsDir dir;
    const std::string broken = "garbage line\nDAYS=30\n";
    dir.write(broken);
    chmod(dir.file().c_str(), 0444);
    SettingsStore store;
    store.open();
    store.writeInt("NAG", 3);
    EXPECT_FALSE(store.close().ok);
    EXPECT_EQ(dir.read(), broken);
}

TEST(SettingsStoreMalformed, NoWriteWhenTheCopyCannotBeKept)
{
    const TempSettingsDir dir;
    const std::string broken = "[General\nDAYS=30\n";
    dir.write(broken);
    std::filesystem::create_directory(dir.file("DVW.conf.bad")); // blocks the copy
    SettingsStore store;
    store.open();
    store.writeInt("NAG", 3);
    const StoreResult result = store.close();
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.reason.find("DVW.conf.bad"), std::string::npos);
    EXPECT_EQ(dir.read(), broken);
}

namespace {

// Loads the settings on a thread, so a load that blocks fails the test instead of hanging
// the suite. A reader stuck on a FIFO is set free by opening the FIFO's other end.
std::optional<Settings> loadWithin(std::chrono::seconds limit, const std::string &fifo = {})
{
    auto loading = std::async(std::launch::async, [] {
        SettingsStore store;
        return Settings::load(store, FixedProbe(1280, 0));
    });
    if (loading.wait_for(limit) == std::future_status::ready)
        return loading.get();
    // Each open of the FIFO for reading waits for a writer; a blocked load opens it a few
    // times at most.
    while (!fifo.empty()
           && loading.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
    }
    loading.wait();
    return std::nullopt;
}

} // namespace

// Such files are ignored with a reason, read as empty, and never replaced by a write.
TEST(SettingsStoreUnsafeFile, FifoDeviceAndHugeFileAreIgnoredAndKept)
{
    const std::string huge = "DAYS=30\n" + std::string(kMaxSettingsFileSize, '\n');
    const struct
    {
        const char *name;
        std::function<void(const TempSettingsDir &)> make;
    } cases[] = {
        {"fifo", [](const TempSettingsDir &d) { ASSERT_EQ(mkfifo(d.file().c_str(), 0600), 0); }},
        {"link to a device",
         [](const TempSettingsDir &d) {
             // As root, a private null device in the test's folder: should the store ever
             // write through the link again, it replaces that node, not the system's.
             std::string device = "/dev/null";
             if (geteuid() == 0) {
                 device = d.file() + ".null";
                 ASSERT_EQ(mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
             }
             std::filesystem::create_symlink(device, d.file());
         }},
        {"larger than the limit", [&huge](const TempSettingsDir &d) { d.write(huge); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const TempSettingsDir dir;
        c.make(dir);
        const auto kindBefore = std::filesystem::symlink_status(dir.file()).type();

        const std::optional<Settings> loaded = loadWithin(std::chrono::seconds(10), dir.file());
        if (!loaded) {
            ADD_FAILURE() << "loading blocked";
            continue; // opening the store here would block the suite
        }
        EXPECT_EQ(loaded->days, 365);

        SettingsStore store;
        const StoreResult opened = store.open();
        EXPECT_FALSE(opened.ok);
        EXPECT_NE(opened.reason.find(dir.file()), std::string::npos);
        EXPECT_EQ(store.ignoredReason(), opened.reason);
        store.writeInt("DAYS", 31);
        EXPECT_FALSE(store.close().ok);
        EXPECT_EQ(std::filesystem::symlink_status(dir.file()).type(), kindBefore);
    }
}

TEST(SettingsStoreUnsafeFile, FileJustUnderTheLimitIsRead)
{
    const TempSettingsDir dir;
    const std::string text = "[General]\nDAYS=30\n";
    dir.write(text
              + std::string(static_cast<std::size_t>(kMaxSettingsFileSize) - text.size(), '\n'));
    SettingsStore store;
    EXPECT_TRUE(store.open().ok);
    EXPECT_EQ(store.readInt("DAYS", 365), 30);
    EXPECT_EQ(store.ignoredReason(), "");
    store.close();
}
