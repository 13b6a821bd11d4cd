#include "../cli/clirun.h"
#include "../views/viewtesthelpers.h"
#include "alarm/alarms.h"
#include "config/configchoosers.h"
#include "config/configure.h"
#include "framefixture.h"
#include "settings/configrules.h"
#include "settings/settingkeys.h"
#include "shell/commands.h"
#include "shell/commandtable.h"
#include "shell/dvdocmanager.h"
#include "typedtexts.h"
#include "views/tapptview.h"
#include "views/views.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QSignalSpy>

#include <gtest/gtest.h>
#include <rapidcheck.h>

#include <set>
#include <sys/stat.h>
#include <variant>

using namespace dvw;

namespace {

namespace k = settingkeys;

// One answer to what an item asks, in the order asked.
struct Cancel
{ };
struct File
{
    QString path;
};
using Step = std::variant<QString, Cancel, Prompter::Answer, QFont, QColor, File>;

QFont fontOf(const QString &family, int points, bool bold, bool italic)
{
    QFont font(family, points, bold ? QFont::Bold : QFont::Normal, italic);
    font.setFamily(family);
    return font;
}

// The main window with the list open on a file with an unimportant note (Monday, today)
// and the Configure items answered by a script.
class Configure : public test::FrameFixture
{
protected:
    void SetUp() override
    {
        writeFile(QStringLiteral("NOTES.APT"), "\\U* Water the plants\r\n12/9/2026 Dentist\r\n");
        makeFrame({"dayvane", "NOTES.APT"});
        const FeatureServices services = completeServices(*frame, {});
        InstallViews(*frame, services);
        InstallAlarms(*frame, services);
        InstallConfigure(*frame, services, {choosers});
        frame->showAtStart();
        frame->openStartFile();
    }

    // What the settings file of the profile keeps for the name; "-" for nothing.
    static std::string stored(const char *name, std::optional<int> profile = std::nullopt)
    {
        SettingsStore store(profile);
        store.open();
        const std::optional<std::string> text = store.readStored(name);
        store.close();
        return text.value_or("-");
    }
    void answer(const std::vector<Step> &steps)
    {
        for (const Step &step : steps) {
            if (const auto *text = std::get_if<QString>(&step))
                prompter.pushText(*text);
            else if (std::holds_alternative<Cancel>(step))
                prompter.pushCancelText();
            else if (const auto *yesNo = std::get_if<Prompter::Answer>(&step))
                prompter.pushAnswer(*yesNo);
            else if (const auto *font = std::get_if<QFont>(&step))
                choosers->pushFont(*font);
            else if (const auto *colour = std::get_if<QColor>(&step))
                choosers->pushColour(*colour);
            else
                choosers->pushFile(std::get<File>(step).path);
        }
    }
    bool told(const QString &text) const
    {
        for (const auto &asked : prompter.asked()) {
            if (asked.kind == ScriptedPrompter::Asked::Kind::Info && asked.text.contains(text))
                return true;
        }
        return false;
    }
    TApptDocument &doc() const { return *frame->documents().document(0); }
    TApptView *list() const { return frame->findChild<TApptView *>(); }

