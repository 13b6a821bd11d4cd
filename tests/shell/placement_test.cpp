#include "framefixture.h"
#include "platform/clock.h"
#include "platform/filechooser.h"
#include "platform/scriptedprompter.h"
#include "settings/platformprobe.h"
#include "settings/settingsstore.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdichild.h"
#include "shell/dvwmdiclient.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "shell/windowplacement.h"

#include <QDir>
#include <QFile>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>
#include <memory>

using namespace dvw;

TEST(WindowPlacement, StoredPartsReplaceTheSystemChoiceAndMarkersKeepIt)
{
    const QRect system(10, 20, 640, 480);
    EXPECT_EQ(RequestedGeometry(WindowRect {}, system), system);
    EXPECT_EQ(RequestedGeometry({100, 120, 700, 500}, system), QRect(100, 120, 700, 500));
    EXPECT_EQ(RequestedGeometry({100, 120, INT_MIN, INT_MIN}, system), QRect(100, 120, 640, 480));
    EXPECT_EQ(RequestedGeometry({INT_MIN, INT_MIN, 700, 500}, system), QRect(10, 20, 700, 500));
    EXPECT_EQ(RequestedGeometry({0, 0, 0, -5}, system), QRect(0, 0, 640, 480));
}

TEST(WindowPlacement, MinimiseSwitchWinsOverFullScreen)
{
    EXPECT_EQ(StartShowState(true, true), StartShow::Minimised);
    EXPECT_EQ(StartShowState(false, true), StartShow::Maximised);
    EXPECT_EQ(StartShowState(false, false), StartShow::Normal);
}

namespace {

class Placement : public test::FrameFixture
{
protected:
    Placement()
        : FrameFixture(true)
    { }

    void store(const char *conf, std::initializer_list<std::pair<const char *, int>> values)
    {
        SettingsStore s
            = SettingsStore::atPath(dir.filePath(QString::fromLatin1(conf)).toStdString());
        s.open();
        for (const auto &[name, value] : values)
            s.writeInt(name, value);
        ASSERT_TRUE(s.close().ok);
    }
    int stored(const char *conf, const char *name) const
    {
        SettingsStore s
            = SettingsStore::atPath(dir.filePath(QString::fromLatin1(conf)).toStdString());
        s.open();
        const int value = s.readInt(name, -1);
        s.close();
        return value;
    }

    void start(std::vector<std::string> args = {"dayvane"})
    {
        makeFrame(args);
        frame->showAtStart();
        (void)QTest::qWaitForWindowExposed(frame.get());
    }
    void closeWithoutSaving()
    {
        prompter.pushAnswer(Prompter::Answer::No);
        ASSERT_TRUE(frame->close());
    }
};

} // namespace

TEST_F(Placement, ClosingStoresTheWindowsPlaceWhenNotFullScreen)
{
    start();
    frame->setGeometry(100, 120, 700, 500);
    closeWithoutSaving();
    EXPECT_EQ(stored("DVW.conf", "X"), 100);
    EXPECT_EQ(stored("DVW.conf", "Y"), 120);
    EXPECT_EQ(stored("DVW.conf", "W"), 700);
    EXPECT_EQ(stored("DVW.conf", "H"), 500);
}

TEST_F(Placement, FullScreenStartsMaximisedAndStoresNothing)
{
    store("DVW.conf", {{"FULLSCREEN", 1}, {"X", 5}});
    start();
    EXPECT_TRUE(frame->isMaximized());
    frame->openStartFile();
    closeWithoutSaving();
    EXPECT_EQ(stored("DVW.conf", "X"), 5);
    EXPECT_EQ(stored("DVW.conf", "W"), -1);
}

TEST_F(Placement, WithoutSettingsSmallScreensStartMaximisedAndLargeOnesNormal)
{
    probe = FixedProbe(800, 0);
    start();
    EXPECT_TRUE(frame->isMaximized());
    frame.reset();
    app.reset();

    probe = FixedProbe(801, 0);
    start();
    EXPECT_FALSE(frame->isMaximized());
    EXPECT_FALSE(frame->isMinimized());
}

TEST_F(Placement, StartUsesTheStoredPlace)
{
    store("DVW.conf", {{"X", 30}, {"Y", 40}, {"W", 500}, {"H", 400}});
    start();
    EXPECT_FALSE(frame->isMaximized());
    EXPECT_EQ(frame->geometry(), QRect(30, 40, 500, 400));
}

TEST_F(Placement, ClosingWhileMaximisedStoresThePlaceBeforeIt)
{
    start();
    frame->setGeometry(50, 60, 640, 480);
    frame->showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([this] { return frame->isMaximized(); }));
    closeWithoutSaving();
    EXPECT_EQ(stored("DVW.conf", "W"), 640);
    EXPECT_EQ(stored("DVW.conf", "H"), 480);
}

TEST_F(Placement, ProfileReadsAndWritesOnlyItsOwnSettings)
{
    store("DVW5.conf", {{"DAYS", 30}});
    start({"dayvane", "-R", "5"});
    EXPECT_EQ(app->dateWindow().days, 30);
    EXPECT_EQ(app->startFile(), QStringLiteral("NOTES.APT"));
    closeWithoutSaving();
    EXPECT_NE(stored("DVW5.conf", "X"), -1);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("DVW.conf"))));
}

TEST_F(Placement, MinimiseSwitchStartsMinimised)
{
    start({"dayvane", "-M"});
    EXPECT_TRUE(frame->isMinimized());
}

TEST_F(Placement, NewDocumentWindowLeavesTheMonthWidthFree)
{
    store("DVW.conf", {{"MONTHWIDTH", 300}});
    start();
    frame->resize(1000, 700);
    frame->openStartFile();
    ASSERT_EQ(frame->documents().count(), 1);
    const QWidget *window = frame->documents().windowOf(*frame->documents().current());
    EXPECT_EQ(window->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(window->width(), frame->client()->viewport()->width() - 300);
    closeWithoutSaving();
}

TEST_F(Placement, StatusBarUsesTheSmallFontWhenItsOwnFontIsOff)
{
    store("DVW.conf", {{"SBFONT", 0}});
    start();
    EXPECT_EQ(frame->statusBar()->font().pixelSize(), app->fonts()[4].font.pixelSize());
    EXPECT_EQ(frame->statusBar()->font().family(), app->fonts()[4].font.family());
}

TEST_F(Placement, ASettingsFileThatIsNoPlainFileIsSaidOverTheWindowAndLeftAlone)
{
    ASSERT_EQ(mkfifo(dir.filePath(QStringLiteral("DVW.conf")).toLocal8Bit().constData(), 0600), 0);
    start();
    frame->openStartFile();
    ASSERT_FALSE(prompter.asked().empty());
    EXPECT_EQ(prompter.asked().front().icon, Prompter::Icon::Warning);
    EXPECT_TRUE(prompter.asked().front().text.contains(QStringLiteral("default settings")));
    closeWithoutSaving();
    struct stat st
    { };
    ASSERT_EQ(stat(dir.filePath(QStringLiteral("DVW.conf")).toLocal8Bit().constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}
