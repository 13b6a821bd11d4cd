#pragma once

#include "alarmrules.h"

#include <QDateTime>
#include <QObject>
#include <QPoint>
#include <QPointer>

#include <map>
#include <memory>
#include <vector>

class QLabel;

namespace dvw {

class AlarmNotifier;
struct FeatureServices;
class Prompter;
class SoundPlayer;
class TAlarmWindow;
class TDVDecoratedMDIFrame;
class TApptDocument;

// The time as the alarm rules read it: the local date and minute, and the epoch minute.
ClockReading ClockReadingOf(const QDateTime &now);

// The alarm clock of the main window: the client's tick drives the rules, rolls the
// documents over to a new day, opens the alarm windows and writes the alarm pane. It
// carries out "Set timer" and "Show current alarms", and follows the ALARM setting, which
// the Configure menu switches.
class AlarmController : public QObject
{
    Q_OBJECT
public:
    AlarmController(TDVDecoratedMDIFrame &frame, Prompter &prompter,
                    std::shared_ptr<SoundPlayer> player, std::shared_ptr<AlarmNotifier> notifier);
    ~AlarmController() override;

    void tick(const QDateTime &now);
    void setTimer();
    void showCurrentAlarms();
    void settingChanged(const QString &name);
    // Opens one alarm window at the next cascade place.
    TAlarmWindow *showAlarm(const QString &text);
    // The text that a countdown's window and notification show.
    static QString timerText();

    AlarmClock &rules() { return m_clock; }
    std::vector<TAlarmWindow *> openWindows() const;

private:
    std::vector<AlarmDocument> openDocuments();
    void rollOver(TDate today);
    void setPane(const QString &text);
    // An alarm window and its desktop notification, which closing the window withdraws.
    void raiseAlarm(const QString &text, const QString &summary, const QString &body);

    TDVDecoratedMDIFrame &m_frame;
    Prompter &m_prompter;
    std::shared_ptr<SoundPlayer> m_player;
    std::shared_ptr<AlarmNotifier> m_notifier;
    AlarmClock m_clock;
    QPoint m_nextPlace;
    std::map<const TApptDocument *, std::uint64_t> m_ids;
    std::uint64_t m_nextId = 1;
    std::vector<QPointer<TAlarmWindow>> m_windows;
    // The status bar's alarm field, written on the tick: held, never looked up again.
    QPointer<QLabel> m_pane;
};

// Installs the alarm clock in the main window and registers its commands. Without a
// player or a notifier the system's are used.
AlarmController &InstallAlarms(TDVDecoratedMDIFrame &frame, const FeatureServices &services,
                               std::shared_ptr<SoundPlayer> player = {},
                               std::shared_ptr<AlarmNotifier> notifier = {});

} // namespace dvw
