#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QTextBrowser;
class QWidget;

namespace dvw {

// The program's help: a book of HTML pages in one directory, shown in a help window.
// index.html is the contents, usinghelp.html explains the help window, and topics.html
// holds one anchor per context number (command numbers and the numbers dialogs ask for).
class HelpBook : public QObject
{
    Q_OBJECT
public:
    explicit HelpBook(const QString &directory, QObject *parent = nullptr);
    ~HelpBook() override;

    QString directory() const { return m_directory; }

    void showContents();
    void showUsingHelp();
    void showTopic(int context);
    // Closes the help window.
    void quit();

    // Whether contents or help on help were opened during this run.
    bool wasOpened() const { return m_opened; }
    // The help window once something was shown (object name "helpWindow"), else null.
    QTextBrowser *window() const;
    // The page and anchor last shown, such as "topics.html#24337".
    QString currentPage() const { return m_current; }

signals:
    void shown(const QString &page);

private:
    void show(const QString &file, const QString &anchor);
    QTextBrowser *ensureWindow();
    // Keeps the window on the available area of the screen the program works on.
    void placeOnScreen(QWidget &window) const;

    QString m_directory;
    QString m_current;
    QPointer<QTextBrowser> m_window;
    bool m_opened = false;
};

} // namespace dvw
