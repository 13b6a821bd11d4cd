#pragma once

#include <functional>
#include <map>
#include <vector>

namespace dvw {

// Who carries out each command number and when it may run. The main window registers
// File, Window and Help; each feature registers its own commands from its install
// function. A command with no registration stays in the menus, disabled.
class CommandRegistry
{
public:
    using Run = std::function<void()>;
    // Empty: the command can always run.
    using Rule = std::function<bool()>;

    // A number registered twice, or a registration without a handler, is a programming
    // error: it throws std::logic_error naming the number.
    void add(int command, Run run, Rule enabled = {});
    // A view's own meaning of a number the main menu uses too (the file view's Edit and
    // Delete, its Find): while `active` holds, the command runs `run`, enabled by `enabled`
    // (always when empty), instead of its registration, which may come before or after, or
    // never. The first override whose `active` holds wins.
    void addOverride(int command, Run run, Rule active, Rule enabled = {});

    bool has(int command) const
    {
        return m_entries.count(command) != 0 || m_overrides.count(command) != 0;
    }
    // Registered, and its rule (if any) allows it now.
    bool canRun(int command) const;
    // Runs the command when it can run; whether it ran.
    bool run(int command) const;
    // The registered numbers, in ascending order.
    std::vector<int> commands() const;

private:
    struct Entry
    {
        Run run;
        Rule enabled;
    };
    struct Override
    {
        Run run;
        Rule active;
        Rule enabled;
    };
    // The registration that answers the command now: an active override's or the command's
    // own; null when there is none.
    const Run *handlerNow(int command, bool &enabled) const;

    std::map<int, Entry> m_entries;
    std::multimap<int, Override> m_overrides;
};

} // namespace dvw
