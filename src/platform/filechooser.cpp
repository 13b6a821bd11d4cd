#include "filechooser.h"

#include <QFileDialog>
#include <QFileInfo>

namespace dvw {

DialogFileChooser::DialogFileChooser(QWidget *parent)
    : m_parent(parent)
{ }

QString DialogFileChooser::openFile(const QString &caption, const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent, caption, QString(), filter);
}

QString DialogFileChooser::saveFile(const QString &caption, const QString &filter,
                                    const QString &suggested, const QString &suffix)
{
    // The dialog adds the suffix itself, so its question about replacing a file is about
    // the name that will really be written.
    QFileDialog dialog(m_parent, caption, suggested, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString ScriptedFileChooser::next()
{
    ++m_asked;
    if (m_paths.empty())
        return {};
    QString path = m_paths.front();
    m_paths.pop_front();
    return path;
}

QString ScriptedFileChooser::openFile(const QString &, const QString &)
{
    return next();
}

QString ScriptedFileChooser::saveFile(const QString &, const QString &, const QString &,
                                      const QString &suffix)
{
    QString path = next();
    if (!path.isEmpty() && !suffix.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix;
    return path;
}

} // namespace dvw
