#include "searchdialogs.h"

#include "platform/windowfit.h"
#include "store/startdate.h"

#include <QDialogButtonBox>
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
    return text.toStdString();
}

QDialogButtonBox *okCancel(QDialog &dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

// A caption, a prompt over one edit, and the buttons.
QLineEdit *promptLayout(QDialog &dialog, const QString &caption, const QString &prompt,
                        const QString &editName, const std::string &current,
                        QDialogButtonBox *buttons)
{
    dialog.setWindowTitle(caption);
    auto *edit = new QLineEdit(fromUtf8(current), &dialog);
    edit->setObjectName(editName);
    edit->selectAll();
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(prompt, &dialog));
    layout->addWidget(edit);
    layout->addWidget(buttons);
    // The buttons were made first: the text comes first, so typing replaces it at once and
    // Return searches for what was typed.
    QWidget::setTabOrder(edit, buttons);
    edit->setFocus();
    KeepTitleWhole(dialog);
    return edit;
}

} // namespace

TSearchDialog::TSearchDialog(const std::string &current, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("searchDialog"));
    m_edit = promptLayout(*this, QStringLiteral("Search"), QStringLiteral("Enter search string:"),
                          QStringLiteral("searchEdit"), current, okCancel(*this));
}

std::string TSearchDialog::text() const
{
    return toUtf8(m_edit->text());
}

TScreenDialog::TScreenDialog(const std::string &current, std::function<void()> help,
                             QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("screenDialog"));
    QDialogButtonBox *buttons = okCancel(*this);
    QPushButton *helpButton = buttons->addButton(QDialogButtonBox::Help);
    helpButton->setObjectName(QStringLiteral("helpButton"));
    connect(helpButton, &QPushButton::clicked, this, [help = std::move(help)] {
        if (help)
            help();
    });
    m_edit = promptLayout(*this, QStringLiteral("Screen appointments"),
                          QStringLiteral("Select appointments containing:"),
                          QStringLiteral("screenEdit"), current, buttons);
}

std::string TScreenDialog::text() const
{
    return toUtf8(m_edit->text());
}

TPriorityLevelDialog::TPriorityLevelDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("priorityDialog"));
    setWindowTitle(QStringLiteral("Priority level"));
    auto *group = new QGroupBox(QStringLiteral("Show appointments with priority at least:"), this);
    auto *row = new QHBoxLayout(group);
    for (int i = 0; i < 4; ++i) {
        m_buttons[i] = new QRadioButton(QString::number(i + 1), group);
        m_buttons[i]->setObjectName(QStringLiteral("priority%1").arg(i + 1));
        row->addWidget(m_buttons[i]);
    }
    m_buttons[3]->setChecked(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(okCancel(*this));
    KeepTitleWhole(*this);
}

int TPriorityLevelDialog::level() const
{
    for (int i = 0; i < 4; ++i) {
        if (m_buttons[i]->isChecked())
            return i + 1;
    }
    return 4;
}

TStartDateDialog::TStartDateDialog(const TDate &today, const DateTextSettings &settings,
                                   QWidget *parent)
    : QDialog(parent)
    , m_today(today)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("startDateDialog"));
    setWindowTitle(QStringLiteral("Start date"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("startDateEdit"));
    // The bar only reports its arrows and pages; its value always returns to the middle.
    m_scroll = new QScrollBar(Qt::Vertical, this);
    m_scroll->setObjectName(QStringLiteral("dayScrollBar"));
    m_scroll->setRange(0, 2);
    m_scroll->setValue(1);
    m_weekday = new QLineEdit(this);
    m_weekday->setObjectName(QStringLiteral("weekdayEdit"));
    m_weekday->setReadOnly(true);
    m_weekday->setFocusPolicy(Qt::NoFocus);
    m_weekday->setMaximumWidth(m_weekday->fontMetrics().horizontalAdvance(QStringLiteral("WWWW")));
    connect(m_edit, &QLineEdit::textChanged, this, &TStartDateDialog::showWeekday);
    connect(m_scroll, &QScrollBar::actionTriggered, this, &TStartDateDialog::scrollAction);

    auto *row = new QHBoxLayout;
    row->addWidget(m_edit);
    row->addWidget(m_scroll);
    row->addWidget(m_weekday);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Starting date:"), this));
    layout->addLayout(row);
    layout->addWidget(okCancel(*this));
    KeepTitleWhole(*this);
    m_edit->setText(fromUtf8(StartDateText(today, settings)));
    m_edit->selectAll();
}

void TStartDateDialog::showWeekday()
{
    m_weekday->setText(fromUtf8(StartDateWeekday(toUtf8(m_edit->text()), m_settings)));
}

void TStartDateDialog::step(int days)
{
    m_edit->setText(fromUtf8(StepStartDate(toUtf8(m_edit->text()), days, m_today, m_settings)));
}

void TStartDateDialog::scrollAction(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderPageStepSub:
        step(-1);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderPageStepAdd:
        step(1);
        break;
    default:
        break;
    }
    m_scroll->setSliderPosition(1);
}

std::optional<TDate> TStartDateDialog::startDate() const
{
    return ReadStartDate(toUtf8(m_edit->text()), m_settings);
}

} // namespace dvw
