#include "core/datetext.h"
#include "edit/edit.h"
#include "edit/tapptdialog.h"
#include "framefixture.h"
#include "platform/clock.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwmdichild.h"
#include "store/filerules.h"
#include "store/tapptdocument.h"
#include "views/entryinstall.h"
#include "views/monthviews.h"
#include "views/tapptview.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

using namespace dvw;

namespace {

struct DialogFixture : ::testing::Test
{
    DialogFixture()
        : clock(QDateTime(QDate(2026, 12, 7), QTime(9, 5)))
    { }

    std::unique_ptr<TApptDialog> open(const std::string &line, bool big)
    {
        ApptDialogSettings s;
        s.bigDialog = big;
        s.storeBigDialog = [this](bool on) { stored.push_back(on); };
        s.showHelp = [this](int topic) { help.push_back(topic); };
        s.describe = [](const std::string &l) { return QString::fromStdString("reads " + l); };
        FormDocument doc {&context, TDate(7, 12, 2026), {}};
        auto dialog
            = std::make_unique<TApptDialog>(nullptr, doc, line, TDate(9, 3, 1999), s, clock);
        dialog->show();
        return dialog;
    }
    static QPlainTextEdit *box(TApptDialog &d)
    {
        return static_cast<QPlainTextEdit *>(d.control(201));
    }
    static QLineEdit *field(TApptDialog &d, int id)
    {
        return static_cast<QLineEdit *>(d.control(id));
    }
    static void click(TApptDialog &d, int id) { QTest::mouseClick(d.control(id), Qt::LeftButton); }

    SimpleReadContext context;
    ManualClock clock;
    std::vector<bool> stored;
    std::vector<int> help;
};

} // namespace

TEST_F(DialogFixture, ShowsTheControlTextsOfEachMode)
{
    auto d = open("3/5/99 x", false);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Edit Appointment"));
    EXPECT_EQ(box(*d)->toPlainText(), QStringLiteral("3/5/99 x"));
    EXPECT_EQ(static_cast<QAbstractButton *>(d->control(997))->text(), QStringLiteral("&More"));
    EXPECT_FALSE(d->control(238)->isVisible());
    click(*d, 997);
    EXPECT_EQ(static_cast<QAbstractButton *>(d->control(997))->text(), QStringLiteral("&Less"));
    EXPECT_EQ(box(*d)->toPlainText(), QStringLiteral("x"));
    EXPECT_TRUE(static_cast<QRadioButton *>(d->control(238))->isChecked());
    EXPECT_EQ(field(*d, 271)->text(), QStringLiteral("3/5/99"));
    EXPECT_EQ(static_cast<QLabel *>(d->control(300))->text(), QStringLiteral("Fri"));
    EXPECT_EQ(static_cast<QLabel *>(d->control(285))->text(), QStringLiteral("Enter date:"));
    EXPECT_EQ(stored, std::vector<bool> {true});
    for (const auto &[id, text] :
         std::vector<std::pair<int, const char *>> {{239, "&Note"},
                                                    {237, "&Anniversary"},
                                                    {235, "&Birthday (with age)"},
                                                    {241, "&Every nth day, wk or mon"},
                                                    {234, "E.g. 3&rd Monday in March"},
                                                    {240, "E.g. e&very Mon and Wed"},
                                                    {243, "Holiday"},
                                                    {248, "Unimportant"},
                                                    {255, "Default"}})
        EXPECT_EQ(static_cast<QAbstractButton *>(d->control(id))->text(),
                  QString::fromLatin1(text));
}

