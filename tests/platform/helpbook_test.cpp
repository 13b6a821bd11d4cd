#include "platform/helpbook.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

TEST(HelpBook, TopicByContextNumberOpensItsAnchor)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    writeFile(dir.filePath(QStringLiteral("topics.html")),
              "<html><body><h2><a name=\"24337\"></a>Print</h2><p>Prints.</p></body></html>");
    dvw::HelpBook book(dir.path());
    QSignalSpy shown(&book, &dvw::HelpBook::shown);

    book.showTopic(24337);

    ASSERT_NE(book.window(), nullptr);
    EXPECT_EQ(book.window()->objectName(), QStringLiteral("helpWindow"));
    EXPECT_EQ(book.currentPage(), QStringLiteral("topics.html#24337"));
    EXPECT_EQ(book.window()->source().fragment(), QStringLiteral("24337"));
    EXPECT_TRUE(book.window()->toPlainText().contains(QStringLiteral("Prints.")));
    EXPECT_EQ(shown.count(), 1);
    // Only contents and help on help count as opening help.
    EXPECT_FALSE(book.wasOpened());
    book.showContents();
    EXPECT_TRUE(book.wasOpened());
}

TEST(HelpBook, MissingBookIsReportedInTheHelpWindow)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    dvw::HelpBook book(dir.filePath(QStringLiteral("nowhere")));
    book.showContents();
    ASSERT_NE(book.window(), nullptr);
    EXPECT_TRUE(book.window()->toPlainText().contains(QStringLiteral("was not found")));
    book.quit();
    EXPECT_FALSE(book.window()->isVisible());
}
