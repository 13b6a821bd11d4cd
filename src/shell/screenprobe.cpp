#include "screenprobe.h"

#include <QAudioDevice>
#include <QGuiApplication>
#include <QMediaDevices>
#include <QScreen>

namespace dvw {

int ScreenProbe::screenWidth() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

int ScreenProbe::waveInputDeviceCount() const
{
    return static_cast<int>(QMediaDevices::audioInputs().size());
}

} // namespace dvw
