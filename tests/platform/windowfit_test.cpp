// Windows open whole: their captions are not cut and they lie on the screen.
#include "platform/helpbook.h"
#include "platform/inputdialog.h"
#include "platform/windowfit.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

using dvw::KeepInside;

// Whatever the window, the result lies inside the screen area, keeps the window's size
// where it fits, and leaves a window that lies inside already where it was.
RC_GTEST_PROP(WindowFitProperty, KeepInsidePutsTheWindowOnTheScreen,
              (int x, int y, std::uint16_t w, std::uint16_t h, std::uint16_t aw, std::uint16_t ah))
{
    const QRect available(10, 20, aw % 3000 + 1, ah % 3000 + 1);
    const QRect window(x % 10000, y % 10000, w % 4000 + 1, h % 4000 + 1);
    const QRect placed = KeepInside(window, available);
    RC_ASSERT(available.contains(placed));
    RC_ASSERT(placed.size() == window.size().boundedTo(available.size()));
    if (available.contains(window))
        RC_ASSERT(placed == window);
}

// The small dialogs were narrower than their captions ("Delete…tment"), and the text
// question left a gap of four lines under its one-line prompt.
TEST(WindowFit, TheTextQuestionIsAsTallAsItsTextAndAsWideAsItsCaption)
{
    for (const QString &caption : {QStringLiteral("Timer"), QStringLiteral("Mark String"),
                                   QStringLiteral("A caption longer than the prompt is")}) {
        dvw::InputDialog dialog(caption, QStringLiteral("Minutes until bell: "), QString());
        dialog.show();
        auto *prompt = dialog.findChild<QLabel *>(QStringLiteral("prompt"));
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("edit"));
        ASSERT_NE(prompt, nullptr);
        EXPECT_GE(dialog.width(), dvw::TitleBarWidth(caption, dialog.font()))
            << caption.toStdString();
        EXPECT_LT(prompt->height(), 2 * prompt->fontMetrics().lineSpacing())
            << caption.toStdString();
        const int spacing = dialog.layout()->spacing();
        EXPECT_LE(edit->geometry().top() - prompt->geometry().bottom(), spacing + 2)
            << caption.toStdString();
    }
}

TEST(WindowFit, TheHelpWindowOpensOnTheScreenAndComesBackToIt)
{
    QTemporaryDir dir;
    dvw::HelpBook book(dir.path());
    book.showContents();
    QTextBrowser *window = book.window();
    ASSERT_NE(window, nullptr);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(available.contains(window->frameGeometry())) << available.width();
    window->close();
    window->move(available.right() - 10, available.bottom() - 10);
    book.showTopic(24337);
    EXPECT_TRUE(available.contains(window->geometry()));
    // While it shows, it stays where the user put it.
    window->move(available.topLeft() + QPoint(50, 60));
    const QPoint put = window->pos();
    book.showContents();
    EXPECT_EQ(window->pos(), put);
}
