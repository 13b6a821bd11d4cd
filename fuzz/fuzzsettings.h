#pragma once

#include "core/datetextsettings.h"

#include <cstdint>

namespace dvw::fuzz {

// The date settings one fuzz input byte picks: bit 0 day-first dates, bit 1 military
// times, the rest a century break from 0 to 100.
inline DateTextSettings dateSettingsFromByte(std::uint8_t selector)
{
    DateTextSettings settings;
    settings.european = (selector & 1) != 0;
    settings.military = (selector & 2) != 0;
    settings.centuryBreak = (selector >> 2) % 101;
    return settings;
}

} // namespace dvw::fuzz
