#pragma once

#include "platform/beeper.h"
#include "platform/entryclipboard.h"
#include "store/entryops.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace dvw {

class Prompter;
class TApptDocument;

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
    // The question before a note or a single appointment is deleted, asked whatever
    // PROMPT says; empty: "Delete entry?", asked only with PROMPT on.
    std::function<QString(const EntryTarget &)> confirmQuestion {};
};

// The commands on an entry captured before any question (the list's at a display position,
// the calendar's under the point where its popup opened). Each acts only when the target
// still holds after every question; anything that could not be done beeps. The outcome,
// when the document changed, says where the cursor goes.
std::optional<EntryOutcome> MarkDone(EntryContext &context, const EntryTarget &target);
std::optional<EntryOutcome> Delete(EntryContext &context, const EntryTarget &target);
// False when the entry no longer holds or the clipboard refused the text (after a beep), or
// when the clipboard is busy (after telling the user).
bool Copy(EntryContext &context, const EntryTarget &target);

std::optional<EntryOutcome> MarkDoneAt(EntryContext &context, std::int32_t position);
std::optional<EntryOutcome> DeleteAt(EntryContext &context, std::int32_t position);
bool CopyAt(EntryContext &context, std::int32_t position);

// The clipboard's text for a paste: none when it holds no text, or, after telling the user,
// when it is busy.
std::optional<std::string> PasteText(EntryContext &context);

// The message when the clipboard cannot be opened.
QString busyClipboardMessage();

} // namespace dvw
