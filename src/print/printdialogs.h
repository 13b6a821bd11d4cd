#pragma once

#include "printrules.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;

namespace dvw {

// "Print options - list": the controls mirror ListOptionsControls (object names "c" and
// the control number). The rules are in printrules.h.
class TPrintOptionsDialog : public QDialog
{
    Q_OBJECT
public:
    TPrintOptionsDialog(const ListOptionsControls &controls, std::function<void()> help,
                        QWidget *parent = nullptr);
    ListOptionsControls controls() const;

private:
    void rangeChosen();

    QLineEdit *m_start = nullptr;
    QRadioButton *m_wallet = nullptr;
    QRadioButton *m_list = nullptr;
    QRadioButton *m_endDate = nullptr;
    QRadioButton *m_byPages = nullptr;
    QLineEdit *m_end = nullptr;
    QLineEdit *m_pages = nullptr;
    QCheckBox *m_notes = nullptr;
    QLineEdit *m_columns = nullptr;
};

// "Print options - monthly": two scroll bars move the start and end months; the other
// month follows so the start never comes after the end.
class TMonthDialog : public QDialog
{
    Q_OBJECT
public:
    TMonthDialog(const MonthRange &range, const std::string &explanation,
                 std::function<void()> help, QWidget *parent = nullptr);
    const MonthRange &range() const { return m_range; }

private:
    void scrolled(bool start, int action);
    void showMonths();

    MonthRange m_range;
    QScrollBar *m_startBar = nullptr;
    QScrollBar *m_endBar = nullptr;
    QLineEdit *m_startText = nullptr;
    QLineEdit *m_endText = nullptr;
};

} // namespace dvw
