#pragma once

#include "store/entryops.h"

#include <functional>
#include <optional>
#include <string>

namespace dvw {

class Prompter;
class TApptDocument;

// The sound an operation makes when it cannot do what was asked.
class Beeper
{
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

// The clipboard as the entry commands use it: one line's exact bytes.
class EntryClipboard
{
public:
    virtual ~EntryClipboard() = default;
    // False when the clipboard could not take the text (it is left as it was).
    virtual bool put(const std::string &lineBytes) = 0;
    // The text on the clipboard, none when it holds no text.
    virtual std::optional<std::string> text() const = 0;
};

// What the list's entry commands work with. chooseScope asks "this instance only or the
// entire cycle?": true for the cycle, none for Cancel.
struct EntryContext
{
    TApptDocument &doc;
    Prompter &prompter;
    Beeper &beeper;
    EntryClipboard &clipboard;
    std::function<std::optional<bool>()> chooseScope;
    bool promptBeforeDelete = true; // PROMPT
};

// The commands on the entry at a display position. Each captures its target before any
// question and acts only when the target still holds afterwards; anything that could not
// be done beeps. The outcome, when the document changed, says where the cursor goes.
std::optional<EntryOutcome> MarkDoneAt(EntryContext &context, std::int32_t position);
std::optional<EntryOutcome> DeleteAt(EntryContext &context, std::int32_t position);
// False (after a beep) when there is no entry or the clipboard refused the text.
bool CopyAt(EntryContext &context, std::int32_t position);

} // namespace dvw
