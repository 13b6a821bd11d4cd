#pragma once

#include <QString>

#include <memory>

class QSoundEffect;

namespace dvw {

// The sound service of the alarms: play a sound file without waiting, stop it, or give the
// standard beep. A new sound stops the one that is playing.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString &path) = 0;
    virtual void stop() = 0;
    virtual void beep() = 0;
};

// Larger sound files are refused: an alarm never waits for a big read.
inline constexpr qint64 maxSoundFileBytes = 16 * 1024 * 1024;

// Whether path names a regular file (links followed) of at most maxSoundFileBytes. Only
// the file's status is read, so a FIFO or a device never blocks the check.
bool IsPlayableSoundFile(const QString &path);

// Plays through the system's default audio output, made when the first sound is asked
// for. Without an output device, or for a file IsPlayableSoundFile refuses, nothing plays.
class SystemSoundPlayer : public SoundPlayer
{
public:
    SystemSoundPlayer();
    ~SystemSoundPlayer() override;

    void play(const QString &path) override;
    void stop() override;
    void beep() override;

private:
    std::unique_ptr<QSoundEffect> m_effect;
    bool m_probed = false;
    bool m_hasOutput = false;
};

} // namespace dvw
