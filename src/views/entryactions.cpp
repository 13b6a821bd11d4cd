#include "entryactions.h"

#include "platform/prompter.h"
#include "store/tapptdocument.h"

namespace dvw {

namespace {

std::optional<EntryOutcome> finished(EntryContext &context, const EntryOutcome &outcome)
{
    if (outcome.status == EntryStatus::Changed)
        return outcome;
    if (outcome.status == EntryStatus::NagOfCycle)
        context.prompter.info(QString(),
                              QStringLiteral("Sorry -- can't mark nags for cyclical appointments. "
                                             " Please edit appointment and change start date."));
    else
        context.beeper.beep();
    return std::nullopt;
}

} // namespace

std::optional<EntryOutcome> MarkDoneAt(EntryContext &context, std::int32_t position)
{
    const std::optional<EntryTarget> target = targetAtPosition(context.doc, position);
    if (!target) {
        context.beeper.beep();
        return std::nullopt;
    }
    return finished(context, ToggleDone(context.doc, *target));
}

std::optional<EntryOutcome> DeleteAt(EntryContext &context, std::int32_t position)
{
    const std::optional<EntryTarget> target = targetAtPosition(context.doc, position);
    if (!target) {
        context.beeper.beep();
        return std::nullopt;
    }
    bool wholeCycle = false;
    switch (deleteQuestion(context.doc, *target)) {
    case DeleteQuestion::ParentOfReminder:
        if (!context.prompter.okCancel(QString(),
                                       QStringLiteral("This is a reminder for an appointment "
                                                      "recorded elsewhere.  Delete parent "
                                                      "appointment?")))
            return std::nullopt;
        break;
    case DeleteQuestion::Confirm:
        if (context.promptBeforeDelete
            && !context.prompter.okCancel(QString(), QStringLiteral("Delete entry?")))
            return std::nullopt;
        // A rebuild inside the question may have moved the entry: copy only what still holds.
        if (!targetHolds(context.doc, *target)) {
            context.beeper.beep();
            return std::nullopt;
        }
        context.clipboard.put(ClipboardText(context.doc, *target));
        break;
    case DeleteQuestion::InstanceOrCycle: {
        // The copy is made before the dialog, so Cancel still leaves it on the clipboard.
        context.clipboard.put(ClipboardText(context.doc, *target));
        const std::optional<bool> scope
            = context.chooseScope ? context.chooseScope() : std::optional<bool>();
        if (!scope)
            return std::nullopt;
        wholeCycle = *scope;
        break;
    }
    }
    return finished(context, DeleteEntry(context.doc, *target, wholeCycle));
}

bool CopyAt(EntryContext &context, std::int32_t position)
{
    const std::optional<EntryTarget> target = targetAtPosition(context.doc, position);
    if (!target || !context.clipboard.put(ClipboardText(context.doc, *target))) {
        context.beeper.beep();
        return false;
    }
    return true;
}

} // namespace dvw
