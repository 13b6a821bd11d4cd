#pragma once

#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <memory>

class QLabel;

namespace dvw {

class SoundPlayer;

// How an alarm window sounds, from the alarm settings.
struct AlarmSoundPlan
{
    bool sound = false; // SOUND: silent windows start no timer
    bool beepMode = false; // beeps instead of playing the file
    int limit = 0; // plays (or beeps) in all
    bool unlimited = false; // DURATION 0: until the window closes
    int periodMs = 0; // between repeats

    static constexpr int beepsPerSecond = 8;

    // duration and interval as stored; they are held to their usable ranges here.
    static AlarmSoundPlan of(bool sound, bool soundCard, const QString &waveFile, int duration,
                             int interval);
};

// The first place of an alarm window, and the one after a given place: windows step 20
// pixels right, back to x 50 (and 20 down) once x reaches 200, and back to y 50 past 130.
QPoint FirstAlarmPlace();
QPoint NextAlarmPlace(QPoint place);

// Alarm texts longer than this are cut, on a whole character.
inline constexpr int maxAlarmTextChars = 1000;
QString CutAlarmText(const QString &text);

// One open alarm: a small window on top of the others that shows the text as plain text
// and repeats its sound on its own timer. Esc or Space closes it, which stops the timer.
class TAlarmWindow : public QWidget
{
    Q_OBJECT
public:
    TAlarmWindow(const QString &text, const AlarmSoundPlan &plan, const QString &waveFile,
                 std::shared_ptr<SoundPlayer> player, QWidget *parent = nullptr);

    // The first sound, then the repeat timer; shows the window and raises it.
    void start();
    // One repeat, as the timer gives it.
    void repeat();

    const QTimer &repeatTimer() const { return m_timer; }
    int plays() const { return m_plays; }
    QString text() const;

signals:
    // The window was closed (it is deleted a moment later).
    void closed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void soundOnce();

    AlarmSoundPlan m_plan;
    QString m_waveFile;
    std::shared_ptr<SoundPlayer> m_player;
    QLabel *m_label;
    QTimer m_timer;
    int m_plays = 0;
};

} // namespace dvw
