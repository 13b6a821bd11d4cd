#include "commandregistry.h"

#include "commandtarget.h"

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

CommandTarget *CommandRegistry::targetFor(int command) const
{
    CommandTarget *target = m_findTarget ? m_findTarget() : nullptr;
    return target && target->handles(command) ? target : nullptr;
}

bool CommandRegistry::has(int command) const
{
    return m_entries.count(command) != 0 || targetFor(command) != nullptr;
}

bool CommandRegistry::canRun(int command) const
{
    if (const CommandTarget *target = targetFor(command))
        return target->enabled(command);
    const auto it = m_entries.find(command);
    return it != m_entries.end() && (!it->second.enabled || it->second.enabled());
}

bool CommandRegistry::run(int command) const
{
    if (CommandTarget *target = targetFor(command)) {
        if (!target->enabled(command))
            return false;
        target->run(command);
        return true;
    }
    const auto it = m_entries.find(command);
    if (it == m_entries.end() || (it->second.enabled && !it->second.enabled()))
        return false;
    // A copy: the handler may destroy the registry with its window (Exit).
    const Run handler = it->second.run;
    handler();
    return true;
}

std::vector<int> CommandRegistry::commands() const
{
    std::vector<int> numbers;
    numbers.reserve(m_entries.size());
    for (const auto &[command, entry] : m_entries)
        numbers.push_back(command);
    return numbers;
}

} // namespace dvw
