#include "categorydialogs.h"

#include "platform/displaytext.h"
#include "store/tapptdocument.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace dvw {

namespace {

constexpr int markLeft = 3;
constexpr int codeLeft = 15;
constexpr int descriptionLeft = 100;

QString fromBytes(std::string_view text)
{
    return DisplayText(text);
}

class CatItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(TCatListBox::itemHeight, option.fontMetrics.height()));
        return size;
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const QPalette &p = option.palette;
        const bool focused = option.state & QStyle::State_HasFocus;
        const QRect r = option.rect;
        painter->save();
        painter->fillRect(r, focused ? p.color(QPalette::Highlight) : p.color(QPalette::Base));
        const QRect box = checkBoxRect(option);
        paintCheckBox(painter, option, box);
        QColor text = focused ? p.color(QPalette::HighlightedText) : p.color(QPalette::Text);
        const QVariant colour = index.data(TCatListBox::ColourRole);
        if (colour.isValid() && !focused)
            text = colour.value<QColor>();
        painter->setPen(text);
        // The texts start right of the check box, however large the platform draws it.
        const int shift = std::max(0, box.right() + 4 - (r.left() + codeLeft));
        const auto at = [&r, shift](int left) { return r.adjusted(left + shift, 0, 0, 0); };
        const QVariant code = index.data(TCatListBox::CodeRole);
        if (code.isValid()) {
            painter->drawText(at(codeLeft), Qt::AlignVCenter | Qt::TextSingleLine,
                              QStringLiteral("(%1)").arg(code.toString()));
            painter->drawText(at(descriptionLeft), Qt::AlignVCenter | Qt::TextSingleLine,
                              QStringLiteral("  ")
                                  + index.data(TCatListBox::DescriptionRole).toString());
        } else {
            painter->drawText(at(codeLeft), Qt::AlignVCenter | Qt::TextSingleLine,
                              index.data(Qt::DisplayRole).toString());
        }
        painter->restore();
    }

private:
    static QStyle *styleOf(const QStyleOptionViewItem &option)
    {
        return option.widget ? option.widget->style() : QApplication::style();
    }
    // The check box at the row's left, as large as the platform draws one.
    static QRect checkBoxRect(const QStyleOptionViewItem &option)
    {
        const QStyle *style = styleOf(option);
        const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget);
        const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget);
        return QRect(option.rect.left() + markLeft, option.rect.center().y() - h / 2, w, h);
    }
    // A selected category shows a ticked box, drawn by the platform's style.
    static void paintCheckBox(QPainter *painter, const QStyleOptionViewItem &option,
                              const QRect &box)
    {
        QStyleOptionButton check;
        check.palette = option.palette;
        check.direction = option.direction;
        check.fontMetrics = option.fontMetrics;
        check.rect = box;
        check.state = QStyle::State_Enabled
            | (option.state & QStyle::State_Selected ? QStyle::State_On : QStyle::State_Off);
        styleOf(option)->drawPrimitive(QStyle::PE_IndicatorCheckBox, &check, painter,
                                       option.widget);
    }
};

} // namespace

TCatListBox::TCatListBox(QWidget *parent)
    : QListWidget(parent)
{
    setObjectName(QStringLiteral("categoryList"));
    setSelectionMode(QAbstractItemView::MultiSelection);
    setItemDelegate(new CatItemDelegate(this));
    setUniformItemSizes(true);
}

TCatSelectDialog::TCatSelectDialog(TApptDocument &doc, const std::array<QColor, 15> &colours,
                                   std::function<void()> help, QWidget *parent)
    : QDialog(parent)
    , m_selection(doc)
{
    setObjectName(QStringLiteral("categoryDialog"));
    setWindowTitle(QStringLiteral("Category selection"));
    m_list = new TCatListBox(this);
    fill(doc, colours);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &TCatSelectDialog::followList);
    auto *buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [help = std::move(help)] {
        if (help)
            help();
    });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

void TCatSelectDialog::fill(const TApptDocument &doc, const std::array<QColor, 15> &colours)
{
    m_following = true;
    m_list->addItem(QStringLiteral("  All (overrides other selections)"));
    m_list->addItem(QStringLiteral("  Default (no explicit category)"));
    for (std::size_t i = 0; i < doc.categories().size(); ++i) {
        const CatStruct &cat = doc.categories()[i];
        auto *item = new QListWidgetItem(m_list);
        item->setData(TCatListBox::CodeRole, fromBytes(cat.code.data()));
        item->setData(TCatListBox::DescriptionRole,
                      fromBytes(doc.categoryDescription(static_cast<int>(i))));
        if (cat.colour >= 1 && cat.colour <= colours.size())
            item->setData(TCatListBox::ColourRole, colours[cat.colour - 1]);
    }
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setSelected(m_selection.isSelected(i));
    m_following = false;
}

void TCatSelectDialog::followList()
{
    if (m_following)
        return;
    m_following = true;
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem *item = m_list->item(i);
        if (item->isSelected() == m_selection.isSelected(i))
            continue;
        if (m_selection.setSelected(i, item->isSelected()))
            m_changed = true;
        else
            item->setSelected(m_selection.isSelected(i)); // the category is gone
    }
    m_following = false;
}

void TCatSelectDialog::reject()
{
    m_selection.cancel();
    QDialog::reject();
}

TCatDefDialog::TCatDefDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("categoryDefinitionDialog"));
    setWindowTitle(QStringLiteral("Category definition"));
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("categoryCodeEdit"));
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("categoryDescriptionEdit"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Enter a code of up to 4 characters:"), this));
    layout->addWidget(m_code);
    layout->addWidget(new QLabel(QStringLiteral("Enter a description of this category:"), this));
    layout->addWidget(m_description);
    layout->addWidget(buttons);
}

std::string TCatDefDialog::definitionLine() const
{
    return NewDefinitionLine(m_code->text().toStdString(), m_description->text().toStdString());
}

} // namespace dvw
