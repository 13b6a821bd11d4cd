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

    bool has(int command) const { return m_entries.count(command) != 0; }
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
    std::map<int, Entry> m_entries;
};

} // namespace dvw
