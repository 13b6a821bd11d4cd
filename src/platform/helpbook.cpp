#include "helpbook.h"

#include "windowfit.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>

namespace dvw {

HelpBook::HelpBook(const QString &directory, QObject *parent)
    : QObject(parent)
    , m_directory(directory)
{ }

HelpBook::~HelpBook()
{
    delete m_window;
}

QTextBrowser *HelpBook::window() const
{
    return m_window.data();
}

void HelpBook::showContents()
{
    m_opened = true;
    show(QStringLiteral("index.html"), {});
}

void HelpBook::showUsingHelp()
{
    m_opened = true;
    show(QStringLiteral("usinghelp.html"), {});
}

void HelpBook::showTopic(int context)
{
    show(QStringLiteral("topics.html"), QString::number(context));
}

void HelpBook::quit()
{
    if (m_window)
        m_window->close();
}

QTextBrowser *HelpBook::ensureWindow()
{
    if (!m_window) {
        m_window = new QTextBrowser;
        m_window->setObjectName(QStringLiteral("helpWindow"));
        m_window->setWindowTitle(tr("Dayvane Help"));
        m_window->setOpenLinks(true);
        m_window->setOpenExternalLinks(false);
        m_window->resize(640, 520);
    }
    return m_window;
}

void HelpBook::placeOnScreen(QWidget &window) const
{
    const QWidget *active = QApplication::activeWindow();
    const QScreen *screen = active ? active->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    // The frame around the window, known once it was shown; a title bar's worth before.
    QMargins frame(window.geometry().left() - window.frameGeometry().left(),
                   window.geometry().top() - window.frameGeometry().top(),
                   window.frameGeometry().right() - window.geometry().right(),
                   window.frameGeometry().bottom() - window.geometry().bottom());
    if (frame.isNull())
        frame = QMargins(4, 30, 4, 4);
    const QRect inner = screen->availableGeometry().marginsRemoved(frame);
    QRect place = window.geometry();
    if (!window.testAttribute(Qt::WA_Moved))
        place.moveCenter(inner.center()); // the first time: in the middle of the screen
    window.setGeometry(KeepInside(place, inner));
}

void HelpBook::show(const QString &file, const QString &anchor)
{
    QTextBrowser *browser = ensureWindow();
    const QString path = QDir(m_directory).filePath(file);
    m_current = anchor.isEmpty() ? file : file + QLatin1Char('#') + anchor;
    if (QFileInfo::exists(path)) {
        QUrl url = QUrl::fromLocalFile(path);
        if (!anchor.isEmpty())
            url.setFragment(anchor);
        browser->setSource(url);
    } else {
        // The help book is missing: the help window says so rather than the program.
        browser->setPlainText(tr("The help page %1 was not found.").arg(path));
    }
    if (!browser->isVisible())
        placeOnScreen(*browser);
    browser->show();
    browser->raise();
    emit shown(m_current);
}

} // namespace dvw