    std::shared_ptr<ScriptedConfigChoosers> choosers = std::make_shared<ScriptedConfigChoosers>();
};

struct ItemCase
{
    const char *name;
    int command;
    std::vector<Step> steps;
    const char *setting;
    const char *stored; // null: the stored text stays as it was
    bool notice = false; // the next-start notice
    bool refused = false; // a message says the answer is not accepted
};

// Every item of the Configure menu, and the edge answers of several. The rows run in this
// order on one window, so each sees the settings the rows before it left.
std::vector<ItemCase> itemCases()
{
    using A = Prompter::Answer;
    return {
        {"BodyFontBoldItalic",
         Cm::BodyFont,
         {fontOf("DejaVu Sans", 12, true, true)},
         k::BODYFONT,
         "DejaVu Sans, 12BI"},
        {"CalendarFontCancelled", Cm::CalendarFont, {}, k::CALENDARFONT, nullptr},
        {"PlainHeadingReadsBackPlain",
         Cm::HeadingFont,
         {fontOf("Serif", 11, false, false)},
         k::HEADINGFONT,
         "Serif, 11R"},
        {"LargeFontHeldToStoredSizes",
         Cm::LargeFont,
         {fontOf("Serif", 48, true, false)},
         k::LARGEFONT,
         "Serif, 36B"},
        {"SmallFont", Cm::SmallFont, {fontOf("Mono", 8, false, false)}, k::SMALLFONT, "Mono, 8R"},
        {"WalletFont", Cm::WalletFont, {fontOf("Sans", 7, false, true)}, k::WALLETFONT, "Sans, 7I"},
        {"AppointmentFileNotChanged", Cm::AppointmentFile, {A::No}, k::APPTFILE, nullptr},
        {"AppointmentFile",
         Cm::AppointmentFile,
         {A::Yes, File {"/srv/work.apt"}},
         k::APPTFILE,
         "/srv/work.apt"},
        {"ArchiveFileChooserCancelled", Cm::ArchiveFile, {A::Yes}, k::ARCHIVEFILE, nullptr},
        {"AlarmFileWithoutOneAsksNoQuestion",
         Cm::AlarmFile,
         {File {"/srv/bell.wav"}},
         k::WAVEFILE,
         "/srv/bell.wav"},
        {"ShowAllCategories", Cm::ShowAllCategories, {}, k::ALLCATEGORIES, "1"},
        {"NagIntervalZero", Cm::NagInterval, {QStringLiteral("0")}, k::NAG, nullptr, false, true},
        {"NagInterval", Cm::NagInterval, {QStringLiteral("30")}, k::NAG, "30"},
        {"DayMonthYear", Cm::DayMonthYear, {}, k::EUROPEAN, "1"},
        {"MultipleLines", Cm::MultipleLines, {}, k::MULTILINE, "1"},
        {"BigDialog", Cm::BigDialog, {}, k::BIGDIALOG, "1"},
        {"CenturyBreak99", Cm::CenturyBreak, {QStringLiteral("99")}, k::CENTURYBREAK, "99"},
        {"CenturyBreak100",
         Cm::CenturyBreak,
         {QStringLiteral("100")},
         k::CENTURYBREAK,
         nullptr,
         false,
         true},
        {"MilitaryTimes", Cm::MilitaryTimes, {}, k::MILITARY, "1"},
        // The list applies a new number of days at once: no next-start notice.
        {"DaysToView400", Cm::DaysToView, {QStringLiteral("400")}, k::DAYS, nullptr, false, true},
        {"DaysToViewCancelled", Cm::DaysToView, {Cancel {}}, k::DAYS, nullptr},
        {"DaysToViewNotANumber",
         Cm::DaysToView,
         {QStringLiteral("many")},
         k::DAYS,
         nullptr,
         false,
         true},
        {"DaysToView", Cm::DaysToView, {QStringLiteral("60")}, k::DAYS, "60"},
        {"OpenInCalendarView", Cm::OpenInCalendar, {}, k::CALVIEW, "1", true},
        {"PromptBeforeDeleting", Cm::PromptBeforeDelete, {}, k::PROMPT, "0"},
        {"UnimportantDay7",
         Cm::UnimportantDay,
         {QStringLiteral("7")},
         k::UNIMPORTANT,
         nullptr,
         false,
         true},
        {"UnimportantDay", Cm::UnimportantDay, {QStringLiteral("3")}, k::UNIMPORTANT, "3"},
        {"Colors16", Cm::Colors, {QStringLiteral("16")}, k::COLOR[0], nullptr, false, true},
        {"Colors3", Cm::Colors, {QStringLiteral("3"), QColor(10, 20, 30)}, k::COLOR[2], "1971210"},
        {"ShadeWeekends", Cm::ShadeWeekends, {}, k::SHADEWEEKENDS, "0"},
        {"Border", Cm::PrintBorder, {}, k::BORDER, "0"},
        {"WalletTopMargin",
         Cm::WalletTopMargin,
         {QStringLiteral("1.5")},
         k::WALLETTOPMARGIN,
         "1.50"},
        {"WalletLeftMargin8",
         Cm::WalletLeftMargin,
         {QStringLiteral("8")},
         k::WALLETLEFTMARGIN,
         nullptr,
         false,
         true},
        {"WalletWidth20",
         Cm::WalletWidth,
         {QStringLiteral("20")},
         k::WALLETWIDTH,
         nullptr,
         false,
         true},
        {"WalletWidth", Cm::WalletWidth, {QStringLiteral("4")}, k::WALLETWIDTH, "4.00"},
        {"WalletHeight275",
         Cm::WalletHeight,
         {QStringLiteral("2.75")},
         k::WALLETHEIGHT,
         nullptr,
         false,
         true},
        {"WalletHeight3",
         Cm::WalletHeight,
         {QStringLiteral("3")},
         k::WALLETHEIGHT,
         nullptr,
         false,
         true},
        {"WalletHeight", Cm::WalletHeight, {QStringLiteral("3.5")}, k::WALLETHEIGHT, "3.50"},
        {"LeftMargin", Cm::LeftMargin, {QStringLiteral("0")}, k::LEFTMARGIN, "0.00"},
        {"RightMarginNotANumber",
         Cm::RightMargin,
         {QStringLiteral("abc")},
         k::RIGHTMARGIN,
         nullptr,
         false,
         true},
        {"TopMarginCancelled", Cm::TopMargin, {Cancel {}}, k::TOPMARGIN, nullptr},
        {"BottomMargin", Cm::BottomMargin, {QStringLiteral("7.99")}, k::BOTTOMMARGIN, "7.99"},
        {"IncludeNotes", Cm::IncludeNotes, {}, k::INCLUDENOTES, "1"},
        {"NumberOfPages0",
         Cm::NumberOfPages,
         {QStringLiteral("0")},
         k::NUMPAGES,
         nullptr,
         false,
         true},
        {"NumberOfPages", Cm::NumberOfPages, {QStringLiteral("100")}, k::NUMPAGES, "100"},
        {"NumberOfColumns5",
         Cm::NumberOfColumns,
         {QStringLiteral("5")},
         k::NUMCOLS,
         nullptr,
         false,
         true},
        {"NumberOfColumns", Cm::NumberOfColumns, {QStringLiteral("4")}, k::NUMCOLS, "4"},
        {"WalletStyle", Cm::WalletStyle, {}, k::WALLETSTYLE, "1"},
        {"IncludeName", Cm::IncludeName, {QStringLiteral("Ann Smith")}, k::PRINTNAME, "Ann Smith"},
        {"PageRange", Cm::PageRange, {}, k::PAGE, "0"},
        {"OpenFullScreen", Cm::OpenFullScreen, {}, k::FULLSCREEN, "1", true},
        {"MonthWidth49",
         Cm::MonthWidth,
         {QStringLiteral("49")},
         k::MONTHWIDTH,
         nullptr,
         false,
         true},
        {"MonthWidth", Cm::MonthWidth, {QStringLiteral("250")}, k::MONTHWIDTH, "250"},
        {"MonthHeight", Cm::MonthHeight, {QStringLiteral("600")}, k::MONTHHEIGHT, "600"},
        {"Duration", Cm::AlarmDuration, {QStringLiteral("0")}, k::DURATION, "0"},
        {"IntervalZero",
         Cm::AlarmInterval,
         {QStringLiteral("0")},
         k::INTERVAL,
         nullptr,
         false,
         true},
        {"Interval", Cm::AlarmInterval, {QStringLiteral("2")}, k::INTERVAL, "2"},
        {"AdvanceOverADay",
         Cm::AlarmAdvance,
         {QStringLiteral("1441")},
         k::ADVANCE,
         nullptr,
         false,
         true},
        {"Advance", Cm::AlarmAdvance, {QStringLiteral("15")}, k::ADVANCE, "15"},
        {"EnableAlarm", Cm::EnableAlarm, {}, k::ALARM, "0"},
        {"EnableSound", Cm::EnableSound, {}, k::SOUND, "0"},
        {"UseSoundCard", Cm::UseSoundCard, {}, k::SOUNDCARD, "0"},
    };
}

} // namespace

