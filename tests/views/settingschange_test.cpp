#include "framefixture.h"
#include "settings/settingkeys.h"
#include "settings/settingstable.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "store/startdate.h"
#include "views/tapptview.h"
#include "viewtesthelpers.h"

#include <QAction>
#include <QFile>
#include <QSignalSpy>
#include <QStatusBar>

#include <gtest/gtest.h>

using namespace dvw;
using test::positionOfLine;

namespace {

namespace k = settingkeys;

// The main window with its list open on a file whose dates depend on the date settings.
// Today is 7 December 2026; line 0 is 1 February 2027 in month/day order and 2 January in
// day/month order.
class SettingsChange : public test::FrameFixture
{
protected:
    void SetUp() override
    {
        writeFile(QStringLiteral("NOTES.APT"), "2/1/2027 Meeting\r\n12/9/2026 Dentist\r\n");
        makeFrame({"dayvane", "NOTES.APT"});
        installAll();
        frame->showAtStart();
        frame->openStartFile();
    }

    TApptDocument &doc() const { return *frame->documents().document(0); }
    Settings stored() const
    {
        SettingsStore store;
        return Settings::load(store, probe);
    }
};

} // namespace

TEST_F(SettingsChange, EachChangeIsStoredAndEmittedOnceAndReachesTheDocumentsAndTheList)
{
    const auto *list = frame->findChild<TApptView *>();
    ASSERT_NE(list, nullptr);
    QSignalSpy changed(app.get(), &dvwApp::settingsChanged);
    ASSERT_GE(positionOfLine(doc(), 0), 0); // inside the 365 days

    ASSERT_TRUE(app->changeSetting(k::DAYS, 30).ok);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(app->dateWindow().days, 30);
    EXPECT_EQ(doc().window().days, 30);
    EXPECT_EQ(positionOfLine(doc(), 0), -1); // 1 February is past the window now
    EXPECT_EQ(stored().days, 30);

    ASSERT_TRUE(app->changeSetting(k::EUROPEAN, true).ok);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.back().at(0).toString(), QStringLiteral("EUROPEAN"));
    EXPECT_TRUE(doc().dateSettings().european);
    EXPECT_GE(positionOfLine(doc(), 0), 0); // 2 January is inside it
    EXPECT_TRUE(list->viewSettings().wording.european);
    EXPECT_TRUE(stored().european);
}

TEST_F(SettingsChange, StatusBarFontFollowsItsSetting)
{
    ASSERT_TRUE(app->settings().sbFont);
    ASSERT_TRUE(app->changeSetting(k::SBFONT, false).ok);
    EXPECT_EQ(frame->statusBar()->font(), app->fonts()[SmallFont].font);
}

TEST_F(SettingsChange, UnknownNameOrAValueOfAnotherKindChangesNothing)
{
    QSignalSpy changed(app.get(), &dvwApp::settingsChanged);
    const Settings before = app->settings();
    EXPECT_FALSE(app->changeSetting("DAYZ", 30).ok);
    EXPECT_FALSE(app->changeSetting(k::DAYS, true).ok);
    EXPECT_FALSE(app->changeSetting(k::EUROPEAN, 1).ok);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(app->settings(), before);
    EXPECT_EQ(stored(), before);
}

TEST_F(SettingsChange, EachRunStateSetterEmitsOnceNamingItsPartAndTheMenusFollow)
{
    using State = dvwApp::State;
    ViewFilters levelTwo = app->filters();
    levelTwo.priorityLevel = 2;
    const DateWindow march = DateWindow::make(app->dateWindow().today, TDate(1, 3, 2027), 30);
    const std::vector<std::pair<State, std::function<void()>>> setters = {
        {State::DateWindow, [&] { app->setDateWindow(march); }},
        {State::Filters, [&] { app->setFilters(levelTwo); }},
        {State::ContextHelp, [&] { app->setContextHelp(true); }},
        {State::F1Held, [&] { app->setF1Held(true); }},
    };
    for (const auto &[part, set] : setters) {
        QSignalSpy changed(app.get(), &dvwApp::stateChanged);
        set();
        ASSERT_EQ(changed.count(), 1) << static_cast<int>(part);
        EXPECT_EQ(changed[0][0].value<State>(), part);
    }
    EXPECT_EQ(app->dateWindow().start, TDate(1, 3, 2027));
    EXPECT_EQ(app->filters().priorityLevel, 2);
    EXPECT_TRUE(app->contextHelp());
    EXPECT_TRUE(app->f1Held());
    // The items that show the window and the filters say what was set, whoever set it.
    EXPECT_EQ(frame->action(Cm::StartDate)->text(),
              QStringLiteral("Start date: ")
                  + QString::fromStdString(StartDateText(march.start, doc().dateSettings())));
    EXPECT_EQ(frame->action(Cm::PriorityLevel)->text(), QStringLiteral("Priority level = 2"));
    app->setContextHelp(false);
}
