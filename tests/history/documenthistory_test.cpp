#include "../linegenerators.h"
#include "../testdocuments.h"
#include "history/documenthistory.h"
#include "store/entryops.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

using namespace dvw;

namespace {

const TDate feb3(3, 2, 2026);

// One change as the program makes them, chosen by op: the entry operations on a display
// position, a raw line replaced, inserted or removed (the file view), a sort, an append.
void change(TApptDocument &doc, std::uint8_t op, const std::string &text)
{
    const auto &index = doc.engine().index();
    const auto position = index.empty() ? -1 : static_cast<std::int32_t>(op % index.size());
    const std::optional<EntryTarget> target = targetAtPosition(doc, position);
    auto &lines = doc.lineTable();
    const std::size_t at = lines.empty() ? 0 : op % lines.size();
    switch (op % 7) {
    case 0:
        if (target)
            ToggleDone(doc, *target);
        break;
    case 1:
        if (target)
            DeleteEntry(doc, *target, op % 2 == 0);
        break;
    case 2:
        AddEntryLine(doc, text);
        break;
    case 3:
        if (!lines.empty())
            doc.ReplaceLine(static_cast<int>(at), text);
        break;
    case 4:
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), TimeString(text));
        doc.setChanged(true);
        doc.Rescan();
        break;
    case 5:
        if (!lines.empty()) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
            doc.setChanged(true);
            doc.Rescan();
        }
        break;
    default:
        doc.SortLines(op % 2 == 0 ? SortMode::ByDate : SortMode::ByCategory);
        break;
    }
}

} // namespace

RC_GTEST_PROP(DocumentHistoryProperty, UndoGivesEachStepsLinesAndRedoTheLast,
              (const std::vector<std::uint8_t> &ops))
{
    const auto start = *rc::gen::container<std::vector<std::string>>(test::genLine());
    auto doc = test::documentOf(start, feb3, 21);
    DocumentHistory history(*doc);
    // The lines after each recorded step, and whether they were saved.
    std::vector<std::vector<std::string>> states = {LineTexts(doc->lines())};
    std::size_t saved = 0;
    for (std::uint8_t op : ops) {
        change(*doc, op, *test::genLine());
        if (history.record(QStringLiteral("Step")))
            states.push_back(LineTexts(doc->lines()));
        RC_ASSERT(LineTexts(doc->lines()) == states.back());
        if (op % 11 == 0) {
            doc->setChanged(false);
            history.markSaved();
            saved = states.size() - 1;
        }
    }
    const auto rebuiltIndex = [&] {
        auto fresh = test::documentOf(LineTexts(doc->lines()), feb3, 21);
        return fresh->engine().index().size() == doc->engine().index().size();
    };
    for (std::size_t step = states.size() - 1; step > 0; --step) {
        RC_ASSERT(history.undo());
        RC_ASSERT(LineTexts(doc->lines()) == states[step - 1]);
        RC_ASSERT(doc->isChanged() == (step - 1 != saved));
        RC_ASSERT(rebuiltIndex());
    }
    RC_ASSERT(!history.stack().canUndo());
    while (history.stack().canRedo())
        RC_ASSERT(history.redo());
    RC_ASSERT(LineTexts(doc->lines()) == states.back());
    // (Without any step the mark is what the operations left: a sort that moved nothing
    // still marks the document.)
    if (states.size() > 1)
        RC_ASSERT(doc->isChanged() == (states.size() - 1 != saved));
}

TEST(DocumentHistory, AChangeMadeOutsideAStepIsUndoneToo)
{
    auto doc = test::documentOf({"* one", "* two"}, feb3, 7);
    DocumentHistory history(*doc);
    doc->ReplaceLine(0, "* edited");
    // Nothing recorded it: undo records it first and takes it back.
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(doc->lines()[0].text, "* one");
    EXPECT_FALSE(doc->isChanged());
    EXPECT_EQ(history.stack().redoText(), DocumentHistory::plainStepName());
}

TEST(DocumentHistory, ANewFileNeverUndoesToUnchanged)
{
    auto doc = test::documentOf({"* seed"}, feb3, 7);
    doc->setChanged(true); // seed lines not written yet
    DocumentHistory history(*doc);
    doc->AppendLine("* more");
    ASSERT_TRUE(history.record(QStringLiteral("Paste")));
    ASSERT_TRUE(history.undo());
    EXPECT_TRUE(doc->isChanged());
}
