#include "talarmwindow.h"

#include "alarmsound.h"
#include "settings/settingslimits.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace dvw {

AlarmSoundPlan AlarmSoundPlan::of(bool sound, bool soundCard, const QString &waveFile, int duration,
                                  int interval)
{
    AlarmSoundPlan plan;
    plan.sound = sound;
    plan.beepMode = !(soundCard && !waveFile.isEmpty());
    const int plays = usableDuration(duration); // [0, 3600]
    plan.unlimited = plays == 0;
    plan.limit = plan.beepMode ? plays * beepsPerSecond : plays;
    plan.periodMs = plan.beepMode ? 1000 / beepsPerSecond : usableIntervalSeconds(interval) * 1000;
    return plan;
}

QPoint FirstAlarmPlace()
{
    return {50, 50};
}

QPoint NextAlarmPlace(QPoint place)
{
    int x = place.x() + 20;
    int y = place.y();
    if (x >= 200) {
        x = 50;
        y += 20;
        if (y > 130)
            y = 50;
    }
    return {x, y};
}

QString CutAlarmText(const QString &text)
{
    if (text.size() <= maxAlarmTextChars)
        return text;
    int cut = maxAlarmTextChars;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut);
}

TAlarmWindow::TAlarmWindow(const QString &text, const AlarmSoundPlan &plan, const QString &waveFile,
                           std::shared_ptr<SoundPlayer> player, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
    , m_plan(plan)
    , m_waveFile(waveFile)
    , m_player(std::move(player))
    , m_label(new QLabel(this))
{
    setObjectName(QStringLiteral("alarmWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Dayvane alarm"));
    resize(200, 200);
    m_label->setObjectName(QStringLiteral("alarmText"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label->setText(CutAlarmText(text));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    m_timer.setObjectName(QStringLiteral("alarmSoundTimer"));
    connect(&m_timer, &QTimer::timeout, this, &TAlarmWindow::repeat);
}

QString TAlarmWindow::text() const
{
    return m_label->text();
}

void TAlarmWindow::start()
{
    if (m_plan.sound && !m_plan.beepMode) {
        m_player->stop();
        soundOnce();
    }
    show();
    raise();
    activateWindow();
    if (m_plan.sound) {
        m_timer.setInterval(m_plan.periodMs);
        m_timer.start();
    }
}

void TAlarmWindow::repeat()
{
    if (!m_plan.unlimited && m_plays >= m_plan.limit) {
        m_timer.stop();
        return;
    }
    soundOnce();
    if (!m_plan.unlimited && m_plays >= m_plan.limit)
        m_timer.stop();
}

void TAlarmWindow::soundOnce()
{
    if (m_plan.beepMode) {
        m_player->beep();
    } else {
        m_player->stop();
        m_player->play(m_waveFile);
    }
    ++m_plays;
}

void TAlarmWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Space) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TAlarmWindow::closeEvent(QCloseEvent *event)
{
    m_timer.stop();
    QWidget::closeEvent(event);
    emit closed();
}

} // namespace dvw
