// The help book says of each menu item whether it can be chosen in this version.
#include "framefixture.h"
#include "shell/commandtable.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace dvw;

namespace {

// The text of a topic: from its anchor to the next heading.
QString topicText(const QString &topics, int command)
{
    const qsizetype at = topics.indexOf(QStringLiteral("<a name=\"%1\">").arg(command));
    if (at < 0)
        return {};
    const qsizetype next = topics.indexOf(QRegularExpression(QStringLiteral("<h[12]>")), at);
    return topics.mid(at, next < 0 ? -1 : next - at);
}

void commandsOf(const std::vector<MenuEntry> &entries, std::vector<const MenuEntry *> &out)
{
    for (const MenuEntry &e : entries) {
        if (e.kind == MenuEntry::Kind::Command)
            out.push_back(&e);
        commandsOf(e.entries, out);
    }
}

class HelpInFrame : public test::FrameFixture
{ };

} // namespace

TEST_F(HelpInFrame, EveryItemThatCannotBeChosenSaysSoInItsTopic)
{
    makeFrame({"dayvane"});
    installAll();
    QFile file(QDir(QStringLiteral(DVW_HELP_SOURCE_DIR)).filePath(QStringLiteral("topics.html")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString topics = QString::fromUtf8(file.readAll());
    const std::vector<MenuEntry> menu = MainMenu();
    std::vector<const MenuEntry *> items;
    commandsOf(menu, items);
    int unavailable = 0;
    for (const MenuEntry *item : items) {
        const QString topic = topicText(topics, item->command);
        if (topic.isEmpty())
            continue;
        const bool built = frame->commands().has(item->command);
        unavailable += !built;
        EXPECT_EQ(topic.contains(QStringLiteral("Not available yet")), !built)
            << std::string(item->text) << " (" << item->command << ")";
    }
    EXPECT_GT(unavailable, 0);
    EXPECT_TRUE(topicText(topics, 275).contains(QStringLiteral("already past")));
}
