#include "configure.h"

#include "configchoosers.h"
#include "platform/prompter.h"
#include "settings/configrules.h"
#include "settings/settingkeys.h"
#include "settings/settings.h"
#include "shell/commands.h"
#include "shell/dvwapp.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "views/featureservices.h"

#include <QAction>

namespace dvw {

namespace k = settingkeys;

namespace {

constexpr int kColourCount = 15;

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor colourOf(std::uint32_t ref)
{
    return QColor(static_cast<int>(ref & 0xFF), static_cast<int>((ref >> 8) & 0xFF),
                  static_cast<int>((ref >> 16) & 0xFF));
}

std::uint32_t refOf(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return colorRef(static_cast<std::uint32_t>(rgb.red()), static_cast<std::uint32_t>(rgb.green()),
                    static_cast<std::uint32_t>(rgb.blue()));
}

// The Configure items' commands: every item asks, judges the answer by its setting's rule,
// stores it through the application, and says what went wrong.
class ConfigureCommands : public QObject
{
public:
    ConfigureCommands(TDVDecoratedMDIFrame &frame, Prompter &prompter,
                      std::shared_ptr<ConfigChoosers> choosers)
        : QObject(&frame)
        , m_frame(frame)
        , m_app(frame.app())
        , m_prompter(prompter)
        , m_choosers(std::move(choosers))
        , m_custom(FirstCustomColours())
    { }

    void registerAll();
    void updateChecks();

private:
    void run(const ConfigRule &rule);
    void flip(const ConfigRule &rule);
    void ask(const ConfigRule &rule);
    void chooseFont(const ConfigRule &rule);
    void chooseColour();
    void chooseFile(const ConfigRule &rule);
    // The text the question starts with: the value as it would be typed.
    QString typedFormOf(const ConfigRule &rule) const;
    // Judges a typed text and stores it, or says why it is refused.
    void storeTyped(const ConfigRule &rule, const QString &caption, const QString &typed);
    // Stores the value; tells a failed write, and shows the next-start notice where the
    // running program cannot apply the change.
    void store(const ConfigRule &rule, const SettingValue &value);
    void refuse(const QString &caption, const QString &typed, const std::string &accepted);

    Prompter &prompter() const { return m_prompter; }

