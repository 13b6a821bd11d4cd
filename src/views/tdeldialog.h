#pragma once

#include <QDialog>

#include <optional>

class QRadioButton;

namespace dvw {

// "Delete appointment": this instance only (checked when it opens) or the entire cycle.
class TDelDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TDelDialog(QWidget *parent = nullptr);
    bool wholeCycle() const;
    // Runs the dialog window-modal to parent: true for the cycle, none for Cancel.
    static std::optional<bool> ask(QWidget *parent);

private:
    QRadioButton *m_instance = nullptr;
    QRadioButton *m_cycle = nullptr;
};

} // namespace dvw
