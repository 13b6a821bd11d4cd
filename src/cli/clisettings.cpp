#include "clisettings.h"

#include "clioptions.h"
#include "settings/platformprobe.h"
#include "settings/settings.h"
#include "settings/settingslimits.h"

namespace dvw {

Settings loadStoredSettings(const CliOptions &o)
{
    // No screen and no sound devices: only the defaults of display and alarm settings
    // depend on them, and no command uses those.
    const FixedProbe headless(0, 0);
    SettingsStore store(o.profile);
    return Settings::load(store, headless);
}

CliSettings loadCliSettings(const CliOptions &o)
{
    const Settings stored = loadStoredSettings(o);

    CliSettings s;
    s.dateText.european = o.european.value_or(stored.european);
    s.dateText.military = o.military.value_or(stored.military);
    s.dateText.centuryBreak = usableCenturyBreak(o.centuryBreak.value_or(stored.centuryBreak));
    s.days = usableDays(o.days.value_or(stored.days));
    s.nag = usableNagDays(o.nag.value_or(stored.nag));
    s.unimportant = usableUnimportantDay(o.unimportant.value_or(stored.unimportant));
    s.allCategories = o.allCategories.value_or(stored.allCategories);
    s.multiline = stored.multiLine;
    s.advance = usableAdvanceMinutes(o.advance.value_or(stored.advance));
    s.apptFile = stored.apptFile;
    s.archiveFile = stored.archiveFile;
    return s;
}

} // namespace dvw
