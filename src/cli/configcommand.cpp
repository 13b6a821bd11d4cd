#include "configcommand.h"

#include "clioptions.h"
#include "settings/configrules.h"
#include "settings/platformprobe.h"
#include "settings/settings.h"

#include <iostream>

namespace dvw {

namespace {

// The settings of the profile, as the desktop program would load them.
struct LoadedSettings
{
    explicit LoadedSettings(const CliOptions &o)
        : store(o.profile)
        , settings(Settings::load(store, FixedProbe(0, 0)))
    { }

    std::optional<std::string> stored(const SettingDef &def)
    {
        store.open();
        std::optional<std::string> text = store.readStored(def.name);
        store.close();
        return text;
    }

    SettingsStore store;
    Settings settings;
};

int badArguments(std::ostream &err, const std::string &problem)
{
    err << "dayvane-cli: config: " << problem << "\n";
    return 2;
}

std::optional<ConfigRule> ruleNamed(const std::string &name, std::ostream &err)
{
    std::optional<ConfigRule> rule = findConfigRule(name);
    if (!rule)
        badArguments(err, "no setting '" + name + "' (config list names them all)");
    return rule;
}

void printSetting(LoadedSettings &loaded, const SettingDef &def, std::ostream &out)
{
    out << def.name << '=' << loaded.stored(def).value_or(storedSettingText(loaded.settings, def))
        << '\n';
}

int listSettings(const CliOptions &o, std::ostream &out)
{
    LoadedSettings loaded(o);
    for (const SettingDef &def : settingTable())
        printSetting(loaded, def, out);
    return 0;
}

int getSetting(const CliOptions &o, const std::string &name, std::ostream &out, std::ostream &err)
{
    const std::optional<ConfigRule> rule = ruleNamed(name, err);
    if (!rule)
        return 2;
    LoadedSettings loaded(o);
    printSetting(loaded, *rule->def, out);
    return 0;
}

// Writes the one value and says so.
int writeOne(LoadedSettings &loaded, const ConfigRule &rule, const TypedValue &value,
             std::ostream &out, std::ostream &err)
{
    setSettingValue(loaded.settings, *rule.def, value.value);
    const StoreResult stored = loaded.settings.saveOne(loaded.store, *rule.def);
    if (!stored.ok) {
        err << "dayvane-cli: config: " << rule.def->name << " not written: " << stored.reason
            << "\n";
        return 1;
    }
    out << rule.def->name << '=' << value.storedText << '\n';
    if (rule.restartNotice)
        err << "dayvane-cli: " << kRestartNotice << "\n";
    return 0;
}

int setSetting(const CliOptions &o, const std::string &name, const std::string &typed,
               std::ostream &out, std::ostream &err)
{
    const std::optional<ConfigRule> rule = ruleNamed(name, err);
    if (!rule)
        return 2;
    LoadedSettings loaded(o);
    const TypedValue value = readTypedValue(*rule, typed, loaded.settings);
    switch (value.verdict) {
    case TypedValue::Verdict::Accepted:
        return writeOne(loaded, *rule, value, out, err);
    case TypedValue::Verdict::Unreadable:
        return badArguments(err, name + " takes " + acceptedText(*rule) + ", not '" + typed + "'");
    case TypedValue::Verdict::OutOfRange:
        err << "dayvane-cli: config: '" << typed << "' is out of range: " << name << " takes "
            << acceptedText(*rule) << "; nothing written\n";
        return 3;
    }
    return 2;
}

int toggleSetting(const CliOptions &o, const std::string &name, std::ostream &out,
                  std::ostream &err)
{
    const std::optional<ConfigRule> rule = ruleNamed(name, err);
    if (!rule)
        return 2;
    if (rule->input != ConfigInput::Flag)
        return badArguments(err, name + " is no on/off setting; use config set");
    LoadedSettings loaded(o);
    if (rule->def->machineDefault && !loaded.stored(*rule->def)) {
        return badArguments(err,
                            name
                                + " has no stored value and its default depends on the "
                                  "screen; use config set "
                                + name + " 0|1");
    }
    const SettingValue now = settingValue(loaded.settings, *rule->def);
    const bool on
        = std::holds_alternative<bool>(now) ? std::get<bool>(now) : std::get<int>(now) != 0;
    return writeOne(loaded, *rule, readTypedValue(*rule, on ? "0" : "1", loaded.settings), out,
                    err);
}

} // namespace

int runConfig(const CliOptions &o, std::ostream &out, std::ostream &err)
{
    const std::vector<std::string> &p = o.positional;
    const std::string action = p.empty() ? std::string() : p[0];
    if (action == "list" && p.size() == 1)
        return listSettings(o, out);
    if (action == "get" && p.size() == 2)
        return getSetting(o, p[1], out, err);
    if (action == "set" && p.size() == 3)
        return setSetting(o, p[1], p[2], out, err);
    if (action == "toggle" && p.size() == 2)
        return toggleSetting(o, p[1], out, err);
    return badArguments(err, "takes list, get NAME, set NAME VALUE or toggle NAME");
}

} // namespace dvw
