// File > Import iCalendar... and Export iCalendar... in the main window: the lines go into
// the document as one undo step, a broken calendar changes nothing, and an export is
// written where the user says, never over an open file.
#include "exchange/exchange.h"
#include "framefixture.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "store/tapptdocument.h"

#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

using namespace dvw;

namespace {

const QByteArray fileLines = "12/9/2026 Dentist\r\n!WED Gym\r\n";

const QByteArray trip = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n"
                        "BEGIN:VEVENT\r\nUID:t\r\nDTSTART;VALUE=DATE:20261210\r\n"
                        "DTEND;VALUE=DATE:20261212\r\nSUMMARY:Trip\r\nEND:VEVENT\r\n"
                        "BEGIN:VEVENT\r\nUID:w\r\nDTSTART;VALUE=DATE:20261214\r\n"
                        "RRULE:FREQ=WEEKLY;COUNT=2\r\nSUMMARY:Walk\r\nEND:VEVENT\r\n"
                        "END:VCALENDAR\r\n";

class IcalExchange : public test::FrameFixture
{
protected:
    void SetUp() override
    {
        writeFile(QStringLiteral("NOTES.APT"), fileLines);
        makeFrame({"dayvane", "NOTES.APT"});
        installAll();
        frame->showAtStart();
        frame->openStartFile();
        ASSERT_EQ(frame->documents().count(), 1);
    }
    TApptDocument &doc() const { return *frame->documents().document(0); }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QByteArray read(const char *name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    const ScriptedPrompter::Asked &lastMessage() const { return prompter.asked().back(); }
};

} // namespace

TEST_F(IcalExchange, ImportAppendsTheLinesAsOneUndoStep)
{
    writeFile(QStringLiteral("trip.ics"), trip);
    const std::string before = doc().FileBytes();
    files.push(path("trip.ics"));
    frame->runCommand(Cm::FileImportIcal);
    EXPECT_EQ(doc().FileBytes(),
              before + "12/10/2026 +1 Trip\r\n\\S12/14/2026 \\E12/21/2026 !MON Walk\r\n");
    EXPECT_TRUE(doc().isChanged());
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_TRUE(lastMessage().text.startsWith(
        QStringLiteral("Imported from the calendar: 2, of which 0 as one line per date")));
    EXPECT_EQ(frame->action(Cm::EditUndo)->text(),
              QStringLiteral("&Undo Import iCalendar...\tCtrl+Z"));
    frame->runCommand(Cm::EditUndo);
    EXPECT_EQ(doc().FileBytes(), before);
    EXPECT_FALSE(doc().isChanged());
    EXPECT_FALSE(frame->action(Cm::EditUndo)->isEnabled());
}

TEST_F(IcalExchange, ABrokenCalendarChangesNothing)
{
    writeFile(QStringLiteral("bad.ics"), "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:soon\r\n");
    const std::string before = doc().FileBytes();
    files.push(path("bad.ics"));
    frame->runCommand(Cm::FileImportIcal);
    EXPECT_EQ(doc().FileBytes(), before);
    EXPECT_FALSE(doc().isChanged());
    EXPECT_FALSE(frame->action(Cm::EditUndo)->isEnabled());
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(lastMessage().icon, Prompter::Icon::Stop);
    EXPECT_TRUE(lastMessage().text.contains(QStringLiteral("line 3: cannot read DTSTART")));
}

TEST_F(IcalExchange, ExportWritesTheCalendarWhereTheUserSays)
{
    files.push(path("notes.ics"));
    frame->runCommand(Cm::FileExportIcal);
    const QByteArray written = read("notes.ics");
    EXPECT_TRUE(written.startsWith("BEGIN:VCALENDAR\r\n"));
    EXPECT_TRUE(written.contains("X-DAYVANE-LINE:!WED Gym\r\n"));
    EXPECT_TRUE(written.contains("RRULE:FREQ=WEEKLY;BYDAY=WE\r\n"));
    EXPECT_TRUE(prompter.asked().empty());
    EXPECT_FALSE(doc().isChanged());
}

TEST_F(IcalExchange, ExportNeverWritesOverAnOpenFileAndACancelDoesNothing)
{
    files.push(path("NOTES.APT"));
    frame->runCommand(Cm::FileExportIcal);
    EXPECT_EQ(read("NOTES.APT"), fileLines);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(lastMessage().icon, Prompter::Icon::Stop);
    EXPECT_TRUE(lastMessage().text.contains(QStringLiteral("open appointment file")));
    frame->runCommand(Cm::FileExportIcal); // the chooser has no answer left: cancelled
    frame->runCommand(Cm::FileImportIcal);
    EXPECT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(files.asked(), 3);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(IcalExchange, TheCommandsNeedADocument)
{
    EXPECT_TRUE(frame->action(Cm::FileImportIcal)->isEnabled());
    frame->documents().closeAll();
    frame->updateActions();
    EXPECT_FALSE(frame->action(Cm::FileImportIcal)->isEnabled());
    EXPECT_FALSE(frame->action(Cm::FileExportIcal)->isEnabled());
}
