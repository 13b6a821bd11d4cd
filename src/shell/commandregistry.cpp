#include "commandregistry.h"

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

bool CommandRegistry::canRun(int command) const
{
    const auto it = m_entries.find(command);
    return it != m_entries.end() && (!it->second.enabled || it->second.enabled());
}

bool CommandRegistry::run(int command) const
{
    if (!canRun(command))
        return false;
    // A copy: the handler may destroy the registry with its window (Exit).
    const Run handler = m_entries.at(command).run;
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
