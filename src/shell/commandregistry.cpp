#include "commandregistry.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace dvw {

void CommandRegistry::add(int command, Run run, Rule enabled)
{
    if (!run)
        throw std::logic_error("command " + std::to_string(command) + " has no handler");
    // Two modules answering one number would make the menu run whichever came last.
    if (!m_entries.emplace(command, Entry {std::move(run), std::move(enabled)}).second)
        throw std::logic_error("command " + std::to_string(command) + " is registered twice");
}

void CommandRegistry::addOverride(int command, Run run, Rule active, Rule enabled)
{
    if (!run || !active)
        throw std::logic_error("override of command " + std::to_string(command)
                               + " needs a handler and a rule for when it is active");
    m_overrides.emplace(command, Override {std::move(run), std::move(active), std::move(enabled)});
}

const CommandRegistry::Run *CommandRegistry::handlerNow(int command, bool &enabled) const
{
    const auto [first, last] = m_overrides.equal_range(command);
    for (auto it = first; it != last; ++it) {
        if (it->second.active()) {
            enabled = !it->second.enabled || it->second.enabled();
            return &it->second.run;
        }
    }
    const auto it = m_entries.find(command);
    if (it == m_entries.end())
        return nullptr;
    enabled = !it->second.enabled || it->second.enabled();
    return &it->second.run;
}

bool CommandRegistry::canRun(int command) const
{
    bool enabled = false;
    return handlerNow(command, enabled) != nullptr && enabled;
}

bool CommandRegistry::run(int command) const
{
    bool enabled = false;
    const Run *found = handlerNow(command, enabled);
    if (found == nullptr || !enabled)
        return false;
    // A copy: the handler may destroy the registry with its window (Exit).
    const Run handler = *found;
    handler();
    return true;
}

std::vector<int> CommandRegistry::commands() const
{
    std::vector<int> numbers;
    numbers.reserve(m_entries.size());
    for (const auto &[command, entry] : m_entries)
        numbers.push_back(command);
    for (const auto &[command, entry] : m_overrides) {
        if (m_entries.count(command) == 0 && (numbers.empty() || numbers.back() != command))
            numbers.push_back(command);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

} // namespace dvw
