// The help book as shipped: every link leads somewhere, and a new user who follows the
// starter note (F1 in the list) reaches the page on the line language.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QString page(const QString &name)
{
    QFile file(QDir(QStringLiteral(DVW_HELP_SOURCE_DIR)).filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QStringList matches(const QString &text, const QString &pattern)
{
    QStringList found;
    auto it = QRegularExpression(pattern).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured(1);
    return found;
}

QSet<QString> anchorsOf(const QString &text)
{
    const QStringList names = matches(text, QStringLiteral(R"re(<a name="([^"]+)")re"));
    return QSet<QString>(names.begin(), names.end());
}

} // namespace

TEST(HelpContent, EveryLinkLeadsToAPageAndAnchorThatExist)
{
    const QStringList pages
        = QDir(QStringLiteral(DVW_HELP_SOURCE_DIR)).entryList({QStringLiteral("*.html")});
    ASSERT_FALSE(pages.isEmpty());
    int links = 0;
    for (const QString &from : pages) {
        const QString text = page(from);
        for (const QString &href : matches(text, QStringLiteral(R"re(<a href="([^"]+)")re"))) {
            SCOPED_TRACE((from + QStringLiteral(" -> ") + href).toStdString());
            ++links;
            const qsizetype hash = href.indexOf(QLatin1Char('#'));
            const QString target = hash < 0 ? href : href.left(hash);
            const QString targetText = target.isEmpty() ? text : page(target);
            ASSERT_FALSE(targetText.isEmpty());
            if (hash >= 0) {
                EXPECT_TRUE(anchorsOf(targetText).contains(href.mid(hash + 1)));
            }
        }
    }
    EXPECT_GT(links, 50);
}

TEST(HelpContent, TheListsTopicAndTheContentsLeadToTheLineLanguage)
{
    const QString topics = page(QStringLiteral("topics.html"));
    // The list's topic runs from its anchor to the next heading.
    const qsizetype list = topics.indexOf(QStringLiteral(R"(<a name="121">)"));
    ASSERT_GE(list, 0);
    const QString listTopic = topics.mid(list, topics.indexOf(QStringLiteral("<h2>"), list) - list);
    EXPECT_TRUE(listTopic.contains(QStringLiteral(R"(href="lines.html")")));
    EXPECT_TRUE(
        page(QStringLiteral("index.html")).contains(QStringLiteral(R"(href="lines.html")")));
    const QString lines = page(QStringLiteral("lines.html"));
    for (const char *section : {"kinds", "codes", "counts", "categories", "done", "continued",
                                "mistakes", "times", "dates"})
        EXPECT_TRUE(anchorsOf(lines).contains(QString::fromLatin1(section))) << section;
}

TEST(HelpContent, TheCalendarCommandsLeadToThePageWithTheMappingTable)
{
    const QString topics = page(QStringLiteral("topics.html"));
    for (const char *topic : {"740", "745"}) {
        const qsizetype at = topics.indexOf(QStringLiteral(R"(<a name="%1">)").arg(topic));
        ASSERT_GE(at, 0) << topic;
        const QString text = topics.mid(at, topics.indexOf(QStringLiteral("<h2>"), at) - at);
        EXPECT_TRUE(text.contains(QStringLiteral(R"(href="icalendar.html#)"))) << topic;
    }
    EXPECT_TRUE(
        page(QStringLiteral("index.html")).contains(QStringLiteral(R"(href="icalendar.html")")));
    const QString calendar = page(QStringLiteral("icalendar.html"));
    for (const char *section : {"export", "import", "mapping"})
        EXPECT_TRUE(anchorsOf(calendar).contains(QString::fromLatin1(section))) << section;
    for (const char *property : {"RRULE", "EXDATE", "DTEND", "TRIGGER", "PRIORITY", "CATEGORIES",
                                 "X-DAYVANE-LINE", "STATUS:COMPLETED"})
        EXPECT_TRUE(calendar.contains(QString::fromLatin1(property))) << property;
}
