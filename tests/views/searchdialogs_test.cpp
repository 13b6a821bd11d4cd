#include "platform/windowfit.h"
#include "views/categorydialogs.h"
#include "views/searchdialogs.h"
#include "views/tdeldialog.h"
#include "viewtesthelpers.h"

#include <QLineEdit>
#include <QProxyStyle>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

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

// Both text dialogs open ready to type over the current text, and Return takes what was
// typed (the focus once sat on OK, so typing went nowhere and Return took the old text).
TEST(TextDialogs, OpenWithTheTextSelectedAndTakeWhatIsTyped)
{
    struct Case
    {
        const char *name;
        std::function<std::unique_ptr<QDialog>()> make;
        std::function<std::string(QDialog &)> text;
    };
    const Case cases[] = {
        {"search", [] { return std::make_unique<TSearchDialog>("old text"); },
         [](QDialog &d) { return static_cast<TSearchDialog &>(d).text(); }},
        {"screen", [] { return std::make_unique<TScreenDialog>("old text", nullptr); },
         [](QDialog &d) { return static_cast<TScreenDialog &>(d).text(); }},
    };
    for (const Case &c : cases) {
        std::unique_ptr<QDialog> dialog = c.make();
        dialog->show();
        auto *edit = qobject_cast<QLineEdit *>(dialog->focusWidget());
        ASSERT_NE(edit, nullptr) << c.name;
        EXPECT_EQ(edit->selectedText(), QStringLiteral("old text")) << c.name;
        QTest::keyClicks(edit, QStringLiteral("new"));
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(dialog->result(), QDialog::Accepted) << c.name;
        EXPECT_EQ(c.text(*dialog), "new") << c.name;
    }
}

// Every small dialog is wide enough for its whole caption ("Delete…tment" was cut).
TEST(TextDialogs, CaptionsShowWhole)
{
    std::vector<std::unique_ptr<QDialog>> dialogs;
    dialogs.push_back(std::make_unique<TDelDialog>());
    dialogs.push_back(std::make_unique<TSearchDialog>(""));
    dialogs.push_back(std::make_unique<TScreenDialog>("", nullptr));
    dialogs.push_back(std::make_unique<TPriorityLevelDialog>());
    dialogs.push_back(std::make_unique<TStartDateDialog>(TDate(7, 12, 2026), DateTextSettings {}));
    for (const auto &dialog : dialogs) {
        dialog->show();
        EXPECT_GE(dialog->width(), TitleBarWidth(dialog->windowTitle(), dialog->font()))
            << dialog->windowTitle().toStdString();
    }
}

// A ticked category shows the platform's ticked check box, the others an empty one.
TEST(CategoryDialog, SelectedCategoriesShowThePlatformsTickedCheckBox)
{
    class CheckBoxes : public QProxyStyle
    {
    public:
        void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                           const QWidget *widget) const override
        {
            if (element == PE_IndicatorCheckBox)
                (option->state & State_On ? ticked : unticked) += 1;
            QProxyStyle::drawPrimitive(element, option, painter, widget);
        }
        mutable int ticked = 0;
        mutable int unticked = 0;
    };
    auto doc = test::documentOf({"\\C!HOME= Family", "\\C WORK=Office", "\\C!GYM=Sport"},
                                TDate(7, 12, 2026), 30, false);
    TCatSelectDialog dialog(*doc, {}, {});
    TCatListBox *list = dialog.list();
    int selected = 0;
    for (int i = 0; i < list->count(); ++i)
        selected += list->item(i)->isSelected();
    ASSERT_EQ(list->count(), 5);
    CheckBoxes style;
    list->setStyle(&style);
    list->resize(300, 200);
    (void)list->grab();
    EXPECT_EQ(style.ticked, selected);
    EXPECT_EQ(style.unticked, list->count() - selected);
    list->setStyle(nullptr);
    dialog.reject();
}
