#include "views/dayview.h"
#include "views/tdaydialog.h"
#include "views/tdayedit.h"
#include "viewtesthelpers.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace dvw;
using test::documentOf;

namespace {

const std::vector<std::string> dayLines = {
    "12/9/2026 Lunch with Ann",
    "12/9/2026 9:00 Dentist\r\nbring the card",
    "12/9/2026 Buy bread",
    "12/3/2026 Before the start",
};

} // namespace

TEST(DayView, ListsTheDaysDescriptionsInTheDaysOrder)
{
    auto doc = documentOf(dayLines);
    const DayViewContent day = DayViewFor(*doc, TDate(9, 12, 2026));
    EXPECT_EQ(day.caption, QStringLiteral("December 9, 2026"));
    // Timed first, then by text; a continued record keeps its lines.
    EXPECT_EQ(day.text,
              QStringLiteral("9:00 Dentist\r\nbring the card\r\nBuy bread\r\nLunch with Ann\r\n"));
}

TEST(DayView, DaysWithoutInstancesSayWhyAndLeadInDaysAreInRange)
{
    auto doc = documentOf(dayLines);
    EXPECT_EQ(DayViewFor(*doc, TDate(10, 12, 2026)).text, QStringLiteral("No appointments."));
    // The days of the start month before the start date are the calendar's lead-in: in range.
    EXPECT_EQ(DayViewFor(*doc, TDate(3, 12, 2026)).text, QStringLiteral("Before the start\r\n"));
    EXPECT_EQ(DayViewFor(*doc, TDate(1, 12, 2026)).text, QStringLiteral("No appointments."));
    for (const TDate &outside : {TDate(30, 11, 2026), TDate(6, 1, 2027), TDate(3, 12, 2027),
                                 TDate(9, 12, 2025), TDate()}) {
        EXPECT_EQ(DayViewFor(*doc, outside).text,
                  QStringLiteral("Date not in range of appointments being viewed."))
            << outside.dayNumber;
    }
    // The window's last day is still in range.
    EXPECT_EQ(DayViewFor(*doc, TDate(5, 1, 2027)).text, QStringLiteral("No appointments."));
    EXPECT_EQ(DayViewFor(*doc, TDate(5, 1, 2027)).caption, QStringLiteral("January 5, 2027"));
}

TEST(DayDialog, ShowsCaptionAndTextWithNothingSelected)
{
    TDayDialog dialog;
    dialog.setCaption(QStringLiteral("December 9, 2026"));
    dialog.setText(QStringLiteral("Dentist\r\n<i>Buy</i> bread\r\n"));
    dialog.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("December 9, 2026"));
    EXPECT_EQ(dialog.edit()->toPlainText(), QStringLiteral("Dentist\n<i>Buy</i> bread"));
    EXPECT_FALSE(dialog.edit()->textCursor().hasSelection());
    EXPECT_TRUE(dialog.edit()->isReadOnly());
    // The edit sits 5 units in and fills the dialog but for a 3-unit margin.
    EXPECT_GT(dialog.edit()->x(), 0);
    EXPECT_LT(dialog.edit()->geometry().right(), dialog.width());
    EXPECT_LT(dialog.edit()->geometry().bottom(), dialog.height());
    dialog.reject();
}

TEST(DayDialog, AnyTypedCharacterClosesIt)
{
    TDayDialog dialog;
    dialog.setText(QString::fromLatin1(noAppointmentsText));
    dialog.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.edit()->toPlainText(), QStringLiteral("No appointments."));
    // Moving keys scroll the text and leave the dialog open.
    QTest::keyClick(dialog.edit(), Qt::Key_Down);
    QTest::keyClick(dialog.edit(), Qt::Key_PageDown);
    EXPECT_TRUE(dialog.isVisible());
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    QTest::keyClick(dialog.edit(), Qt::Key_Q);
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(DayDialog, LeftClickClosesItRightClickDoesNot)
{
    TDayDialog dialog;
    dialog.setText(QStringLiteral("Dentist\r\n"));
    dialog.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.edit()->viewport(), Qt::RightButton);
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(dialog.edit()->viewport(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(DayDialog, LongTextIsScrolledNeverCut)
{
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("Appointment number %1\r\n").arg(i);
    TDayDialog dialog;
    dialog.setText(text);
    EXPECT_GT(text.size(), 1000);
    EXPECT_TRUE(dialog.edit()->toPlainText().endsWith(QStringLiteral("Appointment number 199")));
}
