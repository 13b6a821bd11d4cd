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

// False, after telling the user, when the clipboard cannot be opened.
bool clipboardOpens(EntryContext &context)
{
    if (!context.clipboard.busy())
        return true;
    context.prompter.info(QString(), busyClipboardMessage(), Prompter::Icon::Stop);
    return false;
}

// Runs an operation on the entry at the position; beeps when there is none.
template<typename Operation>
auto atPosition(EntryContext &context, std::int32_t position, Operation operation)
    -> decltype(operation(context, std::declval<const EntryTarget &>()))
{
    const std::optional<EntryTarget> target = targetAtPosition(context.doc, position);
    if (!target) {
        context.beeper.beep();
        return {};
    }
    return operation(context, *target);
}

} // namespace

QString busyClipboardMessage()
{
    return QStringLiteral("Attempt to open busy clipboard");
}

std::optional<EntryOutcome> MarkDone(EntryContext &context, const EntryTarget &target)
{
    return finished(context, ToggleDone(context.doc, target));
}

std::optional<EntryOutcome> Delete(EntryContext &context, const EntryTarget &target)
{
    if (!targetHolds(context.doc, target)) {
        context.beeper.beep();
        return std::nullopt;
    }
    bool wholeCycle = false;
    switch (deleteQuestion(context.doc, target)) {
    case DeleteQuestion::ParentOfReminder:
        if (!context.prompter.okCancel(QString(),
                                       QStringLiteral("This is a reminder for an appointment "
                                                      "recorded elsewhere.  Delete parent "
                                                      "appointment?")))
            return std::nullopt;
        break;
    case DeleteQuestion::Confirm:
        if (context.confirmQuestion
                ? !context.prompter.okCancel(QString(), context.confirmQuestion(target))
                : context.promptBeforeDelete
                    && !context.prompter.okCancel(QString(), QStringLiteral("Delete entry?")))
            return std::nullopt;
        // A rebuild inside the question may have moved the entry: copy only what still holds.
        if (!targetHolds(context.doc, target)) {
            context.beeper.beep();
            return std::nullopt;
        }
        if (!clipboardOpens(context))
            return std::nullopt;
        context.clipboard.put(ClipboardText(context.doc, target));
        break;
    case DeleteQuestion::InstanceOrCycle: {
        // The copy is made before the dialog, so Cancel still leaves it on the clipboard.
        if (!clipboardOpens(context))
            return std::nullopt;
        context.clipboard.put(ClipboardText(context.doc, target));
        const std::optional<bool> scope
            = context.chooseScope ? context.chooseScope() : std::optional<bool>();
        if (!scope)
            return std::nullopt;
        wholeCycle = *scope;
        break;
    }
    }
    return finished(context, DeleteEntry(context.doc, target, wholeCycle));
}

bool Copy(EntryContext &context, const EntryTarget &target)
{
    if (!targetHolds(context.doc, target)) {
        context.beeper.beep();
        return false;
    }
    if (!clipboardOpens(context))
        return false;
    if (!context.clipboard.put(ClipboardText(context.doc, target))) {
        context.beeper.beep();
        return false;
    }
    return true;
}

std::optional<EntryOutcome> MarkDoneAt(EntryContext &context, std::int32_t position)
{
    return atPosition(context, position, MarkDone);
}

std::optional<EntryOutcome> DeleteAt(EntryContext &context, std::int32_t position)
{
    return atPosition(context, position, Delete);
}

bool CopyAt(EntryContext &context, std::int32_t position)
{
    return atPosition(context, position, Copy);
}

std::optional<std::string> PasteText(EntryContext &context)
{
    if (!clipboardOpens(context))
        return std::nullopt;
    std::optional<std::string> text = context.clipboard.text();
    if (!text || text->empty())
        return std::nullopt;
    return text;
}

} // namespace dvw
