#include "alarms.h"

#include "alarmnotifier.h"
#include "alarmsound.h"
#include "core/datetext.h"
#include "platform/clock.h"
#include "platform/displaytext.h"
#include "platform/prompter.h"
#include "settings/settingkeys.h"
#include "settings/settingslimits.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwapp.h"
#include "shell/dvwmdiclient.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "talarmwindow.h"
#include "views/featureservices.h"
#include "views/tdaydialog.h"

#include <QLabel>

#include <algorithm>

namespace dvw {

ClockReading ClockReadingOf(const QDateTime &now)
{
    const QDate d = now.date();
    ClockReading r;
    r.date = TDate(static_cast<std::uint32_t>(d.day()), static_cast<std::uint32_t>(d.month()),
                   static_cast<std::uint32_t>(d.year()));
    r.minute = now.time().hour() * 60 + now.time().minute();
    const qint64 seconds = now.toSecsSinceEpoch();
    r.epochMinute = seconds / 60 - (seconds % 60 < 0 ? 1 : 0);
    return r;
}

AlarmController::AlarmController(TDVDecoratedMDIFrame &frame, Prompter &prompter,
                                 std::shared_ptr<SoundPlayer> player,
                                 std::shared_ptr<AlarmNotifier> notifier)
    : QObject(&frame)
    , m_frame(frame)
    , m_prompter(prompter)
    , m_player(std::move(player))
    , m_notifier(std::move(notifier))
    , m_clock(ClockReadingOf(frame.app().clock().now()))
    , m_nextPlace(FirstAlarmPlace())
    , m_pane(frame.alarmField())
{
    setObjectName(QStringLiteral("alarmController"));
}

AlarmController::~AlarmController() = default;

std::vector<AlarmDocument> AlarmController::openDocuments()
{
    std::vector<AlarmDocument> docs;
    std::map<const TApptDocument *, std::uint64_t> ids;
    DVDocManager &manager = m_frame.documents();
    for (int i = 0; i < manager.count(); ++i) {
        const TApptDocument *doc = manager.document(i);
        if (doc == nullptr)
            continue;
        const auto known = m_ids.find(doc);
        const std::uint64_t id = known != m_ids.end() ? known->second : m_nextId++;
        ids[doc] = id;
        // A file view changes line numbers under the alarm check: its document stays
        // silent while it is open.
        docs.push_back({doc, id, manager.viewWindow(*doc, FileViewSlot) != nullptr});
    }
    m_ids = std::move(ids);
    return docs;
}

void AlarmController::tick(const QDateTime &now)
{
    const ClockReading reading = ClockReadingOf(now);
    if (const std::optional<TDate> day = m_clock.dayChange(reading))
        rollOver(*day);
    if (!m_clock.needsCheck(reading))
        return;
    const Settings &s = m_frame.app().settings();
    const std::vector<AlarmDocument> docs = openDocuments();
    const AlarmClock::CheckResult result
        = m_clock.check(reading, docs, {s.alarm, usableAdvanceMinutes(s.advance)});
    if (!result.ran)
        return;
    setPane(QString::fromStdString(result.pane));
    if (result.timerFired)
        raiseAlarm(timerText(), QStringLiteral("Timer"), timerText());
    for (const Alarm &a : result.alarms) {
        const QString summary = a.late ? QStringLiteral("Late alarm, due at %1")
                                             .arg(QString::fromStdString(FormatTime(a.alarmMinute)))
                                       : QStringLiteral("Alarm");
        raiseAlarm(DisplayText(AlarmMessage(a)), summary, DisplayText(a.text));
    }
}

QString AlarmController::timerText()
{
    return QStringLiteral("Timer has gone off!");
}

void AlarmController::raiseAlarm(const QString &text, const QString &summary, const QString &body)
{
    TAlarmWindow *window = showAlarm(text);
    if (!m_notifier)
        return;
    const std::uint64_t key = m_notifier->notify(summary, body);
    connect(window, &TAlarmWindow::closed, this,
            [notifier = m_notifier, key] { notifier->withdraw(key); });
}

void AlarmController::rollOver(TDate today)
{
    dvwApp &app = m_frame.app();
    app.setDateWindow(DateWindow::make(today, today, usableDays(app.settings().days)));
    m_frame.documents().refreshAll();
}

void AlarmController::setPane(const QString &text)
{
    if (m_pane)
        m_pane->setText(text);
}

TAlarmWindow *AlarmController::showAlarm(const QString &text)
{
    const Settings &s = m_frame.app().settings();
    const QString wave = QString::fromStdString(m_frame.app().waveFileInUse());
    const AlarmSoundPlan plan
        = AlarmSoundPlan::of(s.sound, s.soundCard, wave, s.duration, s.interval);
    auto *window = new TAlarmWindow(text, plan, wave, m_player, &m_frame);
    window->move(m_nextPlace);
    m_nextPlace = NextAlarmPlace(m_nextPlace);
    m_windows.erase(std::remove(m_windows.begin(), m_windows.end(), nullptr), m_windows.end());
    m_windows.emplace_back(window);
    window->start();
    return window;
}

std::vector<TAlarmWindow *> AlarmController::openWindows() const
{
    std::vector<TAlarmWindow *> open;
    for (const QPointer<TAlarmWindow> &w : m_windows) {
        if (w && w->isVisible())
            open.push_back(w);
    }
    return open;
}

void AlarmController::setTimer()
{
    const ClockReading now = ClockReadingOf(m_frame.app().clock().now());
    const QString initial = m_clock.countdownActive()
        ? QString::number(m_clock.countdownMinutesLeft(now))
        : QString();
    const std::optional<QString> answer = m_prompter.askText(
        QStringLiteral("Timer"), QStringLiteral("Minutes until bell: "), initial);
    if (!answer)
        return;
    bool ok = false;
    const int minutes = answer->left(10).trimmed().toInt(&ok);
    if (ok && m_clock.setCountdown(now, minutes))
        tick(m_frame.app().clock().now());
}

void AlarmController::showCurrentAlarms()
{
    const TDate today = m_clock.today();
    const std::vector<AlarmDocument> docs = openDocuments();
    const Settings &s = m_frame.app().settings();
    auto *dialog = new TDayDialog(&m_frame);
    dialog->setObjectName(QStringLiteral("currentAlarms"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setCaption(QString::fromStdString(CurrentAlarmsCaption(today)));
    dialog->setText(DisplayText(CurrentAlarmsText(docs, today, usableAdvanceMinutes(s.advance))));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->open();
}

void AlarmController::settingChanged(const QString &name)
{
    if (name != QLatin1String(settingkeys::ALARM))
        return;
    if (!m_frame.app().settings().alarm)
        setPane(QStringLiteral("Alarm off"));
    m_clock.requestRecheck();
    tick(m_frame.app().clock().now());
}

AlarmController &InstallAlarms(TDVDecoratedMDIFrame &frame, const FeatureServices &services,
                               std::shared_ptr<SoundPlayer> player,
                               std::shared_ptr<AlarmNotifier> notifier)
{
    if (!player)
        player = std::make_shared<SystemSoundPlayer>();
    if (!notifier)
        notifier = std::make_shared<DesktopAlarmNotifier>();
    auto *alarms
        = new AlarmController(frame, *services.prompter, std::move(player), std::move(notifier));
    QObject::connect(frame.client(), &dvwMDIClient::ticked, alarms, &AlarmController::tick);
    // A new or changed line, a new document: the next tick checks the minute again.
    QObject::connect(&frame, &TDVDecoratedMDIFrame::commandCarriedOut, alarms,
                     [alarms, &frame](int command) {
                         alarms->rules().requestRecheck();
                         // Opening or closing a file view changes the alarm pane at once.
                         if (command == Cm::ViewFile || command == Cm::ViewAppointment)
                             alarms->tick(frame.app().clock().now());
                     });
    QObject::connect(&frame.documents(), &DVDocManager::documentsChanged, alarms,
                     [alarms] { alarms->rules().requestRecheck(); });
    CommandRegistry &commands = frame.commands();
    commands.add(Cm::SetTimer, [alarms] { alarms->setTimer(); });
    commands.add(Cm::ShowAlarms, [alarms] { alarms->showCurrentAlarms(); });
    QObject::connect(&frame.app(), &dvwApp::settingsChanged, alarms,
                     &AlarmController::settingChanged);
    frame.updateActions();
    alarms->tick(frame.app().clock().now());
    return *alarms;
}

} // namespace dvw
