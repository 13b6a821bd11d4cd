#pragma once

#include <functional>
#include <map>
#include <vector>

namespace dvw {

class CommandTarget;

// Who carries out each command number and when it may run. The main window registers
// File, Window and Help; each feature registers its own commands from its install
// function. A command with no registration stays in the menus, disabled. The active view
// is asked first: a command its CommandTarget handles is the view's alone.
class CommandRegistry
{
public:
    using Run = std::function<void()>;
    // Empty: the command can always run.
    using Rule = std::function<bool()>;
    // The active view's target, or null; asked at every call.
    using TargetFinder = std::function<CommandTarget *()>;

    // A number registered twice, or a registration without a handler, is a programming
    // error: it throws std::logic_error naming the number.
    void add(int command, Run run, Rule enabled = {});
    void setTargetFinder(TargetFinder finder) { m_findTarget = std::move(finder); }

    // Registered, or handled by the active view.
    bool has(int command) const;
    // Registered (or the active view's), and its rule (if any) allows it now.
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
    // The active view's target when it handles the command, else null.
    CommandTarget *targetFor(int command) const;

    std::map<int, Entry> m_entries;
    TargetFinder m_findTarget;
};

} // namespace dvw
