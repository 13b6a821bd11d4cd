#include "alarmsound.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <sys/stat.h>

namespace dvw {

bool IsPlayableSoundFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    struct stat st
    { };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return S_ISREG(st.st_mode) && st.st_size <= maxSoundFileBytes;
}

SystemSoundPlayer::SystemSoundPlayer() = default;
SystemSoundPlayer::~SystemSoundPlayer() = default;

void SystemSoundPlayer::play(const QString &path)
{
    if (!IsPlayableSoundFile(path))
        return;
    if (!m_probed) {
        m_probed = true;
        m_hasOutput = !QMediaDevices::audioOutputs().isEmpty();
    }
    if (!m_hasOutput)
        return;
    if (!m_effect)
        m_effect = std::make_unique<QSoundEffect>();
    m_effect->stop();
    const QUrl url = QUrl::fromLocalFile(path);
    if (m_effect->source() != url)
        m_effect->setSource(url);
    m_effect->play();
}

void SystemSoundPlayer::stop()
{
    if (m_effect)
        m_effect->stop();
}

void SystemSoundPlayer::beep()
{
    QApplication::beep();
}

} // namespace dvw
