#pragma once

namespace dvw {

// The two facts about the machine that decide setting defaults: how wide the screen is
// and whether any wave input device exists. Behind an interface so that the settings load
// without a display or a sound system (the command-line tool, tests).
class PlatformProbe
{
public:
    virtual ~PlatformProbe() = default;

    // Width of the primary screen in pixels; 0 when there is no screen.
    virtual int screenWidth() const = 0;
    virtual int waveInputDeviceCount() const = 0;
};

// Answers fixed values: the command-line tool uses it with no screen and no sound
// devices, tests with whatever machine they pretend to be.
class FixedProbe : public PlatformProbe
{
public:
    FixedProbe(int screenWidth, int waveInputDeviceCount)
        : m_screenWidth(screenWidth)
        , m_waveInputDeviceCount(waveInputDeviceCount)
    { }

    int screenWidth() const override { return m_screenWidth; }
    int waveInputDeviceCount() const override { return m_waveInputDeviceCount; }

private:
    int m_screenWidth;
    int m_waveInputDeviceCount;
};

} // namespace dvw
