#include "alarm/alarmnotifier.h"
#include "alarm/alarms.h"
#include "alarm/alarmsound.h"
#include "alarm/talarmwindow.h"
#include "framefixture.h"
#include "settings/settingkeys.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdichild.h"
#include "shell/dvwmdiclient.h"
#include "views/tdaydialog.h"
#include "views/views.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

using namespace dvw;

namespace {

// Records what the windows ask of the sound service.
class RecordingSound : public SoundPlayer
{
public:
    void play(const QString &path) override { events.push_back("play " + path); }
    void stop() override { ++stops; }
    void beep() override { events.push_back("beep"); }
    std::vector<QString> events;
    int stops = 0;
};

class RecordingNotifier : public AlarmNotifier
{
public:
    std::uint64_t notify(const QString &summary, const QString &body) override
    {
        sent.push_back(summary + "|" + body);
        return sent.size();
    }
    void withdraw(std::uint64_t key) override { withdrawn.push_back(sent.at(key - 1)); }
    std::vector<QString> sent;
    std::vector<QString> withdrawn;
};

TEST(AlarmWindow, SoundsAsOftenAndAsFarApartAsTheSettingsSay)
{
    struct Case
    {
        const char *name;
        bool sound, soundCard;
        QString wave;
        int duration, interval;
        int sounds; // in all, the first one included
        int periodMs;
        bool beeps;
    };
    const Case cases[] = {
        {"file three times", true, true, "a.wav", 3, 2, 3, 2000, false},
        {"no sound card beeps 3 seconds", true, false, "a.wav", 3, 2, 24, 125, true},
        {"no file beeps", true, true, "", 1, 2, 8, 125, true},
        {"interval 0 is a second", true, true, "a.wav", 2, 0, 2, 1000, false},
        {"huge interval is an hour", true, true, "a.wav", 2, 999999, 2, 3600000, false},
        {"huge duration is held", true, true, "a.wav", 999999, 1, 3600, 1000, false},
        {"sound off", false, true, "a.wav", 3, 2, 0, 0, false},
    };
    for (const Case &c : cases) {
        auto sound = std::make_shared<RecordingSound>();
        const AlarmSoundPlan plan
            = AlarmSoundPlan::of(c.sound, c.soundCard, c.wave, c.duration, c.interval);
        TAlarmWindow window(QStringLiteral("Meet"), plan, c.wave, sound);
        window.start();
        EXPECT_EQ(window.repeatTimer().isActive(), c.sound) << c.name;
        if (c.sound) {
            EXPECT_EQ(window.repeatTimer().interval(), c.periodMs) << c.name;
        }
        for (int i = 0; i < c.sounds + 5 && window.repeatTimer().isActive(); ++i)
            window.repeat();
        EXPECT_FALSE(window.repeatTimer().isActive()) << c.name;
        ASSERT_EQ(static_cast<int>(sound->events.size()), c.sounds) << c.name;
        if (c.sounds > 0) {
            EXPECT_EQ(sound->events.front(), c.beeps ? QString("beep") : "play " + c.wave)
                << c.name;
        }
    }
}

TEST(AlarmWindow, DurationZeroRepeatsUntilClosedByEscOrSpace)
{
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Space}) {
        auto sound = std::make_shared<RecordingSound>();
        auto *window = new TAlarmWindow(
            QStringLiteral("Meet"), AlarmSoundPlan::of(true, true, "a.wav", 0, 1), "a.wav", sound);
        QPointer<TAlarmWindow> alive(window);
        window->start();
        for (int i = 0; i < 5000; ++i)
            window->repeat();
        EXPECT_TRUE(window->repeatTimer().isActive());
        EXPECT_EQ(window->plays(), 5001);
        QTest::keyClick(window, key);
        EXPECT_FALSE(window->isVisible());
        // Closing deletes the window, and its timer with it.
        EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }));
    }
}