    TDVDecoratedMDIFrame &m_frame;
    dvwApp &m_app;
    Prompter &m_prompter;
    std::shared_ptr<ConfigChoosers> m_choosers;
    CustomColours m_custom; // kept for the run
};

void ConfigureCommands::registerAll()
{
    CommandRegistry &commands = m_frame.commands();
    for (const ConfigItem &item : ConfigItems()) {
        if (item.setting == nullptr) {
            commands.add(item.command, [this] { chooseColour(); });
            continue;
        }
        const ConfigRule rule = *findConfigRule(item.setting);
        CommandRegistry::Rule enabled;
        if (item.command == Cm::AlarmInterval) {
            // The interval only matters between plays of a sound file.
            enabled = [this] { return m_app.settings().sound && m_app.settings().soundCard; };
        }
        commands.add(
            item.command, [this, rule] { run(rule); }, enabled);
    }
}

void ConfigureCommands::updateChecks()
{
    for (const ConfigItem &item : ConfigItems()) {
        const std::optional<ConfigRule> rule
            = item.setting ? findConfigRule(item.setting) : std::nullopt;
        QAction *action = m_frame.action(item.command);
        if (!rule || rule->input != ConfigInput::Flag || action == nullptr)
            continue;
        const SettingValue value = settingValue(m_app.settings(), *rule->def);
        action->setCheckable(true);
        action->setChecked(std::holds_alternative<bool>(value) ? std::get<bool>(value)
                                                               : std::get<int>(value) != 0);
    }
}

void ConfigureCommands::run(const ConfigRule &rule)
{
    switch (rule.input) {
    case ConfigInput::Flag:
        flip(rule);
        break;
    case ConfigInput::Integer:
    case ConfigInput::Real:
    case ConfigInput::Text:
        ask(rule);
        break;
    case ConfigInput::Font:
        chooseFont(rule);
        break;
    case ConfigInput::File:
        chooseFile(rule);
        break;
    case ConfigInput::Colour:
        chooseColour();
        break;
    }
}

void ConfigureCommands::flip(const ConfigRule &rule)
{
    Settings now = m_app.settings();
    if (rule.def->name == std::string_view(k::INCLUDENOTES)) {
        // The print options may have changed the flag for one printout: the stored value
        // is the one flipped.
        now.includeNotes = false;
        SettingsStore &stored = m_app.store();
        stored.open();
        if (const std::optional<std::string> text = stored.readStored(k::INCLUDENOTES))
            readStoredSettingText(now, *rule.def, *text);
        stored.close();
    }
    const SettingValue value = settingValue(now, *rule.def);
    if (std::holds_alternative<bool>(value))
        store(rule, !std::get<bool>(value));
    else
        store(rule, std::get<int>(value) != 0 ? 0 : 1);
}

QString ConfigureCommands::typedFormOf(const ConfigRule &rule) const
{
    const SettingValue value = settingValue(m_app.settings(), *rule.def);
    if (rule.input == ConfigInput::Text)
        return QString::fromStdString(std::get<std::string>(value));
    return QString::fromStdString(storedSettingText(m_app.settings(), *rule.def));
}

void ConfigureCommands::ask(const ConfigRule &rule)
{
    const QString caption = fromView(rule.caption);
    const std::optional<QString> typed
        = prompter().askText(caption, fromView(rule.prompt), typedFormOf(rule));
    if (typed)
        storeTyped(rule, caption, *typed);
}

void ConfigureCommands::storeTyped(const ConfigRule &rule, const QString &caption,
                                   const QString &typed)
{
    const TypedValue value = readTypedValue(rule, typed.toStdString(), m_app.settings());
    if (value.verdict == TypedValue::Verdict::Accepted)
        store(rule, value.value);
    else
        refuse(caption, typed, acceptedText(rule));
}

void ConfigureCommands::chooseFont(const ConfigRule &rule)
{
    const FontSlot current = std::get<FontSlot>(settingValue(m_app.settings(), *rule.def));
    if (const std::optional<QFont> font = m_choosers->chooseFont(FontOfSlot(current)))
        store(rule, SlotOfFont(*font));
}

void ConfigureCommands::chooseColour()
{
    const QString caption = QStringLiteral("Color selection");
    const std::optional<QString> typed = prompter().askText(
        caption, QStringLiteral("Enter index (1-15) of color to be edited: "), QStringLiteral("1"));
    if (!typed)
        return;
    const std::optional<int> index = parseIntValue(typed->toStdString());
    if (!index || *index < 1 || *index > kColourCount) {
        refuse(caption, *typed, "a whole number from 1 to 15");
        return;
    }
    const auto slot = static_cast<std::size_t>(*index - 1);
    const QColor current = colourOf(m_app.settings().colors[slot]);
    if (const std::optional<QColor> colour = m_choosers->chooseColour(current, m_custom))
        store(*findConfigRule(k::COLOR[slot]), refOf(*colour));
}

void ConfigureCommands::chooseFile(const ConfigRule &rule)
{
    const std::string now = std::get<std::string>(settingValue(m_app.settings(), *rule.def));
    if (!now.empty()) {
        const QString question
            = QStringLiteral("Default is %1.  Change?").arg(QString::fromStdString(now));
        if (prompter().yesNo(QString(), question) != Prompter::Answer::Yes)
            return;
    }
    // The chooser starts at the default name, not at the file set now.
    const std::string initial
        = rule.defaultFile.empty() ? m_app.waveFileInUse() : std::string(rule.defaultFile);
    const QString path = m_choosers->chooseFile(
        fromView(rule.fileFilter), QString::fromStdString(initial), fromView(rule.fileExtension));
    if (!path.isEmpty())
        storeTyped(rule, dvwApp::name(), path);
}

void ConfigureCommands::store(const ConfigRule &rule, const SettingValue &value)
{
    const StoreResult stored = m_app.changeSetting(rule.def->name, value);
    if (!stored.ok) {
        prompter().info(dvwApp::name(),
                        QStringLiteral("The setting was not changed: %1")
                            .arg(QString::fromStdString(stored.reason)),
                        Prompter::Icon::Warning);
        return;
    }
    if (rule.restartNotice)
        prompter().info(dvwApp::name(), QString::fromLatin1(kRestartNotice));
}

void ConfigureCommands::refuse(const QString &caption, const QString &typed,
                               const std::string &accepted)
{
    prompter().info(caption,
                    QStringLiteral("\"%1\" is not accepted here: type %2. Nothing was changed.")
                        .arg(typed, QString::fromStdString(accepted)),
                    Prompter::Icon::Warning);
}

} // namespace

const std::vector<ConfigItem> &ConfigItems()
{
    static const std::vector<ConfigItem> items = {
        {Cm::BodyFont, k::BODYFONT},
        {Cm::CalendarFont, k::CALENDARFONT},
        {Cm::HeadingFont, k::HEADINGFONT},
        {Cm::LargeFont, k::LARGEFONT},
        {Cm::SmallFont, k::SMALLFONT},
        {Cm::WalletFont, k::WALLETFONT},
        {Cm::AppointmentFile, k::APPTFILE},
        {Cm::ArchiveFile, k::ARCHIVEFILE},
        {Cm::ShowAllCategories, k::ALLCATEGORIES},
        {Cm::NagInterval, k::NAG},
        {Cm::DayMonthYear, k::EUROPEAN},
        {Cm::MultipleLines, k::MULTILINE},
        {Cm::BigDialog, k::BIGDIALOG},
        {Cm::CenturyBreak, k::CENTURYBREAK},
        {Cm::MilitaryTimes, k::MILITARY},
        {Cm::DaysToView, k::DAYS},
        {Cm::OpenInCalendar, k::CALVIEW},
        {Cm::PromptBeforeDelete, k::PROMPT},
        {Cm::UnimportantDay, k::UNIMPORTANT},
        {Cm::Colors, nullptr},
        {Cm::ShadeWeekends, k::SHADEWEEKENDS},
        {Cm::PrintBorder, k::BORDER},
        {Cm::WalletTopMargin, k::WALLETTOPMARGIN},
        {Cm::WalletLeftMargin, k::WALLETLEFTMARGIN},
        {Cm::WalletWidth, k::WALLETWIDTH},
        {Cm::WalletHeight, k::WALLETHEIGHT},
        {Cm::LeftMargin, k::LEFTMARGIN},
        {Cm::RightMargin, k::RIGHTMARGIN},
        {Cm::TopMargin, k::TOPMARGIN},
        {Cm::BottomMargin, k::BOTTOMMARGIN},
        {Cm::IncludeNotes, k::INCLUDENOTES},
        {Cm::NumberOfPages, k::NUMPAGES},
        {Cm::NumberOfColumns, k::NUMCOLS},
        {Cm::WalletStyle, k::WALLETSTYLE},
        {Cm::IncludeName, k::PRINTNAME},
        {Cm::PageRange, k::PAGE},
        {Cm::OpenFullScreen, k::FULLSCREEN},
        {Cm::MonthWidth, k::MONTHWIDTH},
        {Cm::MonthHeight, k::MONTHHEIGHT},
        {Cm::EnableAlarm, k::ALARM},
        {Cm::EnableSound, k::SOUND},
        {Cm::UseSoundCard, k::SOUNDCARD},
        {Cm::AlarmFile, k::WAVEFILE},
        {Cm::AlarmDuration, k::DURATION},
        {Cm::AlarmInterval, k::INTERVAL},
        {Cm::AlarmAdvance, k::ADVANCE},
    };
    return items;
}

void InstallConfigure(TDVDecoratedMDIFrame &frame, const FeatureServices &services,
                      ConfigureServices own)
{
    if (!own.choosers)
        own.choosers = std::make_shared<DialogConfigChoosers>(&frame);
    auto *commands = new ConfigureCommands(frame, *services.prompter, std::move(own.choosers));
    commands->registerAll();
    QObject::connect(&frame.app(), &dvwApp::settingsChanged, commands, [commands, &frame] {
        commands->updateChecks();
        frame.updateActions();
    });
    commands->updateChecks();
    frame.updateActions();
}

} // namespace dvw
