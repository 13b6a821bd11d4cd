#include "printdialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace dvw {

namespace {

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toUtf8(const QString &text)
{
    return text.toUtf8().toStdString();
}

template<typename Widget>
Widget *named(Widget *w, int control)
{
    w->setObjectName(QStringLiteral("c%1").arg(control));
    return w;
}

QDialogButtonBox *buttons(QDialog &dialog, std::function<void()> help)
{
    auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QPushButton *helpButton = box->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole);
    helpButton->setObjectName(QStringLiteral("c9"));
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(helpButton, &QPushButton::clicked, &dialog, [help] {
        if (help)
            help();
    });
    return box;
}

} // namespace

TPrintOptionsDialog::TPrintOptionsDialog(const ListOptionsControls &c, std::function<void()> help,
                                         QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("printOptionsDialog"));
    setWindowTitle(QStringLiteral("Print options - list"));
    m_start = named(new QLineEdit(fromUtf8(c.startDate), this), 100);
    auto *style = named(new QGroupBox(QStringLiteral("Style"), this), 101);
    m_wallet = named(new QRadioButton(QStringLiteral("Wallet"), style), 102);
    m_list = named(new QRadioButton(QStringLiteral("List"), style), 103);
    (c.wallet ? m_wallet : m_list)->setChecked(true);
    auto *styleLayout = new QVBoxLayout(style);
    styleLayout->addWidget(m_wallet);
    styleLayout->addWidget(m_list);
    auto *range = named(new QGroupBox(QStringLiteral("Range"), this), 104);
    m_endDate = named(new QRadioButton(QStringLiteral("End date"), range), 105);
    m_byPages = named(new QRadioButton(QStringLiteral("Number of pages"), range), 106);
    m_end = named(new QLineEdit(fromUtf8(c.endDate), range), 107);
    m_pages = named(new QLineEdit(fromUtf8(c.pages), range), 108);
    (c.byPages ? m_byPages : m_endDate)->setChecked(true);
    auto *rangeLayout = new QGridLayout(range);
    rangeLayout->addWidget(m_endDate, 0, 0);
    rangeLayout->addWidget(m_end, 0, 1);
    rangeLayout->addWidget(m_byPages, 1, 0);
    rangeLayout->addWidget(m_pages, 1, 1);
    m_notes = named(new QCheckBox(QStringLiteral("Include notes"), this), 109);
    m_notes->setChecked(c.includeNotes);
    m_columns = named(new QLineEdit(fromUtf8(c.columns), this), 110);
    connect(m_endDate, &QRadioButton::toggled, this, &TPrintOptionsDialog::rangeChosen);
    rangeChosen();

    auto *form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("Start date:"), this), 0, 0);
    form->addWidget(m_start, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Number of columns:"), this), 1, 0);
    form->addWidget(m_columns, 1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(style);
    layout->addWidget(range);
    layout->addWidget(m_notes);
    layout->addWidget(buttons(*this, std::move(help)));
}

void TPrintOptionsDialog::rangeChosen()
{
    m_end->setEnabled(m_endDate->isChecked());
    m_pages->setEnabled(m_byPages->isChecked());
}

ListOptionsControls TPrintOptionsDialog::controls() const
{
    ListOptionsControls c;
    c.startDate = toUtf8(m_start->text());
    c.endDate = toUtf8(m_end->text());
    c.wallet = m_wallet->isChecked();
    c.byPages = m_byPages->isChecked();
    c.pages = toUtf8(m_pages->text());
    c.includeNotes = m_notes->isChecked();
    c.columns = toUtf8(m_columns->text());
    return c;
}

TMonthDialog::TMonthDialog(const MonthRange &range, const std::string &explanation,
                           std::function<void()> help, QWidget *parent)
    : QDialog(parent)
    , m_range(range)
{
    setObjectName(QStringLiteral("monthDialog"));
    setWindowTitle(QStringLiteral("Print options - monthly"));
    const auto bar = [this](int control, bool start) {
        // The bar only reports its arrows and pages; its value always returns to the middle.
        auto *b = named(new QScrollBar(Qt::Vertical, this), control);
        b->setRange(0, 2);
        b->setValue(1);
        connect(b, &QScrollBar::actionTriggered, this,
                [this, start](int action) { scrolled(start, action); });
        return b;
    };
    const auto text = [this](int control) {
        auto *t = named(new QLineEdit(this), control);
        t->setReadOnly(true);
        return t;
    };
    m_startBar = bar(350, true);
    m_startText = text(351);
    m_endBar = bar(352, false);
    m_endText = text(353);
    auto *note = named(new QLabel(fromUtf8(explanation), this), 354);
    note->setTextFormat(Qt::PlainText);
    note->setWordWrap(true);
    showMonths();

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Start month:"), this), 0, 0);
    grid->addWidget(m_startText, 0, 1);
    grid->addWidget(m_startBar, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("End month:"), this), 1, 0);
    grid->addWidget(m_endText, 1, 1);
    grid->addWidget(m_endBar, 1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addWidget(buttons(*this, std::move(help)));
}

void TMonthDialog::scrolled(bool start, int action)
{
    int step = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderPageStepSub:
        step = -1;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderPageStepAdd:
        step = 1;
        break;
    default:
        break;
    }
    if (step != 0) {
        if (start)
            MoveStartMonth(m_range, step);
        else
            MoveEndMonth(m_range, step);
        showMonths();
    }
    (start ? m_startBar : m_endBar)->setSliderPosition(1);
}

void TMonthDialog::showMonths()
{
    m_startText->setText(fromUtf8(MonthText(m_range.startMonth, m_range.startYear)));
    m_endText->setText(fromUtf8(MonthText(m_range.endMonth, m_range.endYear)));
}

} // namespace dvw
