#pragma once

#include "core/datetextsettings.h"
#include "core/tdate.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QLineEdit;
class QRadioButton;
class QScrollBar;

namespace dvw {

// "Search": the text Find looks for. OK gives the typed text; the caller cuts it.
class TSearchDialog : public QDialog
{
    Q_OBJECT
public:
    TSearchDialog(const std::string &current, QWidget *parent = nullptr);
    // The typed text as UTF-8.
    std::string text() const;

private:
    QLineEdit *m_edit = nullptr;
};

// "Screen appointments": only the appointments that contain the text are shown.
class TScreenDialog : public QDialog
{
    Q_OBJECT
public:
    TScreenDialog(const std::string &current, std::function<void()> help,
                  QWidget *parent = nullptr);
    std::string text() const;

private:
    QLineEdit *m_edit = nullptr;
};

// "Priority level": opens with "4" whatever the level is.
class TPriorityLevelDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TPriorityLevelDialog(QWidget *parent = nullptr);
    int level() const; // 1..4

private:
    QRadioButton *m_buttons[4] {};
};

// "Start date": a date edit opening with today, a day scroll bar beside it and the
// weekday of what is typed.
class TStartDateDialog : public QDialog
{
    Q_OBJECT
public:
    TStartDateDialog(const TDate &today, const DateTextSettings &settings,
                     QWidget *parent = nullptr);
    // What the scroll bar does: a day back (negative) or forward, or today.
    void step(int days);
    // The typed date when it is a complete one.
    std::optional<TDate> startDate() const;

private:
    void showWeekday();
    void scrollAction(int action);

    TDate m_today;
    DateTextSettings m_settings;
    QLineEdit *m_edit = nullptr;
    QScrollBar *m_scroll = nullptr;
    QLineEdit *m_weekday = nullptr;
};

} // namespace dvw