TEST_F(DialogFixture, KindButtonsShowTheirGroups)
{
    auto d = open("3/5/99 x", true);
    EXPECT_TRUE(d->control(1271)->isVisible()); // main date
    EXPECT_FALSE(d->control(1269)->isVisible()); // every n
    EXPECT_FALSE(d->control(1278)->isEnabled()); // start date
    click(*d, 241);
    EXPECT_FALSE(d->control(1271)->isVisible());
    EXPECT_TRUE(d->control(1269)->isVisible());
    EXPECT_TRUE(d->control(1278)->isEnabled());
    EXPECT_FALSE(d->control(246)->isEnabled()); // Nag
    click(*d, 240);
    EXPECT_TRUE(d->control(1260)->isVisible());
    // The opening date, 9 March 1999, is a Tuesday.
    EXPECT_TRUE(static_cast<QAbstractButton *>(d->control(263))->isChecked());
    EXPECT_FALSE(d->control(1268)->isVisible()); // the day field never shows
    QTest::keyClick(d->control(201), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(d->accepted());
    EXPECT_EQ(d->line(), "!TUE x");
    EXPECT_EQ(d->lineResult(), ApptForm::ScheduleChanged);
}

TEST_F(DialogFixture, EscapeCancelsAndKeepsTheLine)
{
    auto d = open("3/5/99 x", true);
    field(*d, 271)->setText(QStringLiteral("4/1/99"));
    QTest::keyClick(d->control(201), Qt::Key_Escape);
    EXPECT_FALSE(d->accepted());
    EXPECT_EQ(d->line(), "3/5/99 x");
}

TEST_F(DialogFixture, EditBoxKeys)
{
    struct Case
    {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString inserted;
    };
    const Case cases[] = {
        {Qt::Key_D, Qt::ControlModifier, QStringLiteral("12/7/2026 ")},
        {Qt::Key_L, Qt::ControlModifier, QStringLiteral("3/9/99 ")},
        {Qt::Key_T, Qt::ControlModifier, QStringLiteral("9:05 A.M. ")},
        {Qt::Key_B, Qt::ControlModifier, QStringLiteral("12/7/2026 9:05 A.M. ")},
        {Qt::Key_Tab, Qt::ControlModifier, QStringLiteral("\t")},
    };
    for (const Case &c : cases) {
        auto d = open("ab", false);
        QTextCursor at = box(*d)->textCursor();
        at.setPosition(1);
        box(*d)->setTextCursor(at);
        QTest::keyClick(d->control(201), static_cast<Qt::Key>(c.key), c.modifiers);
        EXPECT_EQ(box(*d)->toPlainText(), QStringLiteral("a") + c.inserted + QStringLiteral("b"))
            << c.key;
    }
    auto d = open("ab", false);
    QTest::keyClick(d->control(201), Qt::Key_F1);
    EXPECT_EQ(help, std::vector<int> {TApptDialog::helpTopic});
}

// A clipboard nobody owns gives data without a single format; the text box's own paste
// crashed on it. Every paste key puts in plain text only, and an own line as its bytes.
TEST_F(DialogFixture, PasteTakesPlainTextFromAnyClipboard)
{
    const auto withText = [](const QString &text) {
        auto *data = new QMimeData;
        data->setText(text);
        return data;
    };
    const auto htmlOnly = [] {
        auto *data = new QMimeData;
        data->setHtml(QStringLiteral("<b>bold</b>"));
        return data;
    };
    struct Case
    {
        const char *name;
        std::function<void()> fill;
        QString pasted;
    };
    const Case cases[] = {
        {"empty", [] { QGuiApplication::clipboard()->setMimeData(new QMimeData); }, {}},
        {"cleared", [] { QGuiApplication::clipboard()->clear(); }, {}},
        {"html only", [&] { QGuiApplication::clipboard()->setMimeData(htmlOnly()); }, {}},
        {"foreign text",
         [&] {
             QGuiApplication::clipboard()->setMimeData(
                 withText(QStringLiteral("Lunch\r\nwith Ann") + QChar(u'\0') + "tail"));
         },
         QStringLiteral("Lunch\nwith Ann")},
        {"own line", [] { SystemEntryClipboard()->put("12/7 Meet\r\nRoom\r4"); },
         QStringLiteral("12/7 Meet\nRoom") + QChar(0x240D) + "4"},
    };
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_V, Qt::ControlModifier},
        {Qt::Key_Insert, Qt::ShiftModifier},
    };
    for (const Case &c : cases) {
        for (const auto &[key, modifiers] : keys) {
            c.fill();
            auto d = open("ab", false);
            QTest::keyClick(d->control(201), key, modifiers);
            EXPECT_EQ(box(*d)->toPlainText(), QStringLiteral("ab") + c.pasted) << c.name;
            EXPECT_EQ(box(*d)->canPaste(), !c.pasted.isEmpty()) << c.name;
        }
    }
    QGuiApplication::clipboard()->clear();
}

