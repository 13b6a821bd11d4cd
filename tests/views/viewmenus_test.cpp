// The menu bar while each view is active, and menus merged or rebuilt while the keyboard
// is still inside them.
#include "framefixture.h"
#include "shell/commands.h"
#include "shell/dvdocmanager.h"
#include "shell/dvwmdichild.h"
#include "shell/dvwmdiclient.h"
#include "store/tapptdocument.h"
#include "views/tapptview.h"
#include "viewtesthelpers.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace dvw;

namespace {

const QByteArray sampleFile = "12/8/2026 Dentist\r\n12/9/2026 Lunch with Sam\r\n";

class ViewMenus : public test::FrameFixture
{
protected:
    void start()
    {
        frame.reset();
        app.reset();
        writeFile(QStringLiteral("NOTES.APT"), sampleFile);
        makeFrame({"dayvane", "NOTES.APT"});
        frame->resize(900, 700);
        installAll();
        frame->showAtStart();
        // Keys reach the menu bar and the shortcuts only once the window is active.
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        frame->openStartFile();
        ASSERT_EQ(frame->documents().count(), 1);
    }
    TApptDocument &doc() const { return *frame->documents().current(); }
    // The window that has the keyboard: the active popup menu, else the focused widget.
    static QWidget *keyTarget()
    {
        if (QWidget *popup = QApplication::activePopupWidget())
            return popup;
        if (QWidget *focused = QApplication::focusWidget())
            return focused;
        return QApplication::activeWindow();
    }
    // Each key goes where the user's would. The widget that handled it must still be there
    // when its handling returns (a menu deleted inside its own key press reads freed memory
    // on the way out); what it left to be deleted goes before the next key.
    static void press(const std::vector<QKeyCombination> &keys)
    {
        for (const QKeyCombination key : keys) {
            const QPointer<QWidget> target = keyTarget();
            ASSERT_FALSE(target.isNull());
            const QString name = target->objectName();
            QTest::keyClick(target, key.key(), key.keyboardModifiers());
            EXPECT_FALSE(target.isNull()) << name.toStdString() << " went while it handled "
                                          << QKeySequence(key).toString().toStdString();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
    }
    std::vector<std::string> menuTexts() const
    {
        std::vector<std::string> texts;
        for (const QAction *menu : frame->menuBar()->actions())
            texts.push_back(menu->text().toStdString());
        return texts;
    }
    // The Edit menu's items, separators as "-".
    std::vector<int> editCommands() const
    {
        std::vector<int> commands;
        const QMenu *edit = frame->menuBar()->findChild<QMenu *>(QStringLiteral("menuEdit"));
        if (edit == nullptr)
            return commands;
        for (const QAction *item : edit->actions()) {
            const QString name = item->objectName();
            commands.push_back(item->isSeparator() ? 0 : name.mid(6).toInt());
        }
        return commands;
    }
    bool shows(ViewSlot slot) const { return frame->documents().viewWindow(doc(), slot); }
};

const QKeyCombination ctrlN(Qt::ControlModifier, Qt::Key_N);
const QKeyCombination ctrlW(Qt::ControlModifier, Qt::Key_W);
const QKeyCombination altV(Qt::AltModifier, Qt::Key_V);
const QKeyCombination keyF(Qt::NoModifier, Qt::Key_F);
const QKeyCombination keyC(Qt::NoModifier, Qt::Key_C);
const QKeyCombination keyA(Qt::NoModifier, Qt::Key_A);

} // namespace

// The view chosen in the View menu by its key takes the menu bar away from under that
// menu; the program goes on, the view opens and its menus are in place.
TEST_F(ViewMenus, AViewChosenByKeyboardOpensWithItsMenusAndNothingCrashes)
{
    const struct
    {
        const char *name;
        std::vector<QKeyCombination> keys;
        ViewSlot shown;
        const char *fourthMenu;
    } cases[] = {
        {"file view after a new document closed",
         {ctrlN, ctrlW, altV, keyF},
         FileViewSlot,
         "&Window"},
        {"file view", {altV, keyF}, FileViewSlot, "&Window"},
        {"file view and back", {altV, keyF, altV, keyA}, ListViewSlot, "&Window"},
        {"calendar", {altV, keyC}, CalendarViewSlot, "&Window"},
        {"calendar and back", {altV, keyC, altV, keyA}, ListViewSlot, "&Window"},
        {"calendar then file view", {altV, keyC, altV, keyF}, FileViewSlot, "&Window"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        start();
        press(c.keys);
        ASSERT_EQ(frame->documents().count(), 1);
        EXPECT_TRUE(shows(c.shown));
        const std::vector<std::string> texts = menuTexts();
        ASSERT_GE(texts.size(), 5u);
        EXPECT_EQ(texts[4], c.fourthMenu);
        // The menus still open by keyboard afterwards.
        press({altV});
        auto *view = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->objectName(), QStringLiteral("menuView"));
        view->close();
    }
}

// While a view with a menu of its own is active its popups take the place of their groups:
// the file view's File and Edit, and Mark and Sort in place of Categories, Alarm and
// Configure; the calendar's Edit. Every Edit menu begins with Undo and Redo.
TEST_F(ViewMenus, EachViewShowsItsMergedMenusWithUndoAndRedoFirstInEdit)
{
    const std::vector<std::string> mainMenu
        = {"&File",       "&Edit",  "&Search",    "&View", "&Window",
           "&Categories", "&Alarm", "Confi&Gure", "&Help"};
    const int undoRedo[] = {Cm::EditUndo, Cm::EditRedo, 0};
    const struct
    {
        const char *name;
        int open; // 0: the list as the document opens
        std::vector<std::string> menus;
        std::vector<int> edit; // after Undo, Redo and the separator
    } cases[] = {
        {"list",
         0,
         mainMenu,
         {Cm::InsertAppt, Cm::EditAppt, Cm::InsertWithDate, Cm::MarkDone, 0, Cm::EditCut,
          Cm::EditCopy, Cm::EditPaste}},
        {"calendar", Cm::ViewCalendar, mainMenu, {Cm::InsertAppt, Cm::EditPaste}},
        {"file view",
         Cm::ViewFile,
         {"&File", "&Edit", "&Search", "&View", "&Window", "&Mark", "Sor&t", "&Help"},
         {Cm::InsertAppt, Cm::EditAppt, Cm::EditCut, Cm::EditCopy, Cm::EditPaste}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        start();
        if (c.open != 0)
            frame->runCommand(c.open);
        EXPECT_EQ(menuTexts(), c.menus);
        std::vector<int> expected(std::begin(undoRedo), std::end(undoRedo));
        expected.insert(expected.end(), c.edit.begin(), c.edit.end());
        EXPECT_EQ(editCommands(), expected);
        // Leaving the view brings the main menu back.
        if (c.open != 0) {
            frame->runCommand(c.open);
            EXPECT_EQ(menuTexts(), mainMenu);
        }
    }
}

// Ctrl+Y redoes as Ctrl+Shift+Z does, wherever the keyboard is.
TEST_F(ViewMenus, CtrlYRedoesTheStepUndone)
{
    for (const int open : {0, Cm::ViewCalendar, Cm::ViewFile}) {
        SCOPED_TRACE(open);
        start();
        auto *list = qobject_cast<TApptView *>(
            frame->documents().viewWindow(doc(), ListViewSlot)->widget());
        ASSERT_NE(list, nullptr);
        list->setCursorLine(test::positionOfLine(doc(), 0));
        const std::string before = doc().FileBytes();
        frame->runCommand(Cm::MarkDone);
        const std::string after = doc().FileBytes();
        ASSERT_NE(after, before);
        if (open != 0)
            frame->runCommand(open);
        QWidget *keys = frame->documents().currentView();
        ASSERT_NE(keys, nullptr);
        keys->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([keys] { return keys->hasFocus(); }));
        press({QKeyCombination(Qt::ControlModifier, Qt::Key_Z)});
        EXPECT_EQ(doc().FileBytes(), before);
        press({QKeyCombination(Qt::ControlModifier, Qt::Key_Y)});
        EXPECT_EQ(doc().FileBytes(), after);
        doc().setChanged(false); // closing asks nothing
    }
}
