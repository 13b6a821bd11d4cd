#pragma once

#include <QKeySequence>
#include <QList>

#include <vector>

namespace dvw {

// A command that also answers the platform's standard key for its kind of action.
struct StandardKeyCommand
{
    int command;
    QKeySequence::StandardKey key;
};

// New, Open, Save, Close, Quit and Help contents.
const std::vector<StandardKeyCommand> &StandardKeyCommands();

// The platform's sequences for the key, less those in `taken`: the program's own
// accelerators and the keys of other commands keep their meaning.
QList<QKeySequence> FreeStandardKeys(const QList<QKeySequence> &platform,
                                     const QList<QKeySequence> &taken);

} // namespace dvw