TEST_F(Configure, EveryItemStoresWhatItsRuleAcceptsAndSaysWhatItRefuses)
{
    std::set<int> covered;
    for (const ItemCase &c : itemCases()) {
        SCOPED_TRACE(c.name);
        covered.insert(c.command);
        prompter.clear();
        answer(c.steps);
        const std::string before = stored(c.setting);
        frame->carryOut(c.command);
        EXPECT_EQ(prompter.pending(), 0U);
        EXPECT_EQ(prompter.unanswered(), 0);
        EXPECT_EQ(stored(c.setting), c.stored ? std::string(c.stored) : before);
        // What is in memory is what is stored, and what loads at the next start.
        const SettingDef &def = *findSetting(c.setting);
        if (c.stored) {
            EXPECT_EQ(storedSettingText(app->settings(), def), c.stored);
            SettingsStore store;
            EXPECT_EQ(storedSettingText(Settings::load(store, probe), def), c.stored);
        }
        EXPECT_EQ(told(QString::fromLatin1(kRestartNotice)), c.notice);
        EXPECT_EQ(told(QStringLiteral("is not accepted")), c.refused);
        const std::optional<ConfigRule> rule = findConfigRule(c.setting);
        if (!prompter.asked().empty()
            && prompter.asked().front().kind == ScriptedPrompter::Asked::Kind::AskText
            && c.command != Cm::Colors) {
            EXPECT_EQ(prompter.asked().front().caption.toStdString(), rule->caption);
            EXPECT_EQ(prompter.asked().front().text.toStdString(), rule->prompt);
        }
    }
    for (const ConfigItem &item : ConfigItems()) {
        EXPECT_TRUE(covered.count(item.command)) << "no row for command " << item.command;
    }
    // The running program keeps its files.
    EXPECT_EQ(app->archiveFileInUse(), "ARCHIVE.APT");
    EXPECT_EQ(app->waveFileInUse(), "");
    EXPECT_TRUE(QString::fromStdString(doc().path()).endsWith(QStringLiteral("NOTES.APT")));
}

