#include "filechooser.h"

#include <QFileDialog>

namespace dvw {

DialogFileChooser::DialogFileChooser(QWidget *parent)
    : m_parent(parent)
{ }

QString DialogFileChooser::openFile(const QString &caption, const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent, caption, QString(), filter);
}

QString DialogFileChooser::saveFile(const QString &caption, const QString &filter,
                                    const QString &suggested)
{
    return QFileDialog::getSaveFileName(m_parent, caption, suggested, filter);
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

QString ScriptedFileChooser::saveFile(const QString &, const QString &, const QString &)
{
    return next();
}

} // namespace dvw
