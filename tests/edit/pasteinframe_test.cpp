// Paste in the main window: what the desktop clipboard holds becomes one new appointment
// through the edit dialog, from the list and from the calendar, and the saved file keeps
// one line per appointment.
#include "core/datetext.h"
#include "edit/edit.h"
#include "edit/tapptdialog.h"
#include "framefixture.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwmdichild.h"
#include "store/filerules.h"
#include "store/tapptdocument.h"
#include "views/entryinstall.h"
#include "views/monthviews.h"
#include "views/tapptview.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

using namespace dvw;

namespace {

const QString lineType = QStringLiteral("application/x-dayvane-line");

class PasteInFrame : public test::FrameFixture
{
protected:
    void SetUp() override
    {
        QFile file(dir.filePath(QStringLiteral("NOTES.APT")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("* Buy milk\r\n12/8/2026 Dentist\r\n");
        file.close();
        makeFrame({"dayvane", "NOTES.APT"});
        installAll();
        // The dialog opens and is accepted as it opened.
        SetApptDialogRunner(*frame, [this](TApptDialog &d) {
            opened.push_back(d.form().savedLine());
            QTest::keyClick(d.control(201), Qt::Key_Return, Qt::ControlModifier);
        });
        frame->show();
        frame->openStartFile();
        doc = frame->documents().current();
        ASSERT_NE(doc, nullptr);
    }
    void TearDown() override { QGuiApplication::clipboard()->clear(); }
    TApptView *list() const
    {
        dvwMDIChild *window = frame->documents().viewWindow(*doc, ListViewSlot);
        return window ? qobject_cast<TApptView *>(window->widget()) : nullptr;
    }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const TimeString &t : doc->lines())
            out.push_back(t.text);
        return out;
    }

    std::vector<std::string> opened;
    TApptDocument *doc = nullptr;
};

struct ClipCase
{
    const char *name;
    std::function<void(QMimeData &)> fill;
    std::optional<std::string> kept; // none: nothing can be pasted
    const char *lost = nullptr; // text the new line must not hold
};

TEST_F(PasteInFrame, TheListPastesWhatTheClipboardHoldsAsOneAppointment)
{
    const ClipCase cases[] = {
        {"our line type first",
         [](QMimeData &m) {
             m.setText(QStringLiteral("plain"));
             m.setData(lineType, QByteArray("12/9/2026 a\r\n\xe9t\xe9", 17));
         },
         std::string("12/9/2026 a\r\n\xe9t\xe9"), "plain"},
        {"bare LF", [](QMimeData &m) { m.setText(QStringLiteral("call\nBob")); },
         std::string("call\r\nBob")},
        {"trailing CR LF", [](QMimeData &m) { m.setText(QStringLiteral("buy bread\r\n")); },
         std::string("buy bread"), "bread\r\n"},
        {"NUL", [](QMimeData &m) { m.setText(QString::fromLatin1("call\0junk", 9)); },
         std::string("call"), "junk"},
        {"leading tilde", [](QMimeData &m) { m.setText(QStringLiteral("~gone")); },
         std::string("~gone")},
        {"leading ampersand", [](QMimeData &m) { m.setText(QStringLiteral("&more")); },
         std::string("&more")},
        {"HTML only", [](QMimeData &m) { m.setHtml(QStringLiteral("<b>bold</b>")); },
         std::nullopt},
        {"HTML with text",
         [](QMimeData &m) {
             m.setHtml(QStringLiteral("<b>bold</b>"));
             m.setText(QStringLiteral("bold words"));
         },
         std::string("bold words"), "<b>"},
    };
    ASSERT_NE(list(), nullptr);
    for (const ClipCase &c : cases) {
        SCOPED_TRACE(c.name);
        auto *data = new QMimeData;
        c.fill(*data);
        QGuiApplication::clipboard()->setMimeData(data);
        frame->updateActions();
        const std::size_t before = doc->lines().size();
        opened.clear();
        EXPECT_EQ(frame->action(Cm::EditPaste)->isEnabled(), c.kept.has_value());
        frame->runCommand(Cm::EditPaste);
        if (!c.kept) {
            EXPECT_TRUE(opened.empty());
            EXPECT_EQ(doc->lines().size(), before);
            continue;
        }
        ASSERT_EQ(opened.size(), 1u);
        ASSERT_EQ(doc->lines().size(), before + 1);
        const std::string &added = doc->lines().back().text;
        EXPECT_NE(added.find(*c.kept), std::string::npos) << added;
        if (c.lost != nullptr) {
            EXPECT_EQ(added.find(c.lost), std::string::npos) << added;
        }
    }
    // Saved and read again, the file holds the same appointments, one line each.
    frame->runCommand(Cm::FileSave);
    QFile file(dir.filePath(QStringLiteral("NOTES.APT")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(SplitFileText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))),
              texts());
}

// A clipboard that holds text but cannot be opened.
struct BusyClipboard : EntryClipboard
{
    bool put(const std::string &) override { return false; }
    std::optional<std::string> text() const override { return std::string("* never"); }
    bool busy() const override { return true; }
};

TEST_F(PasteInFrame, ABusyClipboardIsReportedAndPastesNothing)
{
    SetEntryServices(*frame, {nullptr, std::make_shared<BusyClipboard>(), {}});
    frame->updateActions();
    frame->runCommand(Cm::EditPaste);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text, QStringLiteral("Attempt to open busy clipboard"));
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(doc->lines().size(), 2u);
    EXPECT_FALSE(doc->isChanged());
}

TEST_F(PasteInFrame, TheCalendarTakesInsertAndPasteOnItsSelectedDay)
{
    frame->runCommand(Cm::ViewCalendar);
    dvwMDIChild *window = frame->documents().viewWindow(*doc, CalendarViewSlot);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(list(), nullptr);
    auto *calendar = qobject_cast<TCalendarView *>(window->widget());
    ASSERT_NE(calendar, nullptr);
    calendar->selectDate(TDate(9, 12, 2026), true);
    const std::string day = FormatDate(TDate(9, 12, 2026), doc->dateSettings());

    frame->runCommand(Cm::InsertAppt);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], day);

    QGuiApplication::clipboard()->setText(QStringLiteral("* call Bob"));
    frame->updateActions();
    frame->runCommand(Cm::EditPaste);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1].find(day), 0u);
    ASSERT_EQ(doc->lines().size(), 4u);
    EXPECT_EQ(doc->lines()[3].text, opened[1]);
    EXPECT_EQ(doc->lines()[3].kind, Single);
    doc->setChanged(false); // closing asks nothing
}

} // namespace