TEST_F(Configure, ItemsAreTheConfigureMenusAndFlagsShowTheirCheckMarks)
{
    std::vector<int> menu;
    for (const MenuEntry &popup : MainMenu()) {
        if (popup.text == "Confi&Gure")
            menu = MenuCommands(popup.entries);
    }
    std::vector<int> items;
    for (const ConfigItem &item : ConfigItems())
        items.push_back(item.command);
    EXPECT_EQ(items, menu);

    const auto checksFollowSettings = [this] {
        for (const ConfigItem &item : ConfigItems()) {
            QAction *action = frame->action(item.command);
            const std::optional<ConfigRule> rule
                = item.setting ? findConfigRule(item.setting) : std::nullopt;
            const bool flag = rule && rule->input == ConfigInput::Flag;
            EXPECT_EQ(action->isCheckable(), flag) << item.command;
            if (flag) {
                EXPECT_EQ(action->isChecked(),
                          storedSettingText(app->settings(), *rule->def) == "1")
                    << item.command;
            }
            EXPECT_TRUE(action->isEnabled()) << item.command;
        }
    };
    checksFollowSettings();
    EXPECT_TRUE(frame->action(Cm::EnableAlarm)->isChecked());
    frame->carryOut(Cm::EnableAlarm);
    EXPECT_FALSE(frame->action(Cm::EnableAlarm)->isChecked());
    EXPECT_EQ(frame->findChild<QLabel *>(QStringLiteral("alarmField"))->text(),
              QStringLiteral("Alarm off"));
    // Whoever changes a setting, its mark follows.
    ASSERT_TRUE(app->changeSetting(k::MULTILINE, true).ok);
    ASSERT_TRUE(app->changeSetting(k::BORDER, 0).ok);
    checksFollowSettings();

    // "Interval" only while both sound settings are on.
    for (const auto &[sound, card] :
         {std::pair {false, true}, std::pair {true, false}, std::pair {true, true}}) {
        ASSERT_TRUE(app->changeSetting(k::SOUND, sound).ok);
        ASSERT_TRUE(app->changeSetting(k::SOUNDCARD, card).ok);
        EXPECT_EQ(frame->action(Cm::AlarmInterval)->isEnabled(), sound && card);
    }
}

