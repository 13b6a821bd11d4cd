#include "tapptdialog.h"

#include "core/datetext.h"
#include "platform/clock.h"
#include "platform/displaytext.h"
#include "platform/entryclipboard.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <utility>

namespace dvw {

namespace {

// The kind buttons: number, text, button.
struct KindControl
{
    int id;
    const char *text;
    KindButton button;
};
constexpr std::array<KindControl, 7> kindControls {{
    {239, "&Note", KindButton::Note},
    {238, "&Single appointment", KindButton::Single},
    {237, "&Anniversary", KindButton::Anniversary},
    {235, "&Birthday (with age)", KindButton::Birthday},
    {241, "&Every nth day, wk or mon", KindButton::EveryN},
    {234, "E.g. 3&rd Monday in March", KindButton::NthWeekday},
    {240, "E.g. e&very Mon and Wed", KindButton::Weekly},
}};
constexpr std::array<const char *, markCount> markTexts {"Holiday", "Don't print", "Weekdays only",
                                                         "Nag",     "Completed",   "Unimportant"};
constexpr int firstMark = 243;
constexpr int firstWeekdayBox = 261;
constexpr int firstPriority = 255;

// The text fields, by control number.
struct FieldControl
{
    int id;
    std::string FormControls::*field;
};
constexpr std::array<FieldControl, 10> fieldControls {{
    {201, &FormControls::text}, // placeholder: the edit box is handled on its own
    {252, &FormControls::alarmAdvance},
    {253, &FormControls::warnDays},
    {280, &FormControls::showFollowing},
    {251, &FormControls::doneDates},
    {250, &FormControls::excludedDates},
    {278, &FormControls::startDate},
    {279, &FormControls::endDate},
    {271, &FormControls::mainDate},
    {269, &FormControls::count},
}};
constexpr int offsetField = 272;

// The date fields: edit, spinner, weekday box.
struct DateControls
{
    ApptForm::DateField field;
    int edit;
    int spinner;
    int weekdayBox;
};
constexpr std::array<DateControls, 3> dateControls {{
    {ApptForm::DateField::Main, 271, 297, 300},
    {ApptForm::DateField::Start, 278, 277, 298},
    {ApptForm::DateField::End, 279, 276, 299},
}};

// The container of each control group, by group number.
constexpr std::array<int, groupCount> groupContainers {1260, 1251, 1268, 1253, 1280, 1252,
                                                       1273, 1272, 1269, 1271, 1278, 1279};
constexpr std::array<bool, groupCount> groupShows {true, false, true, false, false, false,
                                                   true, true,  true, true,  false, false};

QString fromLatin(const char *text)
{
    return QString::fromLatin1(text);
}

// What a paste puts into the edit box; a null text when the data holds none.
QString pastedText(const QMimeData *source)
{
    if (source == nullptr)
        return {};
    if (const std::optional<std::string> line = CopiedLineOf(source))
        return EditBoxText(*line);
    if (!source->hasText())
        return {};
    QString text = source->text();
    // A NUL ends clipboard text; CR LF is the box's line break.
    if (const qsizetype nul = text.indexOf(QChar(u'\0')); nul >= 0)
        text.truncate(nul);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

TDate dateOf(const QDate &date)
{
    return TDate(static_cast<std::uint32_t>(date.day()), static_cast<std::uint32_t>(date.month()),
                 static_cast<std::uint32_t>(date.year()));
}

} // namespace

QString EditBoxText(const std::string &bytes)
{
    QString text = DisplayText(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // A lone CR and a NUL would be lost in the edit box: they show as their symbols.
    text.replace(QChar(u'\r'), QChar(0x240D));
    text.replace(QChar(u'\0'), QChar(0x2400));
    return text;
}

std::string EditBoxBytes(const QString &text)
{
    QString line = text;
    line.replace(QChar(0x2029), QChar(u'\n')); // paragraph separators of a selection
    line.replace(QChar(u'\n'), QStringLiteral("\r\n"));
    line.replace(QChar(0x240D), QChar(u'\r'));
    line.replace(QChar(0x2400), QChar(u'\0'));
    const QByteArray utf8 = line.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

void TApptEdit::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const int key = event->key();
    if (ctrl && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        emit okRequested();
    } else if (ctrl && key == Qt::Key_Tab) {
        insertPlainText(QStringLiteral("\t"));
    } else if (key == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        emit helpRequested();
    } else if (ctrl
               && (key == Qt::Key_D || key == Qt::Key_B || key == Qt::Key_L || key == Qt::Key_T)) {
        emit insertRequested(QChar(key));
    } else {
        QPlainTextEdit::keyPressEvent(event);
    }
}

bool TApptEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return !pastedText(source).isEmpty();
}

void TApptEdit::insertFromMimeData(const QMimeData *source)
{
    const QString text = pastedText(source);
    if (!text.isEmpty())
        insertPlainText(text);
}

TApptDialog::TApptDialog(QWidget *parent, FormDocument document, const std::string &line,
                         TDate openingDate, ApptDialogSettings settings, const Clock &clock)
    : QDialog(parent)
    , m_settings(std::move(settings))
    , m_clock(clock)
    , m_dateSettings(document.context->dateSettings())
{
    m_form
        = std::make_unique<ApptForm>(std::move(document), line, openingDate, m_settings.bigDialog);
    setWindowTitle(QStringLiteral("Edit Appointment"));
    setWindowModality(Qt::WindowModal);
    build();
    push();
    showMode();
    sizeForMode();
    QTextCursor end = m_edit->textCursor();
    end.movePosition(QTextCursor::End);
    m_edit->setTextCursor(end);
    m_edit->setFocus();
    updatePreview();
}

TApptDialog::~TApptDialog() = default;

template<typename W>
W *TApptDialog::add(W *widget, int id)
{
    widget->setObjectName(QStringLiteral("c%1").arg(id));
    m_controls[id] = widget;
    return widget;
}

QWidget *TApptDialog::control(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

void TApptDialog::build()
{
    auto *top = new QVBoxLayout(this);
    auto *upper = new QHBoxLayout;
    m_edit = add(new TApptEdit(this), 201);
    m_edit->setTabChangesFocus(true);
    upper->addWidget(m_edit, 1);
    auto *buttons = new QVBoxLayout;
    auto *ok = add(new QPushButton(QStringLiteral("OK"), this), 1);
    auto *cancel = add(new QPushButton(QStringLiteral("Cancel"), this), 2);
    m_more = add(new QPushButton(QStringLiteral("&More"), this), 997);
    ok->setDefault(false);
    ok->setAutoDefault(false);
    cancel->setAutoDefault(false);
    m_more->setAutoDefault(false);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(m_more);
    buttons->addStretch();
    upper->addLayout(buttons);
    top->addLayout(upper, 1);

    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setTextFormat(Qt::PlainText);
    m_preview->setWordWrap(true);
    m_preview->setVisible(static_cast<bool>(m_settings.describe));
    top->addWidget(m_preview);

    // Typing restarts it: the reading follows once the user pauses.
    m_previewTimer = new QTimer(this);
    m_previewTimer->setSingleShot(true);
    m_previewTimer->setInterval(250);
    m_enlargedPart = makeControls();
    top->addWidget(m_enlargedPart);

    connect(m_previewTimer, &QTimer::timeout, this, &TApptDialog::updatePreview);
    connect(m_edit, &QPlainTextEdit::textChanged, m_previewTimer, qOverload<>(&QTimer::start));

    connect(ok, &QPushButton::clicked, this, &TApptDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &TApptDialog::reject);
    connect(m_more, &QPushButton::clicked, this, &TApptDialog::switchMode);
    connect(m_edit, &TApptEdit::okRequested, this, &TApptDialog::accept);
    connect(m_edit, &TApptEdit::helpRequested, this, [this] {
        if (m_settings.showHelp)
            m_settings.showHelp(helpTopic);
    });
    connect(m_edit, &TApptEdit::insertRequested, this, &TApptDialog::insertKeyText);
}

QWidget *TApptDialog::makeControls()
{
    auto *part = new QWidget(this);
    auto *grid = new QGridLayout(part);
    grid->setContentsMargins(0, 0, 0, 0);
    const auto container = [&](int group) {
        auto *w = add(new QWidget(part), groupContainers[static_cast<std::size_t>(group)]);
        auto *row = new QHBoxLayout(w);
        row->setContentsMargins(0, 0, 0, 0);
        return std::pair<QWidget *, QHBoxLayout *>(w, row);
    };
    const auto label = [&](QWidget *owner, const char *text, int id = 0) {
        auto *l = new QLabel(fromLatin(text), owner);
        if (id != 0)
            add(l, id);
        return l;
    };
    const int digitWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const auto lineEdit = [&](QWidget *owner, int id) {
        auto *e = add(new QLineEdit(owner), id);
        // Counts are short; dates and date lists take the room there is.
        if (id == 252 || id == 253 || id == 280 || id == 269 || id == 272 || id == 268)
            e->setMaximumWidth(digitWidth * 8);
        else
            e->setMinimumWidth(digitWidth * 11);
        connect(e, &QLineEdit::textEdited, m_previewTimer, qOverload<>(&QTimer::start));
        return e;
    };

    // Kind buttons.
    auto *kinds = add(new QGroupBox(QStringLiteral("Note/appt type"), part), 230);
    auto *kindColumn = new QVBoxLayout(kinds);
    m_kinds = new QButtonGroup(this);
    for (const KindControl &k : kindControls) {
        auto *b = add(new QRadioButton(fromLatin(k.text), kinds), k.id);
        m_kinds->addButton(b, static_cast<int>(k.button));
        kindColumn->addWidget(b);
    }
    connect(m_kinds, &QButtonGroup::idClicked, this,
            [this](int id) { chooseKind(static_cast<KindButton>(id)); });
    grid->addWidget(kinds, 0, 0, 3, 1);

    // Marks, category, priority.
    auto *marks = new QWidget(part);
    auto *markGrid = new QGridLayout(marks);
    markGrid->setContentsMargins(0, 0, 0, 0);
    for (int m = 0; m < markCount; ++m) {
        auto *c = add(new QCheckBox(fromLatin(markTexts[static_cast<std::size_t>(m)]), marks),
                      firstMark + m);
        connect(c, &QCheckBox::clicked, m_previewTimer, qOverload<>(&QTimer::start));
        markGrid->addWidget(c, m / 2, m % 2);
    }
    grid->addWidget(marks, 0, 1, 1, 2);
    auto *categoryRow = new QHBoxLayout;
    categoryRow->addWidget(label(part, "Category"));
    auto *category = add(new QComboBox(part), 249);
    connect(category, &QComboBox::activated, m_previewTimer, qOverload<>(&QTimer::start));
    categoryRow->addWidget(category, 1);
    grid->addLayout(categoryRow, 1, 1, 1, 2);
    auto *priority = add(new QGroupBox(QStringLiteral("Priority"), part), 254);
    auto *priorityRow = new QHBoxLayout(priority);
    m_priorities = new QButtonGroup(this);
    for (int p = 0; p <= 4; ++p) {
        auto *b = add(
            new QRadioButton(p == 0 ? QStringLiteral("Default") : QString::number(p), priority),
            firstPriority + p);
        m_priorities->addButton(b, p);
        priorityRow->addWidget(b);
    }
    connect(m_priorities, &QButtonGroup::idClicked, m_previewTimer, qOverload<>(&QTimer::start));
    grid->addWidget(priority, 2, 1, 1, 2);

    // Counts.
    auto [alarm, alarmRow] = container(AlarmField);
    alarmRow->addWidget(label(alarm, "Alarm advance:"));
    alarmRow->addWidget(lineEdit(alarm, 252));
    alarmRow->addWidget(label(alarm, "minutes"));
    grid->addWidget(alarm, 3, 0);
    auto [warn, warnRow] = container(WarnField);
    warnRow->addWidget(label(warn, "Warn"));
    warnRow->addWidget(lineEdit(warn, 253));
    warnRow->addWidget(label(warn, "days in advance"));
    grid->addWidget(warn, 3, 1);
    auto [following, followingRow] = container(FollowingField);
    followingRow->addWidget(label(following, "Show"));
    followingRow->addWidget(lineEdit(following, 280));
    followingRow->addWidget(label(following, "days following"));
    grid->addWidget(following, 3, 2);

    // The schedule of each kind.
    auto [mainDate, mainRow] = container(MainDateField);
    mainRow->addWidget(label(mainDate, "", 285));
    mainRow->addWidget(lineEdit(mainDate, 271), 1);
    auto [every, everyRow] = container(EveryFields);
    everyRow->addWidget(label(every, "Every", 283));
    everyRow->addWidget(lineEdit(every, 269));
    everyRow->addWidget(label(every, "th", 284));
    auto *unit = add(new QComboBox(every), 270);
    unit->addItems({QStringLiteral("Day"), QStringLiteral("Week"), QStringLiteral("Month")});
    connect(unit, &QComboBox::activated, m_previewTimer, qOverload<>(&QTimer::start));
    everyRow->addWidget(unit);
    everyRow->addStretch();
    auto [ordinals, ordinalRow] = container(OrdinalLists);
    auto *ordinal = add(new QComboBox(ordinals), 275);
    ordinal->addItems({QStringLiteral("1st"), QStringLiteral("2nd"), QStringLiteral("3rd"),
                       QStringLiteral("4th"), QStringLiteral("Last")});
    auto *weekday = add(new QComboBox(ordinals), 274);
    for (int d = 0; d < 7; ++d)
        weekday->addItem(QString::fromLatin1(ShortDayName(d == 0 ? 7 : d).data(), 3));
    auto *month = add(new QComboBox(ordinals), 273);
    for (int m = 1; m <= 12; ++m) {
        const std::string_view name = MonthName(m);
        month->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
    month->addItem(QStringLiteral("Every month"));
    for (QComboBox *list : {ordinal, weekday, month})
        connect(list, &QComboBox::activated, m_previewTimer, qOverload<>(&QTimer::start));
    ordinalRow->addWidget(ordinal);
    ordinalRow->addWidget(weekday);
    ordinalRow->addWidget(label(ordinals, "in", 287));
    ordinalRow->addWidget(month);
    ordinalRow->addStretch();
    auto [offset, offsetRow] = container(OffsetField);
    offsetRow->addWidget(
        label(offset, "Enter optional number of days after (+) or before (-)", 286));
    offsetRow->addWidget(lineEdit(offset, offsetField));
    auto [days, daysRow] = container(WeekdayBoxes);
    auto *dayBoxes = add(new QGroupBox(QStringLiteral("Select days:"), days), 260);
    auto *dayRow = new QHBoxLayout(dayBoxes);
    for (int d = 0; d < 7; ++d) {
        auto *c = add(
            new QCheckBox(QString::fromLatin1(ShortDayName(d == 0 ? 7 : d).data(), 3), dayBoxes),
            firstWeekdayBox + d);
        connect(c, &QCheckBox::clicked, m_previewTimer, qOverload<>(&QTimer::start));
        dayRow->addWidget(c);
    }
    daysRow->addWidget(dayBoxes);
    auto [day, dayFieldRow] = container(DayField);
    dayFieldRow->addWidget(label(day, "Day:", 288));
    dayFieldRow->addWidget(lineEdit(day, 268));
    auto *schedule = new QVBoxLayout;
    for (QWidget *w : {mainDate, every, ordinals, offset, days, day})
        schedule->addWidget(w);
    grid->addLayout(schedule, 4, 0, 1, 3);

    // Start and end dates.
    auto [start, startRow] = container(StartDateField);
    startRow->addWidget(label(start, "Start date:", 282));
    startRow->addWidget(lineEdit(start, 278), 1);
    auto [end, endRow] = container(EndDateField);
    endRow->addWidget(label(end, "End date:", 281));
    endRow->addWidget(lineEdit(end, 279), 1);
    auto *range = new QHBoxLayout;
    range->addWidget(start, 1);
    range->addWidget(end, 1);
    grid->addLayout(range, 5, 0, 1, 3);
    const std::map<int, QHBoxLayout *> dateRows {{271, mainRow}, {278, startRow}, {279, endRow}};
    for (const DateControls &d : dateControls) {
        QHBoxLayout *row = dateRows.at(d.edit);
        auto *spinner = add(new QScrollBar(Qt::Horizontal, row->parentWidget()), d.spinner);
        spinner->setRange(0, 2);
        spinner->setValue(1);
        spinner->setFixedWidth(spinner->sizeHint().height() * 3);
        connect(spinner, &QScrollBar::actionTriggered, this,
                [this, field = d.field](int action) { spin(field, action); });
        row->addWidget(spinner);
        auto *box = add(new QLabel(row->parentWidget()), d.weekdayBox);
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("Wed ")));
        row->addWidget(box);
        auto *edit = static_cast<QLineEdit *>(m_controls.at(d.edit));
        connect(edit, &QLineEdit::textEdited, this,
                [this, field = d.field] { updateWeekdayBox(field); });
    }

    // Done and excluded dates.
    auto [lists, listRows] = container(DateLists);
    auto *listGrid = new QGridLayout;
    listGrid->addWidget(label(lists, "Dates marked as done:"), 0, 0);
    listGrid->addWidget(lineEdit(lists, 251), 0, 1);
    listGrid->addWidget(label(lists, "Dates excluded:"), 1, 0);
    listGrid->addWidget(lineEdit(lists, 250), 1, 1);
    listRows->addLayout(listGrid);
    grid->addWidget(lists, 6, 0, 1, 3);
    return part;
}

void TApptDialog::pull()
{
    FormControls &c = m_form->controls();
    const QString shown = m_edit->toPlainText();
    c.text = shown == m_boxShown ? m_boxBytes : EditBoxBytes(shown);
    if (!m_form->enlarged())
        return;
    for (const FieldControl &f : fieldControls) {
        if (f.id == 201)
            continue;
        c.*f.field = static_cast<QLineEdit *>(control(f.id))->text().toStdString();
    }
    c.offset = static_cast<QLineEdit *>(control(offsetField))->text().toStdString();
    c.kind = static_cast<KindButton>(std::max(0, m_kinds->checkedId()));
    for (int m = 0; m < markCount; ++m)
        c.marks[static_cast<std::size_t>(m)]
            = static_cast<QCheckBox *>(control(firstMark + m))->isChecked();
    for (int d = 0; d < 7; ++d)
        c.weekdays[static_cast<std::size_t>(d)]
            = static_cast<QCheckBox *>(control(firstWeekdayBox + d))->isChecked();
    c.category = static_cast<QComboBox *>(control(249))->currentIndex();
    c.priority = std::max(0, m_priorities->checkedId());
    c.unit = static_cast<QComboBox *>(control(270))->currentIndex();
    c.ordinal = static_cast<QComboBox *>(control(275))->currentIndex();
    c.weekday = static_cast<QComboBox *>(control(274))->currentIndex();
    c.month = static_cast<QComboBox *>(control(273))->currentIndex();
}

void TApptDialog::push()
{
    m_pushing = true;
    const FormControls &c = m_form->controls();
    if (c.text != m_boxBytes || EditBoxText(c.text) != m_edit->toPlainText()) {
        m_boxBytes = c.text;
        m_boxShown = EditBoxText(c.text);
        m_edit->setPlainText(m_boxShown);
        QTextCursor end = m_edit->textCursor();
        end.movePosition(QTextCursor::End);
        m_edit->setTextCursor(end);
    }
    if (m_form->enlarged()) {
        for (const FieldControl &f : fieldControls) {
            if (f.id != 201)
                static_cast<QLineEdit *>(control(f.id))
                    ->setText(QString::fromStdString(c.*f.field));
        }
        static_cast<QLineEdit *>(control(offsetField))->setText(QString::fromStdString(c.offset));
        if (QAbstractButton *b = m_kinds->button(static_cast<int>(c.kind)))
            b->setChecked(true);
        for (int m = 0; m < markCount; ++m)
            static_cast<QCheckBox *>(control(firstMark + m))
                ->setChecked(c.marks[static_cast<std::size_t>(m)]);
        for (int d = 0; d < 7; ++d)
            static_cast<QCheckBox *>(control(firstWeekdayBox + d))
                ->setChecked(c.weekdays[static_cast<std::size_t>(d)]);
        auto *category = static_cast<QComboBox *>(control(249));
        category->clear();
        for (const CategoryItem &item : m_form->categoryItems())
            category->addItem(DisplayText(item.text));
        category->setCurrentIndex(c.category);
        if (QAbstractButton *b = m_priorities->button(c.priority))
            b->setChecked(true);
        static_cast<QComboBox *>(control(270))->setCurrentIndex(c.unit);
        static_cast<QComboBox *>(control(275))->setCurrentIndex(c.ordinal);
        static_cast<QComboBox *>(control(274))->setCurrentIndex(c.weekday);
        static_cast<QComboBox *>(control(273))->setCurrentIndex(c.month);
        for (const DateControls &d : dateControls)
            updateWeekdayBox(d.field);
        showLayout();
    }
    m_pushing = false;
}

void TApptDialog::showLayout()
{
    const KindLayout &layout = m_form->layout();
    for (int g = 0; g < groupCount; ++g) {
        QWidget *w = control(groupContainers[static_cast<std::size_t>(g)]);
        const bool on = layout.has(static_cast<ControlGroup>(g)) && g != DayField;
        if (groupShows[static_cast<std::size_t>(g)])
            w->setVisible(on);
        else
            w->setEnabled(on);
    }
    for (int m = 0; m < markCount; ++m)
        control(firstMark + m)->setEnabled(layout.marks[static_cast<std::size_t>(m)]);
    static_cast<QLabel *>(control(285))->setText(QString::fromStdString(layout.mainDateLabel));
}

void TApptDialog::showMode()
{
    const bool enlarged = m_form->enlarged();
    m_enlargedPart->setVisible(enlarged);
    m_more->setText(enlarged ? QStringLiteral("&Less") : QStringLiteral("&More"));
    m_more->setEnabled(!m_form->rawOnly());
}

void TApptDialog::sizeForMode()
{
    const QFontMetrics metrics(font());
    const double unitX = metrics.averageCharWidth() / 4.0;
    const double unitY = metrics.ascent() / 8.0;
    const bool enlarged = m_form->enlarged();
    const int w = static_cast<int>((enlarged ? m_settings.bWidth : m_settings.sWidth) * unitX);
    const int h = static_cast<int>((enlarged ? m_settings.bHeight : m_settings.sHeight) * unitY);
    layout()->activate();
    const QSize least = enlarged ? sizeHint() : minimumSizeHint();
    resize(std::max(w, least.width()), std::max(h, least.height()));
    if (QWidget *main = parentWidget() ? parentWidget()->window() : nullptr) {
        const QRect frame = main->frameGeometry();
        move(frame.x() + std::max(0, (frame.width() - width()) / 2),
             frame.y() + std::max(0, (frame.height() - height()) / 2));
    }
}

void TApptDialog::switchMode()
{
    pull();
    if (m_form->switchMode() && m_settings.storeBigDialog)
        m_settings.storeBigDialog(m_form->enlarged());
    push();
    showMode();
    sizeForMode();
    m_edit->setFocus();
    updatePreview();
}

void TApptDialog::chooseKind(KindButton button)
{
    if (m_pushing)
        return;
    pull();
    m_form->chooseKind(button);
    push();
    m_previewTimer->start();
}

void TApptDialog::spin(ApptForm::DateField field, int action)
{
    int step = 0;
    if (action == QAbstractSlider::SliderSingleStepSub
        || action == QAbstractSlider::SliderPageStepSub)
        step = -1;
    else if (action == QAbstractSlider::SliderSingleStepAdd
             || action == QAbstractSlider::SliderPageStepAdd)
        step = 1;
    pull();
    m_form->spin(field, step);
    push();
    // The spinner stays in the middle so that both arrows always work.
    for (const DateControls &d : dateControls) {
        if (d.field == field)
            QTimer::singleShot(
                0, control(d.spinner),
                [bar = static_cast<QScrollBar *>(control(d.spinner))] { bar->setValue(1); });
    }
    m_previewTimer->start();
}

void TApptDialog::updateWeekdayBox(ApptForm::DateField field)
{
    for (const DateControls &d : dateControls) {
        if (d.field != field)
            continue;
        auto *edit = static_cast<QLineEdit *>(control(d.edit));
        FormControls &c = m_form->controls();
        std::string &text = field == ApptForm::DateField::Main ? c.mainDate
            : field == ApptForm::DateField::Start              ? c.startDate
                                                               : c.endDate;
        text = edit->text().toStdString();
        if (const std::optional<std::string> box = m_form->weekdayBox(field))
            static_cast<QLabel *>(control(d.weekdayBox))->setText(QString::fromStdString(*box));
    }
}

void TApptDialog::insertKeyText(QChar key)
{
    const QTime time = m_clock.now().time();
    const std::string timeText = FormatTime(time.hour() * 60 + time.minute()) + " ";
    std::string text;
    switch (key.unicode()) {
    case u'D':
        text = FormatDate(dateOf(m_clock.now().date()), m_dateSettings);
        break;
    case u'B':
        text = FormatDate(dateOf(m_clock.now().date()), m_dateSettings) + timeText;
        break;
    case u'L':
        text = FormatDate(m_form->openingDate(), m_dateSettings);
        break;
    default:
        text = timeText;
        break;
    }
    m_edit->insertPlainText(QString::fromStdString(text));
}

QString TApptDialog::previewText() const
{
    return m_preview->text();
}

void TApptDialog::updatePreview()
{
    if (!m_settings.describe)
        return;
    pull();
    m_preview->setText(m_settings.describe(m_form->currentLine()));
}

void TApptDialog::accept()
{
    pull();
    m_form->accept();
    m_accepted = true;
    QDialog::accept();
}

void TApptDialog::reject()
{
    m_form->cancel();
    QDialog::reject();
}

} // namespace dvw
