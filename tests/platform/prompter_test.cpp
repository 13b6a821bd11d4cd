#include "platform/displaytext.h"
#include "platform/filechooser.h"
#include "platform/inputdialog.h"
#include "platform/messageboxprompter.h"
#include "platform/scriptedprompter.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using dvw::Prompter;

namespace {

// Runs `act` on the modal box once it is up, while the prompter call below blocks.
template<typename Box>
void whenModalOpens(std::function<void(Box *)> act)
{
    QTimer::singleShot(0, [act] {
        Box *box = nullptr;
        const bool up = QTest::qWaitFor([&box] {
            box = qobject_cast<Box *>(QApplication::activeModalWidget());
            return box != nullptr;
        });
        if (up)
            act(box);
    });
}

} // namespace

TEST(ScriptedPrompter, AnswersInOrderAndRecordsEveryQuestion)
{
    dvw::ScriptedPrompter prompter;
    prompter.pushAnswer(Prompter::Answer::No);
    prompter.pushAnswer(Prompter::Answer::Ok);
    prompter.pushText(QStringLiteral("42"));

    EXPECT_EQ(prompter.yesNo({}, QStringLiteral("Save?"), true), Prompter::Answer::No);
    prompter.info({}, QStringLiteral("Done"));
    EXPECT_TRUE(prompter.okCancel({}, QStringLiteral("Go on?")));
    EXPECT_EQ(prompter.askText(QStringLiteral("Days"), QStringLiteral("How many?"),
                               QStringLiteral("365")),
              QStringLiteral("42"));

    ASSERT_EQ(prompter.asked().size(), 4u);
    EXPECT_EQ(prompter.asked()[0].kind, dvw::ScriptedPrompter::Asked::Kind::YesNoCancel);
    EXPECT_EQ(prompter.asked()[1].text, QStringLiteral("Done"));
    EXPECT_EQ(prompter.asked()[3].caption, QStringLiteral("Days"));
    EXPECT_EQ(prompter.unanswered(), 0);
    EXPECT_EQ(prompter.pending(), 0u);
}

TEST(ScriptedPrompter, QuestionWithoutScriptedAnswerTakesTheHarmlessWay)
{
    dvw::ScriptedPrompter prompter;
    EXPECT_EQ(prompter.yesNo({}, QStringLiteral("Save?"), true), Prompter::Answer::Cancel);
    EXPECT_EQ(prompter.yesNo({}, QStringLiteral("Change?"), false), Prompter::Answer::No);
    EXPECT_FALSE(prompter.okCancel({}, QStringLiteral("Delete?")));
    EXPECT_FALSE(prompter.askText({}, QStringLiteral("Name?"), QStringLiteral("x")).has_value());
    EXPECT_EQ(prompter.unanswered(), 4);
}

TEST(ScriptedPrompter, CancelScriptedForYesNoWithoutCancelReadsAsNo)
{
    dvw::ScriptedPrompter prompter;
    prompter.pushAnswer(Prompter::Answer::Cancel);
    EXPECT_EQ(prompter.yesNo({}, QStringLiteral("Change?"), false), Prompter::Answer::No);
}

TEST(MessageBoxPrompter, ShowsMarkupFromAFileAsPlainText)
{
    dvw::MessageBoxPrompter prompter;
    const QString text = QStringLiteral("Cannot save <b>notes</b>.APT");
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    whenModalOpens<QMessageBox>([&](QMessageBox *box) {
        shown = box->text();
        format = box->textFormat();
        box->button(QMessageBox::Ok)->click();
    });
    prompter.info(QString(), text, Prompter::Icon::Stop);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shown, text);
}

TEST(MessageBoxPrompter, YesNoCancelReportsTheButtonPressed)
{
    dvw::MessageBoxPrompter prompter;
    whenModalOpens<QMessageBox>(
        [](QMessageBox *box) { box->button(QMessageBox::Cancel)->click(); });
    EXPECT_EQ(prompter.yesNo({}, QStringLiteral("Save?"), true), Prompter::Answer::Cancel);

    whenModalOpens<QMessageBox>([](QMessageBox *box) { box->button(QMessageBox::No)->click(); });
    EXPECT_EQ(prompter.yesNo({}, QStringLiteral("Save?"), true), Prompter::Answer::No);
}