TEST_F(Configure, ChangesReachTheOpenDocumentsAtOnce)
{
    const int note = 0; // the unimportant note shows on Mondays, and today is one
    ASSERT_GE(test::positionOfLine(doc(), note), 0);
    prompter.pushText(QStringLiteral("2"));
    frame->carryOut(Cm::UnimportantDay);
    EXPECT_EQ(test::positionOfLine(doc(), note), -1);
    prompter.pushText(QStringLiteral("12"));
    frame->carryOut(Cm::NagInterval);
    EXPECT_EQ(doc().engine().settings().nagInterval, 12);
    frame->carryOut(Cm::ShowAllCategories);
    EXPECT_TRUE(doc().showsAllCategories());
    EXPECT_FALSE(doc().showsDefaultCategory());
    prompter.pushText(QStringLiteral("1"));
    choosers->pushColour(QColor(1, 2, 3));
    frame->carryOut(Cm::Colors);
    EXPECT_EQ(list()->viewSettings().look.userColours[0], QColor(1, 2, 3));
    EXPECT_FALSE(told(QString::fromLatin1(kRestartNotice)));
}

TEST_F(Configure, ChosenFontRoundTripsAndTheListRowsGrowAtOnce)
{
    const QFont chosen = fontOf("DejaVu Sans", 30, true, true);
    const int rowsBefore = list()->rowHeight();
    choosers->pushFont(chosen);
    frame->carryOut(Cm::BodyFont);
    EXPECT_EQ(stored(k::BODYFONT), "DejaVu Sans, 30BI");
    EXPECT_GT(list()->rowHeight(), rowsBefore);

    // At the next start the slot reads back as chosen, and the chooser shows it so.
    SettingsStore store;
    const FontSlot loaded = Settings::load(store, probe).fonts[BodyFont];
    EXPECT_EQ(loaded, SlotOfFont(chosen));
    frame->carryOut(Cm::BodyFont); // cancelled
    ASSERT_EQ(choosers->fontsShown().size(), 2U);
    const QFont shown = choosers->fontsShown().back();
    EXPECT_EQ(shown.family(), chosen.family());
    EXPECT_EQ(shown.pointSize(), 30);
    EXPECT_TRUE(shown.bold());
    EXPECT_TRUE(shown.italic());
}

TEST_F(Configure, CustomColoursStartAsGreysAndKeepTheUsersChangesForTheRun)
{
    prompter.pushText(QStringLiteral("2"));
    choosers->pushCustomEdit(5, QColor(200, 100, 0));
    choosers->pushColour(std::nullopt); // cancelled: the custom colours are kept anyway
    frame->carryOut(Cm::Colors);
    prompter.pushText(QStringLiteral("4"));
    frame->carryOut(Cm::Colors);
    ASSERT_EQ(choosers->customShown().size(), 2U);
    EXPECT_EQ(choosers->customShown()[0], FirstCustomColours());
    EXPECT_EQ(choosers->customShown()[0][0], QColor(1, 1, 1));
    EXPECT_EQ(choosers->customShown()[0][15], QColor(240, 240, 240));
    EXPECT_EQ(choosers->customShown()[1][5], QColor(200, 100, 0));
    EXPECT_EQ(choosers->coloursShown()[1], QColor(128, 0, 0)); // colour 4's default
    EXPECT_EQ(stored(k::COLOR[1]), "-");
}

TEST_F(Configure, FileChooserStartsAtTheDefaultNameWithTheFilter)
{
    prompter.pushAnswer(Prompter::Answer::Yes);
    frame->carryOut(Cm::ArchiveFile);
    ASSERT_EQ(prompter.asked().size(), 1U);
    EXPECT_EQ(prompter.asked()[0].caption, QString());
    EXPECT_EQ(prompter.asked()[0].text, QStringLiteral("Default is ARCHIVE.APT.  Change?"));
    ASSERT_EQ(choosers->filesAsked().size(), 1U);
    EXPECT_EQ(choosers->filesAsked()[0].initialName, QStringLiteral("ARCHIVE.APT"));
    EXPECT_EQ(choosers->filesAsked()[0].suffix, QStringLiteral("APT"));
    EXPECT_EQ(choosers->filesAsked()[0].filter,
              QStringLiteral("Appointment Files (*.apt);;All Files (*.*)"));
}