TEST_F(DialogFixture, SpinnerStepsTheDate)
{
    auto d = open("3/5/99 x", true);
    auto *spinner = static_cast<QScrollBar *>(d->control(297));
    spinner->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(field(*d, 271)->text(), QStringLiteral("3/6/99"));
    EXPECT_EQ(static_cast<QLabel *>(d->control(300))->text(), QStringLiteral("Sat"));
    spinner->triggerAction(QAbstractSlider::SliderPageStepSub);
    spinner->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(field(*d, 271)->text(), QStringLiteral("3/4/99"));
}

TEST_F(DialogFixture, PreviewFollowsTheControls)
{
    struct Case
    {
        std::string line;
        bool big;
        int field;
        QString typed;
        QString preview;
    };
    const Case cases[] = {
        {"3/5/99 x", true, 253, QStringLiteral("3"), QStringLiteral("reads 3/5/99 -3 x")},
        {"3/5/99 x", false, 0, QStringLiteral("y"), QStringLiteral("reads 3/5/99 xy")},
        {"!2W x", true, 269, QStringLiteral("3"), QStringLiteral("reads !3W x")},
        {"", true, 0, QStringLiteral("milk"), QStringLiteral("reads * milk")},
    };
    for (const Case &c : cases) {
        auto d = open(c.line, c.big);
        if (c.field != 0) {
            field(*d, c.field)->clear();
            QTest::keyClicks(field(*d, c.field), c.typed);
        } else {
            QTest::keyClicks(d->control(201), c.typed);
        }
        d->updatePreview();
        EXPECT_EQ(d->previewText(), c.preview) << c.line;
    }
}

TEST_F(DialogFixture, DefinitionLineCannotEnlarge)
{
    auto d = open("\\C WORK=3 Work", true);
    EXPECT_FALSE(d->control(997)->isEnabled());
    EXPECT_EQ(box(*d)->toPlainText(), QStringLiteral("\\C WORK=3 Work"));
}

TEST(EditBox, TextSurvivesTheEditBox)
{
    const std::string cases[] = {
        "plain", "two\r\nlines", std::string("nul\0byte", 8), "lone\rcr", "caf\xc3\xa9 utf-8",
    };
    for (const std::string &bytes : cases)
        EXPECT_EQ(EditBoxBytes(EditBoxText(bytes)), bytes);
    // Other bytes are shown as Windows-1252 and stored as UTF-8 once edited.
    EXPECT_EQ(EditBoxBytes(EditBoxText("nbsp\xa0\x80")), "nbsp\xc2\xa0\xe2\x82\xac");
}

// The list's commands open the dialog on the document and store what it closes with.
namespace {

class EditInFrame : public test::FrameFixture
{
protected:
    void SetUp() override
    {
        writeFile(QStringLiteral("NOTES.APT"), "* Buy milk\r\n12/8/2026 Dentist\r\n");
        makeFrame({"dayvane", "NOTES.APT"});
        FeatureServices services;
        services.clipboard = clipboard;
        services.runDialog = [this](QDialog &dialog) {
            auto &d = dynamic_cast<TApptDialog &>(dialog);
            opened.push_back(d.form().savedLine());
            if (answer)
                answer(d);
            return d.accepted();
        };
        installAll(services);
        frame->show();
        frame->openStartFile();
        ASSERT_EQ(frame->documents().count(), 1);
        doc = frame->documents().current();
        list = qobject_cast<TApptView *>(
            frame->documents().viewWindow(*doc, ListViewSlot)->widget());
        ASSERT_NE(list, nullptr);
    }