TEST(MessageBoxPrompter, AskTextReturnsTheEditedLineOrNothingOnCancel)
{
    dvw::MessageBoxPrompter prompter;
    Qt::TextFormat promptFormat = Qt::AutoText;
    whenModalOpens<dvw::InputDialog>([&](dvw::InputDialog *dialog) {
        promptFormat = dialog->findChild<QLabel *>(QStringLiteral("prompt"))->textFormat();
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("edit"));
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("120"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(prompter.askText(QStringLiteral("Days to view"), QStringLiteral("<i>Days</i>"),
                               QStringLiteral("365")),
              QStringLiteral("120"));
    EXPECT_EQ(promptFormat, Qt::PlainText);

    whenModalOpens<dvw::InputDialog>([](dvw::InputDialog *dialog) { dialog->reject(); });
    EXPECT_FALSE(prompter.askText({}, QStringLiteral("Name"), QStringLiteral("x")).has_value());
}

TEST(MessageBoxPrompter, EveryBoxOpensOverTheMainWindowOfItsParent)
{
    QWidget mainWindow;
    mainWindow.setGeometry(300, 200, 640, 480);
    auto *inside = new QLabel(QStringLiteral("list"), &mainWindow);
    mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
    for (QWidget *parent : {static_cast<QWidget *>(&mainWindow), static_cast<QWidget *>(inside)}) {
        dvw::MessageBoxPrompter prompter(parent);
        QWidget *owner = nullptr;
        QPoint centre;
        // Window-modal, so other top-level windows (an alarm) still take keys meanwhile.
        Qt::WindowModality modality = Qt::ApplicationModal;
        const auto look = [&owner, &centre, &modality](QWidget *box) {
            owner = box->parentWidget();
            centre = box->frameGeometry().center();
            modality = box->windowModality();
            box->close();
        };
        whenModalOpens<QMessageBox>(look);
        prompter.info(QString(), QStringLiteral("The file could not be opened."),
                      Prompter::Icon::Stop);
        EXPECT_EQ(owner, &mainWindow);
        EXPECT_EQ(modality, Qt::WindowModal);
        EXPECT_TRUE(mainWindow.frameGeometry().contains(centre)) << centre.x() << "," << centre.y();
        modality = Qt::ApplicationModal;
        whenModalOpens<QDialog>(look);
        (void)prompter.askText(QStringLiteral("Find"), QStringLiteral("Text:"), QString());
        EXPECT_EQ(owner, &mainWindow);
        EXPECT_EQ(modality, Qt::WindowModal);
    }
}

// One name on every box, whatever caption the caller gives: a file's name heads the text.
TEST(MessageBoxPrompter, EveryMessageBoxIsTitledWithTheProgramsName)
{
    using Ask = std::function<void(Prompter &, const QString &caption)>;
    const std::pair<const char *, Ask> asks[] = {
        {"info", [](Prompter &p, const QString &c) { p.info(c, QStringLiteral("Text")); }},
        {"okCancel", [](Prompter &p, const QString &c) { p.okCancel(c, QStringLiteral("Text")); }},
        {"yesNo", [](Prompter &p, const QString &c) { p.yesNo(c, QStringLiteral("Text")); }},
        {"yesNoCancel",
         [](Prompter &p, const QString &c) { p.yesNo(c, QStringLiteral("Text"), true); }},
    };
    struct Caption
    {
        QString caption;
        QString text;
    };
    const Caption captions[] = {
        {QString(), QStringLiteral("Text")},
        {QStringLiteral("Dayvane"), QStringLiteral("Text")},
        {QStringLiteral("dayvane"), QStringLiteral("dayvane\n\nText")},
        {QStringLiteral("NOTES.APT"), QStringLiteral("NOTES.APT\n\nText")},
    };
    dvw::MessageBoxPrompter prompter(nullptr, QStringLiteral("Dayvane"));
    for (const auto &[name, ask] : asks) {
        for (const Caption &c : captions) {
            QString title, text;
            whenModalOpens<QMessageBox>([&](QMessageBox *box) {
                title = box->windowTitle();
                text = box->text();
                box->close();
            });
            ask(prompter, c.caption);
            EXPECT_EQ(title, QStringLiteral("Dayvane")) << name << " " << c.caption.toStdString();
            EXPECT_EQ(text, c.text) << name << " " << c.caption.toStdString();
        }
    }
    // A text question keeps its own caption, and has the program's name without one.
    for (const QString &caption : {QString(), QStringLiteral("Timer")}) {
        QString title;
        whenModalOpens<dvw::InputDialog>([&](dvw::InputDialog *dialog) {
            title = dialog->windowTitle();
            dialog->reject();
        });
        (void)prompter.askText(caption, QStringLiteral("Minutes"), QString());
        EXPECT_EQ(title, caption.isEmpty() ? QStringLiteral("Dayvane") : caption);
    }
}

TEST(DisplayText, Utf8StaysUtf8AndOtherBytesReadAsWindows1252)
{
    EXPECT_EQ(dvw::DisplayText("Caf\xc3\xa9"), QStringLiteral("Caf\u00e9"));
    EXPECT_EQ(dvw::DisplayText("Caf\xe9 \x80"), QStringLiteral("Caf\u00e9 \u20ac"));
    EXPECT_EQ(dvw::DisplayText(std::string_view("a\0b", 3)),
              QString(QStringLiteral("a")) + QChar(0) + QStringLiteral("b"));
}

TEST(ScriptedFileChooser, AnswersQueuedPathsThenCancels)
{
    dvw::ScriptedFileChooser chooser;
    chooser.push(QStringLiteral("/tmp/a.APT"));
    EXPECT_EQ(chooser.openFile({}, {}), QStringLiteral("/tmp/a.APT"));
    EXPECT_TRUE(chooser.saveFile({}, {}, QStringLiteral("b.APT"), QStringLiteral("APT")).isEmpty());
    chooser.push(QStringLiteral("/tmp/c"));
    chooser.push(QStringLiteral("/tmp/d.txt"));
    EXPECT_EQ(chooser.saveFile({}, {}, {}, QStringLiteral("APT")), QStringLiteral("/tmp/c.APT"));
    EXPECT_EQ(chooser.saveFile({}, {}, {}, QStringLiteral("APT")), QStringLiteral("/tmp/d.txt"));
    EXPECT_EQ(chooser.asked(), 4);
}
