#include "standardkeys.h"

#include "commands.h"

namespace dvw {

const std::vector<StandardKeyCommand> &StandardKeyCommands()
{
    static const std::vector<StandardKeyCommand> table = {
        {Cm::FileNew, QKeySequence::New},   {Cm::FileOpen, QKeySequence::Open},
        {Cm::FileSave, QKeySequence::Save}, {Cm::FileClose, QKeySequence::Close},
        {Cm::Exit, QKeySequence::Quit},     {Cm::HelpContents, QKeySequence::HelpContents},
    };
    return table;
}

QList<QKeySequence> FreeStandardKeys(const QList<QKeySequence> &platform,
                                     const QList<QKeySequence> &taken)
{
    QList<QKeySequence> free;
    for (const QKeySequence &key : platform) {
        if (!key.isEmpty() && !taken.contains(key) && !free.contains(key))
            free.append(key);
    }
    return free;
}

} // namespace dvw
