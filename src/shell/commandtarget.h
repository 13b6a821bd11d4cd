#pragma once

namespace dvw {

// A view that gives commands a meaning of its own while it is the active view (the file
// view's Delete takes out a raw line, the calendar's Insert opens on its selected day).
// The command registry asks the active view's target before the feature's own handler:
// a command the target handles is enabled and run by the target alone.
class CommandTarget
{
public:
    virtual ~CommandTarget() = default;

    virtual bool handles(int command) const = 0;
    // Whether a handled command can run now.
    virtual bool enabled(int command) const = 0;
    // Runs a handled command; called only while enabled(command) holds.
    virtual void run(int command) = 0;
};

} // namespace dvw
