#include "framefixture.h"
#include "shell/commands.h"
#include "shell/commandtable.h"
#include "shell/dvdocmanager.h"
#include "shell/standardkeys.h"

#include <QAction>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

using namespace dvw;

namespace {

QKeySequence key(const char *text)
{
    return QKeySequence(QString::fromLatin1(text));
}

class StandardKeys : public test::FrameFixture
{
protected:
    void start()
    {
        makeFrame({"dayvane"});
        frame->resize(900, 600);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    // The keys the program gives a meaning of its own: accelerators, menu keys, help keys.
    static QList<QKeySequence> ownKeys()
    {
        QList<QKeySequence> own = {key("F1"), key("Shift+F1"), key("Alt+F4")};
        for (const Accelerator &a : AcceleratorTable())
            own.append(QKeySequence(QString::fromLatin1(a.key.data(), qsizetype(a.key.size()))));
        return own;
    }
};

} // namespace

TEST(FreeStandardKeys, LeavesOutTakenEmptyAndRepeatedKeys)
{
    struct Case
    {
        QList<QKeySequence> platform;
        QList<QKeySequence> taken;
        QList<QKeySequence> free;
    };
    const std::vector<Case> cases = {
        {{key("Ctrl+N")}, {}, {key("Ctrl+N")}},
        {{key("Ctrl+F4"), key("Ctrl+W")}, {key("Ctrl+W")}, {key("Ctrl+F4")}},
        {{key("F1")}, {key("F1"), key("Shift+F1")}, {}},
        {{QKeySequence(), key("Ctrl+Q"), key("Ctrl+Q")}, {}, {key("Ctrl+Q")}},
        {{}, {key("Ctrl+S")}, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FreeStandardKeys(c.platform, c.taken), c.free)
            << QKeySequence::listToString(c.platform).toStdString();
}

TEST_F(StandardKeys, EveryFreePlatformKeyIsOnItsCommandAndNoOwnKeyMovesToAnother)
{
    start();
    const QList<QKeySequence> own = ownKeys();
    for (const StandardKeyCommand &s : StandardKeyCommands()) {
        const QList<QKeySequence> shortcuts = frame->action(s.command)->shortcuts();
        for (const QKeySequence &k : QKeySequence::keyBindings(s.key)) {
            EXPECT_EQ(shortcuts.contains(k), !own.contains(k))
                << s.command << " " << k.toString().toStdString();
        }
    }
    EXPECT_EQ(frame->action(Cm::Exit)->shortcuts().front(), key("Alt+F4"));
}

TEST_F(StandardKeys, TheNewKeyOpensADocumentAndTheCloseKeyClosesIt)
{
    start();
    const QList<QKeySequence> newKeys = QKeySequence::keyBindings(QKeySequence::New);
    const QList<QKeySequence> closeKeys = QKeySequence::keyBindings(QKeySequence::Close);
    ASSERT_FALSE(newKeys.isEmpty());
    ASSERT_FALSE(closeKeys.isEmpty());
    const QKeyCombination newKey = newKeys.front()[0];
    QTest::keyClick(frame.get(), newKey.key(), newKey.keyboardModifiers());
    ASSERT_EQ(frame->documents().count(), 1);
    QWidget *focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    // Whatever has the keyboard inside the main window.
    QTest::keyClick(focus, newKey.key(), newKey.keyboardModifiers());
    ASSERT_EQ(frame->documents().count(), 2);
    const QKeyCombination closeKey = closeKeys.back()[0];
    QTest::keyClick(QApplication::focusWidget(), closeKey.key(), closeKey.keyboardModifiers());
    EXPECT_EQ(frame->documents().count(), 1);
}
