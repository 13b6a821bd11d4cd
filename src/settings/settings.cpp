#include "settings.h"

#include "platformprobe.h"
#include "settingslimits.h"
#include "settingstable.h"

namespace dvw {

namespace {

// The open failure when there was one, else how the writes went.
StoreResult closeBatch(SettingsStore &store, const StoreResult &opened)
{
    const StoreResult closed = store.close();
    return closed.ok ? opened : closed;
}

void writeSetting(const Settings &s, SettingsStore &store, const SettingDef &def)
{
    store.writeText(def.name, storedSettingText(s, def));
}

} // namespace

Settings Settings::defaults(const PlatformProbe &probe)
{
    Settings s;
    for (const SettingDef &def : settingTable())
        setSettingValue(s, def, settingDefault(def, probe, s));
    s.startCalView = s.calView;
    return s;
}

Settings Settings::load(SettingsStore &store, const PlatformProbe &probe)
{
    Settings s = defaults(probe);
    store.open(); // a store that cannot be opened answers every read with its default
    for (const SettingDef &def : settingTable()) {
        if (def.windowRect && s.fullScreen)
            continue; // a full-screen window keeps no position of its own
        if (def.machineDefault) // it may follow a setting loaded before it
            setSettingValue(s, def, def.machineDefault(probe, s));
        if (const std::optional<std::string> text = store.readStored(def.name))
            readStoredSettingText(s, def, *text);
    }
    s.startCalView = s.calView;
    store.close();
    return s;
}

StoreResult Settings::save(SettingsStore &store) const
{
    const StoreResult opened = store.open();
    for (const SettingDef &def : settingTable()) {
        if (!def.windowRect || !fullScreen)
            writeSetting(*this, store, def);
    }
    return closeBatch(store, opened);
}

StoreResult Settings::saveWindowRect(SettingsStore &store) const
{
    const StoreResult opened = store.open();
    for (const SettingDef &def : settingTable()) {
        if (def.windowRect && !fullScreen)
            writeSetting(*this, store, def);
    }
    return closeBatch(store, opened);
}

StoreResult Settings::saveOne(SettingsStore &store, const SettingDef &def) const
{
    const StoreResult opened = store.open();
    writeSetting(*this, store, def);
    return closeBatch(store, opened);
}

DateTextSettings Settings::dateText() const
{
    return {european, military, usableCenturyBreak(centuryBreak)};
}

} // namespace dvw
