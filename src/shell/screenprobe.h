#pragma once

#include "settings/platformprobe.h"

namespace dvw {

// The machine as Qt sees it: the primary screen's width and the audio input devices.
class ScreenProbe : public PlatformProbe
{
public:
    int screenWidth() const override;
    int waveInputDeviceCount() const override;
};

} // namespace dvw
