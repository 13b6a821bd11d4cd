#include "inputdialog.h"

#include "windowfit.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace dvw {

InputDialog::InputDialog(const QString &caption, const QString &prompt, const QString &initial,
                         QWidget *parent)
    : QDialog(parent)
    , m_prompt(new QLabel(prompt, this))
    , m_edit(new QLineEdit(initial, this))
{
    setObjectName(QStringLiteral("inputDialog"));
    setWindowTitle(caption);
    m_prompt->setObjectName(QStringLiteral("prompt"));
    m_prompt->setTextFormat(Qt::PlainText);
    m_prompt->setWordWrap(true);
    m_prompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_edit->setObjectName(QStringLiteral("edit"));
    m_edit->selectAll();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
    KeepTitleWhole(*this);
}

QString InputDialog::text() const
{
    return m_edit->text();
}

} // namespace dvw
