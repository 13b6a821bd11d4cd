// How the document windows are arranged in the main window with every view installed.
#include "framefixture.h"
#include "settings/settingkeys.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwmdichild.h"
#include "shell/dvwmdiclient.h"
#include "shell/windowlayout.h"

#include <QFile>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace dvw;

namespace {

class DocumentWindows : public test::FrameFixture
{
protected:
    void write(const char *name)
    {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("12/9/2026 9:00 Dentist\r\n12/10/2026 Review\r\n");
    }
    // lateMaximise: the window system maximises a full-screen start only after the
    // start file has opened into the window's first size.
    void start(bool fullScreen = false, bool lateMaximise = false)
    {
        write("NOTES.APT");
        write("OTHER.APT");
        makeFrame({"dayvane", "NOTES.APT"});
        app->changeSetting(settingkeys::FULLSCREEN, fullScreen);
        installAll();
        frame->resize(700, 500);
        if (lateMaximise)
            frame->openStartFile();
        frame->showAtStart();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        if (!lateMaximise)
            frame->openStartFile();
        QApplication::processEvents();
    }
    DVDocManager &docs() const { return frame->documents(); }
    dvwMDIChild *window(int document, ViewSlot slot) const
    {
        return docs().viewWindow(*docs().document(document), slot);
    }
    FixedLayout expected() const
    {
        return FixedLayoutFor(frame->client()->viewport()->size(), app->settings().monthWidth,
                              app->settings().monthHeight);
    }
    void openOther() { ASSERT_TRUE(docs().openPath(dir.filePath(QStringLiteral("OTHER.APT")))); }
};

} // namespace

TEST_F(DocumentWindows, TheListAndPaneTakeTheirFixedPlacesAfterEveryChangeOfRoom)
{
    struct Step
    {
        const char *what;
        std::function<void()> act;
    };
    const std::vector<Step> steps = {
        {"narrower", [this] { frame->resize(620, 500); }},
        {"wider", [this] { frame->resize(1000, 720); }},
        {"maximised", [this] { frame->showMaximized(); }},
        {"second document closed",
         [this] {
             openOther();
             frame->client()->tileSubWindows();
             ASSERT_TRUE(docs().close(*docs().document(1)));
         }},
        {"moved, then Tile",
         [this] {
             window(0, ListViewSlot)->setGeometry(10, 10, 120, 90);
             frame->runCommand(Cm::Tile);
         }},
    };
    start();
    for (const Step &step : steps) {
        step.act();
        QApplication::processEvents();
        ASSERT_EQ(docs().count(), 1) << step.what;
        dvwMDIChild *list = window(0, ListViewSlot);
        dvwMDIChild *pane = window(0, CurrentPaneSlot);
        ASSERT_TRUE(list && pane) << step.what;
        EXPECT_EQ(list->geometry(), expected().list) << step.what;
        EXPECT_EQ(pane->geometry(), expected().current) << step.what;
        EXPECT_TRUE(frame->client()->viewport()->rect().contains(pane->geometry())) << step.what;
    }
}

TEST_F(DocumentWindows, AFullScreenStartLaysOutTheWindowsInTheFullClient)
{
    start(true, true);
    ASSERT_TRUE(QTest::qWaitFor([this] { return frame->isMaximized(); }));
    QApplication::processEvents();
    ASSERT_NE(window(0, CurrentPaneSlot), nullptr);
    EXPECT_EQ(window(0, ListViewSlot)->geometry(), expected().list);
    EXPECT_EQ(window(0, CurrentPaneSlot)->geometry(), expected().current);
}

TEST_F(DocumentWindows, OpeningAnotherDocumentClosesThePanesOfTheOthersButNotTheirLists)
{
    start();
    ASSERT_NE(window(0, CurrentPaneSlot), nullptr);
    openOther();
    QApplication::processEvents();
    ASSERT_EQ(docs().count(), 2);
    for (int d = 0; d < 2; ++d) {
        EXPECT_NE(window(d, ListViewSlot), nullptr) << d;
        EXPECT_EQ(window(d, CurrentPaneSlot), nullptr) << d;
        EXPECT_EQ(window(d, MonthPaneSlot), nullptr) << d;
    }
    EXPECT_EQ(frame->client()->subWindowList().size(), 2);
}

TEST_F(DocumentWindows, APaneThatIsAllItsDocumentShowsStaysWhenAnotherOpens)
{
    start();
    window(0, ListViewSlot)->close();
    ASSERT_NE(window(0, CurrentPaneSlot), nullptr);
    openOther();
    ASSERT_EQ(docs().count(), 2);
    EXPECT_NE(window(0, CurrentPaneSlot), nullptr);
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(DocumentWindows, CascadeLeavesEveryWindowAUsableSize)
{
    start();
    openOther();
    frame->carryOut(Cm::ShowCurrentPane); // the active document's pane, beside two lists
    QApplication::processEvents();
    const QList<QMdiSubWindow *> windows = frame->client()->subWindowList();
    ASSERT_EQ(windows.size(), 3);
    frame->runCommand(Cm::Cascade);
    const QSize client = frame->client()->viewport()->size();
    const int titleBar = windows.front()->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    for (const QMdiSubWindow *w : windows) {
        EXPECT_GE(w->height(), client.height() / 2) << w->windowTitle().toStdString();
        EXPECT_GE(w->width(), client.width() / 2) << w->windowTitle().toStdString();
        EXPECT_GT(w->widget()->height(), titleBar) << w->windowTitle().toStdString();
        EXPECT_TRUE(QRect(QPoint(0, 0), client).contains(w->geometry()));
    }
}

// Closing the file view by its key, plain or maximised, brings the panes back with their
// captions (one was once seen without its caption afterwards).
TEST_F(DocumentWindows, PanesComeBackCaptionedWhenTheFileViewClosesByKey)
{
    start();
    for (const bool maximised : {false, true}) {
        frame->runCommand(Cm::ViewFile);
        ASSERT_NE(window(0, FileViewSlot), nullptr);
        if (maximised)
            window(0, FileViewSlot)->showMaximized();
        QTest::keyClick(window(0, FileViewSlot)->widget(), Qt::Key_V);
        ASSERT_EQ(window(0, FileViewSlot), nullptr) << maximised;
        ASSERT_NE(window(0, CurrentPaneSlot), nullptr) << maximised;
        ASSERT_NE(window(0, MonthPaneSlot), nullptr) << maximised;
        EXPECT_EQ(window(0, CurrentPaneSlot)->windowTitle(), QStringLiteral("Current"));
        EXPECT_EQ(window(0, MonthPaneSlot)->windowTitle(), QStringLiteral("Month View"));
        EXPECT_FALSE(window(0, CurrentPaneSlot)->isMaximized()) << maximised;
    }
}