TEST(AlarmWindow, TextIsPlainAndCutOnWholeCharacters)
{
    auto sound = std::make_shared<RecordingSound>();
    const AlarmSoundPlan silent = AlarmSoundPlan::of(false, true, "", 1, 1);
    TAlarmWindow markup(QStringLiteral("<img src=x>"), silent, {}, sound);
    auto *label = markup.findChild<QLabel *>(QStringLiteral("alarmText"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(label->text(), QStringLiteral("<img src=x>"));
    EXPECT_EQ(markup.windowTitle(), QStringLiteral("Dayvane alarm"));

    const QString face = QString::fromUtf8("\xf0\x9f\x98\x80"); // two UTF-16 units
    const QString longText = QString(maxAlarmTextChars - 1, QChar('a')) + face + "tail";
    EXPECT_EQ(CutAlarmText(longText), QString(maxAlarmTextChars - 1, QChar('a')));
    const QString fits = QString(maxAlarmTextChars - 2, QChar('a')) + face + "tail";
    EXPECT_EQ(CutAlarmText(fits), QString(maxAlarmTextChars - 2, QChar('a')) + face);
}

TEST(AlarmWindow, PlacesCascade)
{
    std::vector<QPoint> places {FirstAlarmPlace()};
    for (int i = 0; i < 40; ++i)
        places.push_back(NextAlarmPlace(places.back()));
    EXPECT_EQ(places[1], QPoint(70, 50));
    EXPECT_EQ(places[7], QPoint(190, 50));
    EXPECT_EQ(places[8], QPoint(50, 70)) << "x back to 50 once it reaches 200";
    for (const QPoint &p : places) {
        EXPECT_GE(p.x(), 50);
        EXPECT_LT(p.x(), 200);
        EXPECT_GE(p.y(), 50);
        EXPECT_LE(p.y(), 130);
    }
    EXPECT_EQ(places[39], QPoint(190, 130));
    EXPECT_EQ(places[40], FirstAlarmPlace()) << "y back to 50 past 130";
}

TEST(AlarmSound, OnlyRegularFilesUpTo16MegabytesPlay)
{
    QTemporaryDir dir;
    const QString small = dir.filePath("small.wav"), big = dir.filePath("big.wav"),
                  limit = dir.filePath("limit.wav"), fifo = dir.filePath("fifo.wav"),
                  link = dir.filePath("link.wav");
    QFile(small).open(QIODevice::WriteOnly);
    ASSERT_EQ(::truncate(QFile::encodeName(small).constData(), 44), 0);
    QFile(big).open(QIODevice::WriteOnly);
    ASSERT_EQ(::truncate(QFile::encodeName(big).constData(), maxSoundFileBytes + 1), 0);
    QFile(limit).open(QIODevice::WriteOnly);
    ASSERT_EQ(::truncate(QFile::encodeName(limit).constData(), maxSoundFileBytes), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(small, link));
    struct Case
    {
        QString path;
        bool playable;
    };
    const Case cases[] = {
        {small, true},        {limit, true},
        {link, true},         {big, false},
        {fifo, false},        {dir.path(), false},
        {"/dev/zero", false}, {dir.filePath("missing.wav"), false},
        {"", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsPlayableSoundFile(c.path), c.playable) << c.path.toStdString();
    // A refused file plays nothing and returns at once, even a FIFO nobody writes to.
    SystemSoundPlayer player;
    player.play(fifo);
    player.play(dir.path());
}

// The alarm clock in a main window with a clock the test sets.
class AlarmsInFrame : public test::FrameFixture
{
protected:
    void start(const std::vector<QByteArray> &texts)
    {
        std::vector<std::string> args {"dayvane"};
        makeFrame(args);
        const FeatureServices services = completeServices(*frame, {});
        InstallViews(*frame, services);
        alarms = &InstallAlarms(*frame, services, sound, notifier);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const QString path = dir.filePath(QStringLiteral("N%1.APT").arg(i));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(texts[i]);
            file.close();
            ASSERT_TRUE(frame->documents().openPath(path));
        }
    }
    void tickAt(int h, int m, QDate day = QDate(2026, 12, 7))
    {
        clock.set(QDateTime(day, QTime(h, m)));
        frame->client()->tick();
    }
    QString pane() const
    {
        return frame->findChild<QLabel *>(QStringLiteral("alarmField"))->text();
    }

    std::shared_ptr<RecordingSound> sound = std::make_shared<RecordingSound>();
    std::shared_ptr<RecordingNotifier> notifier = std::make_shared<RecordingNotifier>();
    AlarmController *alarms = nullptr;
};

TEST_F(AlarmsInFrame, TwoDocumentsAlarmInCascadedWindowsAndNotify)
{
    start({"12/7/2026 9:15 Meet\r\n", "12/7/2026 9:15 Call\r\n"});
    tickAt(9, 6);
    EXPECT_EQ(pane(), QStringLiteral("Next alarm  9:10 A.M."));
    EXPECT_TRUE(alarms->openWindows().empty());
    tickAt(9, 10);
    const auto windows = alarms->openWindows();
    ASSERT_EQ(windows.size(), 2U);
    EXPECT_EQ(windows[0]->text(), QStringLiteral("9:15 Meet"));
    EXPECT_EQ(windows[1]->text(), QStringLiteral("9:15 Call"));
    EXPECT_NE(windows[0]->pos(), windows[1]->pos());
    EXPECT_EQ(notifier->sent, std::vector<QString>({"Alarm|9:15 Meet", "Alarm|9:15 Call"}));
    tickAt(9, 10);
    EXPECT_EQ(alarms->openWindows().size(), 2U) << "the same minute again sounds nothing";
}

TEST_F(AlarmsInFrame, SuspendShowsTheMissedAlarmOnceMarkedLate)
{
    start({"12/7/2026 9:15 Meet\r\n"});
    tickAt(9, 6);
    tickAt(9, 40);
    tickAt(9, 41);
    const auto windows = alarms->openWindows();
    ASSERT_EQ(windows.size(), 1U);
    EXPECT_TRUE(windows[0]->text().contains(QStringLiteral("late")));
    ASSERT_EQ(notifier->sent.size(), 1U);
    EXPECT_TRUE(notifier->sent[0].startsWith(QStringLiteral("Late alarm, due at 9:10 A.M.")));
}

TEST_F(AlarmsInFrame, SetTimerCountsDownAndRings)
{
    start({});
    prompter.pushText(QStringLiteral("5"));
    frame->carryOut(Cm::SetTimer);
    EXPECT_EQ(pane(), QStringLiteral("Timer: 5 minutes"));
    prompter.pushText(QStringLiteral("abc"));
    frame->carryOut(Cm::SetTimer);
    ASSERT_EQ(prompter.asked().size(), 2U);
    EXPECT_EQ(prompter.asked()[1].text, QStringLiteral("Minutes until bell: "));
    tickAt(9, 9);
    EXPECT_EQ(pane(), QStringLiteral("Timer: 1 minute "));
    EXPECT_TRUE(alarms->openWindows().empty());
    tickAt(9, 10);
    ASSERT_EQ(alarms->openWindows().size(), 1U);
    EXPECT_EQ(alarms->openWindows()[0]->text(), QStringLiteral("Timer has gone off!"));
}

// The tick writes the field the window gave it, found by no search: renamed, it is still
// written, while menus and actions are made and freed around every tick.
TEST_F(AlarmsInFrame, TheTickWritesItsOwnFieldWhileObjectsComeAndGo)
{
    start({"12/7/2026 9:15 Meet\r\n"});
    QLabel *field = frame->alarmField();
    ASSERT_NE(field, nullptr);
    field->setObjectName(QStringLiteral("renamed"));
    for (int minute = 0; minute < 5; ++minute) {
        auto *popup = new QMenu(frame.get());
        for (int i = 0; i < 20; ++i)
            popup->addAction(QStringLiteral("item %1").arg(i));
        popup->popup(QPoint(10, 10));
        QTest::keyClick(popup, Qt::Key_Escape);
        delete popup;
        tickAt(9, 5 + minute);
        EXPECT_EQ(field->text(), QStringLiteral("Next alarm  9:10 A.M.")) << minute;
    }
    app->changeSetting(settingkeys::ALARM, false);
    EXPECT_EQ(field->text(), QStringLiteral("Alarm off"));
}

// The countdown is announced on the desktop like any alarm, and closing a window (by key
// or by its frame) takes its own notification away, no other.
TEST_F(AlarmsInFrame, TimerNotifiesAndClosingAWindowWithdrawsItsNotification)
{
    start({"12/7/2026 9:15 Meet\r\n"});
    prompter.pushText(QStringLiteral("5"));
    frame->carryOut(Cm::SetTimer);
    tickAt(9, 10);
    const auto windows = alarms->openWindows();
    ASSERT_EQ(windows.size(), 2U);
    const std::vector<QString> both {"Timer|Timer has gone off!", "Alarm|9:15 Meet"};
    EXPECT_EQ(notifier->sent, both);
    EXPECT_TRUE(notifier->withdrawn.empty());
    QPointer<TAlarmWindow> meet(windows[1]);
    QTest::keyClick(windows[1], Qt::Key_Escape);
    EXPECT_EQ(notifier->withdrawn, std::vector<QString> {"Alarm|9:15 Meet"});
    windows[0]->close();
    EXPECT_EQ(notifier->withdrawn, (std::vector<QString> {"Alarm|9:15 Meet", both[0]}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return meet.isNull(); }));
    EXPECT_EQ(notifier->withdrawn.size(), 2U) << "deleting a closed window withdraws nothing";
}

// The service's id comes after the send: a notification withdrawn before then is closed
// when it comes, and each is closed once.
TEST(NotificationIds, EachSentNotificationIsClosedOnceWhateverTheOrder)
{
    struct Case
    {
        const char *name;
        std::vector<std::string> steps; // "sent", "answer", "withdraw", "fail"
        std::vector<std::uint32_t> closed;
        std::size_t held;
    };
    const Case cases[] = {
        {"answer then withdraw", {"sent", "answer", "withdraw"}, {7}, 0},
        {"withdraw then answer", {"sent", "withdraw", "answer"}, {7}, 0},
        {"withdrawn twice", {"sent", "answer", "withdraw", "withdraw"}, {7}, 0},
        {"never withdrawn", {"sent", "answer"}, {}, 1},
        {"failed send", {"sent", "fail", "withdraw", "answer"}, {}, 0},
        {"unknown key", {"withdraw", "answer"}, {}, 0},
    };
    for (const Case &c : cases) {
        NotificationIds ids;
        std::vector<std::uint32_t> closed;
        for (const std::string &step : c.steps) {
            std::optional<std::uint32_t> close;
            if (step == "sent")
                ids.sent(1);
            else if (step == "answer")
                close = ids.answered(1, 7);
            else if (step == "withdraw")
                close = ids.withdraw(1);
            else
                ids.failed(1);
            if (close)
                closed.push_back(*close);
        }
        EXPECT_EQ(closed, c.closed) << c.name;
        EXPECT_EQ(ids.held(), c.held) << c.name;
    }
}

TEST_F(AlarmsInFrame, AlarmOffIsSilentAndCurrentAlarmsAreListed)
{
    start({"12/7/2026 9:15 Meet\r\n12/8/2026 0:03 Early\r\n"});
    frame->app().changeSetting(settingkeys::ALARM, false);
    EXPECT_EQ(pane(), QStringLiteral("Alarm off"));
    tickAt(9, 10);
    tickAt(9, 11);
    EXPECT_TRUE(alarms->openWindows().empty());
    frame->app().changeSetting(settingkeys::ALARM, true);
    EXPECT_TRUE(alarms->openWindows().empty()) << "switching on does not replay";

    frame->carryOut(Cm::ShowAlarms);
    auto *dialog = frame->findChild<TDayDialog *>(QStringLiteral("currentAlarms"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Alarms for December 7, 2026"));
    EXPECT_EQ(dialog->text(),
              QStringLiteral("Alarm\tAppointment\r\n\r\n9:10 A.M.\t9:15 Meet\r\n"
                             "11:58 P.M.\t0:03 Early\r\n"));
    dialog->close();
}

TEST_F(AlarmsInFrame, MidnightMovesTheWindowToTheNewDay)
{
    start({"12/8/2026 0:30 Early\r\n"});
    app->setDateWindow(DateWindow::make(app->dateWindow().today, TDate(1, 3, 2027), 30));
    frame->documents().refreshAll();
    tickAt(0, 20, QDate(2026, 12, 8));
    EXPECT_EQ(app->dateWindow().start, TDate(8, 12, 2026));
    EXPECT_EQ(frame->documents().document(0)->window().start, TDate(8, 12, 2026));
    tickAt(0, 25, QDate(2026, 12, 8));
    ASSERT_EQ(alarms->openWindows().size(), 1U);
}

} // namespace

// A file view silences its own document only, and opening and closing two of them in any
// order never writes ALARM: the user's own change while they are open is what stays.
TEST_F(AlarmsInFrame, FileViewsSilenceTheirDocumentsAndLeaveTheAlarmSettingAlone)
{
    start({"12/7/2026 9:15 Meet\r\n12/7/2026 9:25 Later\r\n", "12/7/2026 9:15 Call\r\n"});
    tickAt(9, 6);
    DVDocManager &docs = frame->documents();
    TApptDocument *first = docs.document(0);
    TApptDocument *second = docs.document(1);
    const auto toggleFileView = [&](TApptDocument *doc) {
        frame->client()->setActiveSubWindow(docs.windowOf(*doc));
        ASSERT_EQ(docs.current(), doc);
        frame->runCommand(Cm::ViewFile);
    };
    toggleFileView(first);
    ASSERT_NE(docs.viewWindow(*first, FileViewSlot), nullptr);
    EXPECT_EQ(pane(), QStringLiteral("Alarms disabled in this view"));
    tickAt(9, 10);
    ASSERT_EQ(alarms->openWindows().size(), 1U) << "the other document still sounds";
    EXPECT_EQ(alarms->openWindows()[0]->text(), QStringLiteral("9:15 Call"));

    toggleFileView(second);
    frame->app().changeSetting(settingkeys::ALARM, false); // the user's own choice
    toggleFileView(first); // closed first although opened first
    EXPECT_EQ(docs.viewWindow(*first, FileViewSlot), nullptr);
    EXPECT_NE(docs.viewWindow(*first, ListViewSlot), nullptr);
    toggleFileView(second);
    EXPECT_FALSE(frame->app().settings().alarm);
    frame->app().changeSetting(settingkeys::ALARM, true);
    toggleFileView(first);
    toggleFileView(first);
    EXPECT_TRUE(frame->app().settings().alarm);
    tickAt(9, 20);
    const auto windows = alarms->openWindows();
    EXPECT_TRUE(std::any_of(windows.begin(), windows.end(), [](const TAlarmWindow *w) {
        return w->text() == QStringLiteral("9:25 Later");
    })) << "the closed view's document sounds again";
    EXPECT_NE(pane(), QStringLiteral("Alarms disabled in this view"));
}