// A failed write is told and changes nothing: not the value in memory, not the check
// mark, not the views (no change is announced).
TEST_F(Configure, WriteFailureIsShownAndChangesNothing)
{
    const QString folder = settingsDir.path();
    const struct
    {
        const char *name;
        bool needsOwnerChecks;
        std::function<void()> breakIt;
        std::function<void()> mendIt;
    } failures[] = {
        {"ReadOnlyFolder", true, [&] { chmod(folder.toLocal8Bit().constData(), 0555); },
         [&] { chmod(folder.toLocal8Bit().constData(), 0700); }},
        {"FolderInPlaceOfTheFile", false,
         [&] {
             QFile::remove(folder + QStringLiteral("/DVW.conf"));
             QDir(folder).mkdir(QStringLiteral("DVW.conf"));
         },
         [&] { QDir(folder).rmdir(QStringLiteral("DVW.conf")); }},
    };
    for (const auto &f : failures) {
        SCOPED_TRACE(f.name);
        if (f.needsOwnerChecks && geteuid() == 0)
            continue; // root writes into read-only folders
        f.breakIt();
        prompter.clear();
        const Settings before = app->settings();
        QSignalSpy changed(app.get(), &dvwApp::settingsChanged);
        prompter.pushText(QStringLiteral("30"));
        frame->carryOut(Cm::DaysToView);
        frame->carryOut(Cm::PromptBeforeDelete);
        f.mendIt();
        EXPECT_EQ(app->settings(), before);
        EXPECT_EQ(changed.count(), 0);
        EXPECT_EQ(doc().window().days, before.days);
        EXPECT_TRUE(frame->action(Cm::PromptBeforeDelete)->isChecked());
        EXPECT_TRUE(told(QStringLiteral("The setting was not changed")));
    }
}

// The menu item and `dayvane-cli config set` (on a profile of its own) judge every typed
// text alike: both store the same text or both refuse it; and what is stored loads back
// unchanged at the next start.
TEST_F(Configure, MenuAndCommandLineStoreTheSameText)
{
    std::vector<ConfigItem> typedItems;
    for (const ConfigItem &item : ConfigItems()) {
        const std::optional<ConfigRule> rule
            = item.setting ? findConfigRule(item.setting) : std::nullopt;
        if (rule && rule->input != ConfigInput::Font && rule->input != ConfigInput::File
            && std::string_view(item.setting) != k::FULLSCREEN)
            typedItems.push_back(item);
    }
    const auto result = rc::check([&] {
        const ConfigItem item = *rc::gen::elementOf(typedItems);
        const ConfigRule rule = *findConfigRule(item.setting);
        if (!frame->commands().canRun(item.command))
            return; // "Interval" while the sound is off
        const bool flag = rule.input == ConfigInput::Flag;
        const std::string typed = flag ? std::string() : *test::genTypedText();
        prompter.clear();
        if (!flag)
            prompter.pushText(QString::fromStdString(typed));
        frame->carryOut(item.command);
        const test::CliRun cli = flag
            ? test::runCliWith({"config", "--profile", "7", "toggle", item.setting})
            : test::runCliWith({"config", "--profile", "7", "--", "set", item.setting, typed});
        RC_CLASSIFY(cli.status == 0, "stored");
        const std::string menuText = stored(item.setting);
        RC_ASSERT(menuText == stored(item.setting, 7));
        RC_ASSERT((cli.status == 0) == !told(QStringLiteral("is not accepted")));
        if (cli.status == 0) {
            RC_ASSERT(cli.out == std::string(item.setting) + "=" + menuText + "\n");
            SettingsStore store;
            RC_ASSERT(storedSettingText(Settings::load(store, probe), *rule.def) == menuText);
            RC_ASSERT(storedSettingText(app->settings(), *rule.def) == menuText);
        }
    });
    EXPECT_TRUE(result);
}