    std::function<void(TApptDialog &)> answer;
    // Null: the desktop's.
    std::shared_ptr<EntryClipboard> clipboard;
    std::vector<std::string> opened;
    TApptDocument *doc = nullptr;
    TApptView *list = nullptr;
};

void typeAndOk(TApptDialog &d, const QString &text)
{
    auto *edit = static_cast<QPlainTextEdit *>(d.control(201));
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
}

} // namespace

TEST_F(EditInFrame, InsertAddsTheLine)
{
    answer = [](TApptDialog &d) { typeAndOk(d, QStringLiteral("12/9/2026 Call Bob")); };
    frame->runCommand(Cm::InsertAppt);
    ASSERT_EQ(opened, std::vector<std::string> {""});
    ASSERT_EQ(doc->lines().size(), 3u);
    EXPECT_EQ(doc->lines()[2].text, "12/9/2026 Call Bob");
    EXPECT_TRUE(doc->isChanged());
}

TEST_F(EditInFrame, InsertWithDateStartsFromTheCursorDate)
{
    list->setCursorLine(4);
    // As a key or click does: the month pane, whose date a new appointment takes, follows.
    list->broadcastCursorDate();
    answer = [](TApptDialog &d) { QTest::keyClick(d.control(2), Qt::Key_Space); };
    frame->runCommand(Cm::InsertWithDate);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], FormatDate(list->cursorDate(), doc->dateSettings()));
    EXPECT_EQ(doc->lines().size(), 2u); // cancelled
    EXPECT_FALSE(doc->isChanged());
}

TEST_F(EditInFrame, EditReplacesTheLineOnlyWhenItChanged)
{
    std::optional<EditTarget> target;
    for (int position = 0; position < 8 && !target; ++position) {
        target = TargetAt(*doc, position);
        if (target && target->text != "12/8/2026 Dentist")
            target.reset();
        if (target)
            list->setCursorLine(position);
    }
    ASSERT_TRUE(target);
    answer = [](TApptDialog &d) {
        QTest::keyClick(d.control(201), Qt::Key_Return, Qt::ControlModifier);
    };
    frame->runCommand(Cm::EditAppt);
    EXPECT_FALSE(doc->isChanged());
    answer = [](TApptDialog &d) { typeAndOk(d, QStringLiteral("12/8/2026 Dentist at 3")); };
    frame->runCommand(Cm::EditAppt);
    EXPECT_EQ(doc->lines()[static_cast<std::size_t>(target->line)].text, "12/8/2026 Dentist at 3");
    EXPECT_TRUE(doc->isChanged());
    // A line that changed while the dialog was open is left alone.
    answer = [this, target](TApptDialog &d) {
        doc->lineTable()[static_cast<std::size_t>(target->line)].text = "12/8/2026 moved";
        typeAndOk(d, QStringLiteral("12/8/2026 mine"));
    };
    frame->runCommand(Cm::EditAppt);
    EXPECT_EQ(doc->lines()[static_cast<std::size_t>(target->line)].text, "12/8/2026 moved");
    // Emptying the text deletes the line.
    doc->lineTable()[static_cast<std::size_t>(target->line)].text = "12/8/2026 Dentist at 3";
    doc->Rescan();
    answer = [](TApptDialog &d) { typeAndOk(d, QString()); };
    frame->runCommand(Cm::EditAppt);
    EXPECT_EQ(doc->lines()[static_cast<std::size_t>(target->line)].text, "~");
}

