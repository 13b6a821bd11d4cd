#include "tdeldialog.h"

#include "platform/windowfit.h"

#include <QDialogButtonBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dvw {

TDelDialog::TDelDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("deleteDialog"));
    setWindowTitle(QStringLiteral("Delete appointment"));
    m_instance = new QRadioButton(QStringLiteral("Delete this instance only"), this);
    m_instance->setObjectName(QStringLiteral("radio141"));
    m_instance->setChecked(true);
    m_cycle = new QRadioButton(QStringLiteral("Delete entire cycle"), this);
    m_cycle->setObjectName(QStringLiteral("radio140"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_instance);
    layout->addWidget(m_cycle);
    layout->addWidget(buttons);
    KeepTitleWhole(*this);
}

bool TDelDialog::wholeCycle() const
{
    return m_cycle->isChecked();
}

std::optional<bool> TDelDialog::ask(QWidget *parent)
{
    TDelDialog dialog(parent);
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.wholeCycle();
}

} // namespace dvw
