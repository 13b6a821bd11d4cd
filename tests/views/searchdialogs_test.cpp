#include "views/categorydialogs.h"
#include "views/searchdialogs.h"
#include "viewtesthelpers.h"

#include <QLineEdit>
#include <QScrollBar>

#include <gtest/gtest.h>

using namespace dvw;

TEST(CategoryDialog, ItemsCarryCodeDescriptionAndColourOnlyWhenTheCategoryHasOne)
{
    auto doc
        = test::documentOf({"\\C!HOME,3= Family", "\\C work=Office", "\\C BAD,99=Out of range"},
                           TDate(7, 12, 2026), 30, false);
    std::array<QColor, 15> colours;
    for (std::size_t i = 0; i < colours.size(); ++i)
        colours[i] = QColor::fromHsv(static_cast<int>(i) * 20, 255, 200);
    TCatSelectDialog dialog(*doc, colours, {});
    TCatListBox *list = dialog.list();
    ASSERT_EQ(list->count(), 5);
    struct Expected
    {
        int item;
        const char *code;
        const char *description;
        bool coloured;
        bool selected;
    };
    const Expected expected[] = {
        {2, "BAD ", "Out of range", false, false}, // colour 99 is no colour of the settings
        {3, "HOME", "Family", true, true},
        {4, "WORK", "Office", false, false},
    };
    for (const Expected &e : expected) {
        const QListWidgetItem *item = list->item(e.item);
        EXPECT_EQ(item->data(TCatListBox::CodeRole).toString(), QString::fromLatin1(e.code));
        EXPECT_EQ(item->data(TCatListBox::DescriptionRole).toString(),
                  QString::fromLatin1(e.description));
        EXPECT_EQ(item->data(TCatListBox::ColourRole).isValid(), e.coloured) << e.code;
        EXPECT_EQ(item->isSelected(), e.selected) << e.code;
    }
    EXPECT_EQ(list->item(3)->data(TCatListBox::ColourRole).value<QColor>(), colours[2]);
    EXPECT_FALSE(list->item(0)->isSelected()); // "all" is off in this document
    EXPECT_TRUE(list->item(1)->isSelected());
    // Drawing every item, selected or not, with and without focus.
    list->setCurrentRow(3);
    list->resize(300, 200);
    EXPECT_FALSE(list->grab().isNull());
    dialog.reject();
    EXPECT_FALSE(doc->isChanged());
}

TEST(StartDateDialog, ScrollBarStepsBothWaysAndStaysInTheMiddle)
{
    const TDate today(7, 12, 2026);
    TStartDateDialog dialog(today, DateTextSettings {});
    auto *scroll = dialog.findChild<QScrollBar *>(QStringLiteral("dayScrollBar"));
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("startDateEdit"));
    const struct
    {
        QAbstractSlider::SliderAction action;
        TDate expected;
    } steps[] = {
        {QAbstractSlider::SliderSingleStepSub, TDate(6, 12, 2026)},
        {QAbstractSlider::SliderPageStepSub, TDate(5, 12, 2026)},
        {QAbstractSlider::SliderPageStepAdd, TDate(6, 12, 2026)},
        {QAbstractSlider::SliderSingleStepAdd, TDate(7, 12, 2026)},
    };
    for (const auto &s : steps) {
        scroll->triggerAction(s.action);
        ASSERT_TRUE(dialog.startDate().has_value());
        EXPECT_EQ(*dialog.startDate(), s.expected);
        EXPECT_EQ(scroll->value(), 1);
    }
    edit->setText(QStringLiteral("not a date"));
    scroll->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(*dialog.startDate(), today); // no date: today goes in
}