// Paste: what the desktop clipboard holds becomes one new appointment through the dialog,
// from the list and the calendar; the month pane takes it at once.
namespace {

const QString lineType = QStringLiteral("application/x-dayvane-line");

void acceptAsOpened(TApptDialog &d)
{
    QTest::keyClick(d.control(201), Qt::Key_Return, Qt::ControlModifier);
}

TEST_F(EditInFrame, TheListPastesWhatTheClipboardHoldsAsOneAppointment)
{
    answer = acceptAsOpened;
    const QByteArray ours("12/9/2026 a\r\n\xe9t\xe9", 16);
    const struct
    {
        const char *name;
        QString text, html;
        std::optional<std::string> kept; // none: nothing to paste
        const char *lost;
    } cases[] = {
        {"our line type first", "plain", {}, ours.toStdString(), "plain"},
        {"bare LF", "call\nBob", {}, "call\r\nBob", "\r\r"},
        {"trailing CR LF", "buy bread\r\n", {}, "buy bread", "bread\r\n"},
        {"NUL", QString::fromLatin1("call\0junk", 9), {}, "call", "junk"},
        {"HTML only", {}, "<b>bold</b>", std::nullopt, nullptr},
        {"HTML with text", "bold words", "<b>bold</b>", "bold words", "<b>"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto *data = new QMimeData;
        if (!c.html.isEmpty())
            data->setHtml(c.html);
        if (!c.text.isEmpty())
            data->setText(c.text);
        if (c.name == cases[0].name)
            data->setData(lineType, ours);
        QGuiApplication::clipboard()->setMimeData(data);
        const std::size_t before = doc->lines().size();
        EXPECT_EQ(frame->action(Cm::EditPaste)->isEnabled(), c.kept.has_value());
        frame->runCommand(Cm::EditPaste);
        ASSERT_EQ(doc->lines().size(), before + (c.kept ? 1 : 0));
        const std::string &added = doc->lines().back().text;
        if (c.kept) {
            EXPECT_NE(added.find(*c.kept), std::string::npos) << added;
            EXPECT_EQ(added.find(c.lost), std::string::npos) << added;
        }
    }
    // Saved and read again, the file holds the same appointments, one line each.
    frame->runCommand(Cm::FileSave);
    QFile file(dir.filePath(QStringLiteral("NOTES.APT")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::vector<std::string> texts;
    for (const TimeString &t : doc->lines())
        texts.push_back(t.text);
    EXPECT_EQ(SplitFileText(file.readAll().toStdString()), texts);
}

// A clipboard that holds text but cannot be opened.
struct BusyClipboard : EntryClipboard
{
    bool put(const std::string &) override { return false; }
    std::optional<std::string> text() const override { return std::string("* never"); }
    bool busy() const override { return true; }
};

class EditInFrameWithBusyClipboard : public EditInFrame
{
protected:
    EditInFrameWithBusyClipboard() { clipboard = std::make_shared<BusyClipboard>(); }
};

TEST_F(EditInFrameWithBusyClipboard, ABusyClipboardIsReportedAndPastesNothing)
{
    frame->updateActions();
    frame->runCommand(Cm::EditPaste);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text, QStringLiteral("Attempt to open busy clipboard"));
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(doc->lines().size(), 2u);
    EXPECT_FALSE(doc->isChanged());
}

TEST_F(EditInFrame, TheCalendarTakesInsertAndPasteOnItsSelectedDay)
{
    answer = acceptAsOpened;
    frame->runCommand(Cm::ViewCalendar);
    dvwMDIChild *window = frame->documents().viewWindow(*doc, CalendarViewSlot);
    ASSERT_NE(window, nullptr);
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

TEST_F(EditInFrame, TheMonthPanePutsANoteOnItsDayAtOnce)
{
    answer = acceptAsOpened;
    dvwMDIChild *window = frame->documents().viewWindow(*doc, MonthPaneSlot);
    ASSERT_NE(window, nullptr);
    auto *pane = qobject_cast<TMonthView *>(window->widget());
    ASSERT_NE(pane, nullptr);
    const TDate day(9, 12, 2026);
    pane->selectDate(day, true);
    QGuiApplication::clipboard()->setText(QStringLiteral("* call Bob"));
    QTest::keyClick(pane, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(doc->lines().size(), 3u);
    const TimeString &added = doc->lines()[2];
    EXPECT_EQ(added.kind, Single);
    EXPECT_EQ(added.text.find(FormatDate(day, doc->dateSettings())), 0u);
    EXPECT_EQ(added.text.substr(static_cast<std::size_t>(added.textStart)), "call Bob");
    EXPECT_TRUE(doc->isChanged());
    doc->setChanged(false); // closing asks nothing
}

} // namespace
