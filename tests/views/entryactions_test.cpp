// The list's entry commands with their questions answered by script, and a rebuild (the
// midnight tick of the clock) that happens while a question is open.
#include "../testdocuments.h"
#include "entryfakes.h"
#include "platform/clock.h"
#include "platform/scriptedprompter.h"
#include "views/entryactions.h"

#include <gtest/gtest.h>

#include <functional>

using namespace dvw;

namespace {

using test::CountingBeeper;
using test::FakeClipboard;

// A scripted prompter that lets something happen while a question is open.
struct TickingPrompter : ScriptedPrompter
{
    std::function<void()> whileOpen;
    bool okCancel(const QString &caption, const QString &text) override
    {
        if (whileOpen)
            whileOpen();
        return ScriptedPrompter::okCancel(caption, text);
    }
};

struct Fixture
{
    std::unique_ptr<TApptDocument> doc;
    TickingPrompter prompter;
    CountingBeeper beeper;
    FakeClipboard clipboard;
    std::optional<bool> scope;
    EntryContext context()
    {
        return {*doc, prompter, beeper, clipboard, [this] { return scope; }};
    }
    std::int32_t positionOf(std::int32_t line) const
    {
        const auto &index = doc->engine().index();
        for (std::size_t i = 0; i < index.size(); ++i)
            if (index[i].kind == DatedEntry && index[i].value == line)
                return static_cast<std::int32_t>(i);
        return -1;
    }
};

const TDate feb3(3, 2, 2000);

TEST(EntryActions, MidnightInsideDeleteQuestionDeletesOnlyTheCapturedEntry)
{
    Fixture f;
    f.doc = test::documentOf({"2/3/00 Dentist", "2/4/00 Plumber"}, feb3, 7);
    ManualClock clock(QDateTime(QDate(2000, 2, 3), QTime(23, 59, 59)));
    const std::int32_t cursor = f.positionOf(0);
    f.prompter.whileOpen = [&] {
        // The clock passes midnight and every document is rebuilt for the new day: the row
        // under the cursor now shows another line.
        clock.set(QDateTime(QDate(2000, 2, 4), QTime(0, 0)));
        const QDate today = clock.now().date();
        const TDate newDay(static_cast<std::uint32_t>(today.day()),
                           static_cast<std::uint32_t>(today.month()),
                           static_cast<std::uint32_t>(today.year()));
        f.doc->setWindow(DateWindow::make(newDay, newDay, 7));
        f.doc->Rescan();
    };
    f.prompter.pushAnswer(Prompter::Answer::Ok);
    EntryContext context = f.context();
    const auto outcome = DeleteAt(context, cursor);
    EXPECT_EQ(f.doc->lines()[1].text, "2/4/00 Plumber");
    // The dentist is still the entry of the captured line and date (now a lead-in day):
    // it goes, nothing else does.
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(f.doc->lines()[0].text, "~2/3/00 Dentist");
    EXPECT_EQ(f.clipboard.held, "2/3/00 Dentist");
}

TEST(EntryActions, AnEntryChangedInsideTheQuestionIsLeftAlone)
{
    Fixture f;
    f.doc = test::documentOf({"2/3/00 Dentist"}, feb3, 7);
    f.prompter.whileOpen = [&] {
        f.doc->lineTable()[0].text = "2/3/00 Dentist moved";
        f.doc->Rescan();
    };
    f.prompter.pushAnswer(Prompter::Answer::Ok);
    EntryContext context = f.context();
    EXPECT_FALSE(DeleteAt(context, f.positionOf(0)).has_value());
    EXPECT_EQ(f.doc->lines()[0].text, "2/3/00 Dentist moved");
    EXPECT_EQ(f.beeper.beeps, 1);
    EXPECT_FALSE(f.clipboard.held.has_value());
    EXPECT_FALSE(f.doc->isChanged());
}

struct AskCase
{
    const char *name;
    std::string line;
    bool prompt;
    std::optional<bool> scope; // the delete dialog's answer
    int questions; // message boxes asked
    std::string after;
    bool copied;
};

TEST(EntryActions, DeleteAsksWhatTheEntryNeeds)
{
    const AskCase cases[] = {
        {"single, no prompt", "2/3/00 Dentist", false, std::nullopt, 0, "~2/3/00 Dentist", true},
        {"single, prompt", "2/3/00 Dentist", true, std::nullopt, 1, "~2/3/00 Dentist", true},
        {"cycle cancelled still copied", "!THU Gym", true, std::nullopt, 0, "!THU Gym", true},
        {"instance", "!THU Gym", true, false, 0, "\\X2/3/00 !THU Gym", true},
        {"cycle", "!THU Gym", true, true, 0, "~!THU Gym", true},
    };
    for (const AskCase &c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.doc = test::documentOf({c.line}, feb3, 7);
        f.scope = c.scope;
        f.prompter.pushAnswer(Prompter::Answer::Ok);
        EntryContext context = f.context();
        context.promptBeforeDelete = c.prompt;
        DeleteAt(context, f.positionOf(0));
        EXPECT_EQ(static_cast<int>(f.prompter.asked().size()), c.questions);
        EXPECT_EQ(f.doc->lines()[0].text, c.after);
        EXPECT_EQ(f.clipboard.held.has_value(), c.copied);
    }
}

TEST(EntryActions, MarkDoneBeepsOrTellsWhenNothingCanChange)
{
    Fixture f;
    f.doc = test::documentOf({">!THU Gym", "\\S1/1/00 \\N!MON walk"}, feb3, 7);
    EntryContext context = f.context();
    EXPECT_FALSE(MarkDoneAt(context, f.positionOf(0)).has_value());
    EXPECT_EQ(f.beeper.beeps, 1);
    const auto &index = f.doc->engine().index();
    for (std::size_t i = 0; i < index.size(); ++i) {
        if (index[i].kind == NoteEntry && index[i].value == 1) {
            EXPECT_FALSE(MarkDoneAt(context, static_cast<std::int32_t>(i)).has_value());
        }
    }
    ASSERT_EQ(f.prompter.asked().size(), 1u);
    EXPECT_TRUE(f.prompter.asked()[0].text.startsWith("Sorry -- can't mark nags"));
    EXPECT_EQ(f.doc->lines()[1].text, "\\S1/1/00 \\N!MON walk");
}

} // namespace
