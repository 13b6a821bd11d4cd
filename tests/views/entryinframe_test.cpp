// The entry commands in the main window: chosen as the menu, keys and popup choose them,
// they change the current list's entry and the window shows the change.
#include "core/datetext.h"
#include "framefixture.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwmdichild.h"
#include "views/tapptview.h"
#include "viewtesthelpers.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace dvw;

namespace {

class EntryOpsInFrame : public test::FrameFixture
{
protected:
    void start(const QByteArray &fileText)
    {
        writeFile(QStringLiteral("NOTES.APT"), fileText);
        makeFrame({"dayvane", "NOTES.APT"});
        frame->resize(900, 700);
        installAll();
        frame->showAtStart();
        frame->openStartFile();
    }
    TApptDocument &doc() const { return *frame->documents().document(0); }
    TApptView *list() const
    {
        dvwMDIChild *window = frame->documents().viewWindow(doc(), ListViewSlot);
        return window ? qobject_cast<TApptView *>(window->widget()) : nullptr;
    }
};

TEST_F(EntryOpsInFrame, MarkDoneAndDeleteChangeTheCursorsEntry)
{
    start("12/7/2026 Dentist\r\n!MON Gym\r\n");
    ASSERT_NE(list(), nullptr);
    list()->setCursorLine(test::positionOfLine(doc(), 1));
    frame->runCommand(Cm::MarkDone);
    std::string code = "\\D" + FormatDate(TDate(7, 12, 2026), doc().dateSettings());
    if (!code.ends_with(' '))
        code += ' ';
    EXPECT_EQ(doc().lines()[1].text, code + "!MON Gym");
    EXPECT_TRUE(doc().isChanged());
    // The list shows the new mark on the row the cursor stays on.
    const int gym = test::positionOfLine(doc(), 1);
    EXPECT_EQ(list()->cursorLine(), gym);
    EXPECT_EQ(doc().engine().index()[static_cast<std::size_t>(gym)].mark, 1);

    prompter.pushAnswer(Prompter::Answer::Ok);
    ASSERT_GE(test::positionOfLine(doc(), 0), 0); // a repeating line would open the dialog
    list()->setCursorLine(test::positionOfLine(doc(), 0));
    frame->runCommand(Cm::EditCut);
    EXPECT_EQ(doc().lines()[0].text, "~12/7/2026 Dentist");
    EXPECT_EQ(test::positionOfLine(doc(), 0), -1);
    doc().setChanged(false); // closing asks nothing
}

} // namespace
