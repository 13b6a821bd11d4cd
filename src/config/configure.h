#pragma once

#include <memory>
#include <vector>

namespace dvw {

class ConfigChoosers;
struct FeatureServices;
class TDVDecoratedMDIFrame;

// One item of the Configure menu: its command and the setting it changes. "Colors" changes
// COLOR1 to COLOR15 and names none.
struct ConfigItem
{
    int command;
    const char *setting;
};

// Every item of the Configure menu, in menu order.
const std::vector<ConfigItem> &ConfigItems();

// What the Configure items alone use besides the features' services.
struct ConfigureServices
{
    // Null: the desktop's font, colour and file dialogs.
    std::shared_ptr<ConfigChoosers> choosers;
};

// Registers every Configure item. Each changes its setting through dvwApp::changeSetting
// with the rule `dayvane-cli config` applies (settings/configrules.h); a value that rule
// refuses, and a change the settings file did not take, is told and changes nothing. Flag
// items show their check marks, which follow every change of their settings; "Interval" is
// enabled only while SOUND and SOUNDCARD are on.
void InstallConfigure(TDVDecoratedMDIFrame &frame, const FeatureServices &services,
                      ConfigureServices own = {});

} // namespace dvw
