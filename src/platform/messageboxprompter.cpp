#include "messageboxprompter.h"

#include "inputdialog.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace dvw {

namespace {

QMessageBox::Icon boxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Stop:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Boxes belong to the top-level window of the widget they are asked over, so they open
// over it (and stay with it) rather than wherever a child or nothing would put them.
QWidget *ownerOf(QWidget *parent)
{
    if (parent)
        return parent->window();
    return QApplication::activeWindow();
}

// Texts may come from a file or from the user: a "<b>" in them must show as typed.
int runBox(QWidget *parent, QMessageBox::Icon icon, const QString &caption, const QString &text,
           QMessageBox::StandardButtons buttons, QMessageBox::StandardButton escapeAnswer)
{
    QMessageBox box(icon, caption, text, buttons, ownerOf(parent));
    // Modal to its window only: alarm windows, which are windows of their own, stay usable.
    box.setWindowModality(Qt::WindowModal);
    box.setTextFormat(Qt::PlainText);
    box.setEscapeButton(escapeAnswer);
    return box.exec();
}

} // namespace

MessageBoxPrompter::MessageBoxPrompter(QWidget *parent, QString programName)
    : m_parent(parent)
    , m_programName(std::move(programName))
{ }

QString MessageBoxPrompter::boxText(const QString &caption, const QString &text) const
{
    if (caption.isEmpty() || caption == m_programName)
        return text;
    return caption + QStringLiteral("\n\n") + text;
}

void MessageBoxPrompter::setParent(QWidget *parent)
{
    m_parent = parent;
}

void MessageBoxPrompter::info(const QString &caption, const QString &text, Icon icon)
{
    runBox(m_parent, boxIcon(icon), m_programName, boxText(caption, text), QMessageBox::Ok,
           QMessageBox::Ok);
}

bool MessageBoxPrompter::okCancel(const QString &caption, const QString &text)
{
    return runBox(m_parent, QMessageBox::Question, m_programName, boxText(caption, text),
                  QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
        == QMessageBox::Ok;
}

Prompter::Answer MessageBoxPrompter::yesNo(const QString &caption, const QString &text,
                                           bool withCancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    const int result
        = runBox(m_parent, QMessageBox::Question, m_programName, boxText(caption, text), buttons,
                 withCancel ? QMessageBox::Cancel : QMessageBox::No);
    if (result == QMessageBox::Yes)
        return Answer::Yes;
    if (result == QMessageBox::No)
        return Answer::No;
    return withCancel ? Answer::Cancel : Answer::No;
}

std::optional<QString> MessageBoxPrompter::askText(const QString &caption, const QString &prompt,
                                                   const QString &initial)
{
    InputDialog dialog(caption.isEmpty() ? m_programName : caption, prompt, initial,
                       ownerOf(m_parent));
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.text();
}

} // namespace dvw
