#include "settings.h"

#include "platformprobe.h"
#include "settingkeys.h"
#include "settingslimits.h"
#include "settingvalue.h"

namespace dvw {

namespace k = settingkeys;

namespace {

// Load ranges: a stored value outside them is replaced by the default.
constexpr IntRange kBigDialogWidth {200, 1000};
constexpr IntRange kBigDialogHeight {150, 1000};
constexpr IntRange kSmallDialogWidth {150, 1000};
constexpr IntRange kSmallDialogHeight {40, 1000};
constexpr RealRange kWalletWidth {2.5, false, 20};
constexpr RealRange kWalletHeight {3, false, 20};
constexpr RealRange kMargin {0, true, 8};

// Screens up to this width (pixels) start full screen and unzoomed.
constexpr int kSmallScreenWidth = 800;

constexpr std::array<std::uint32_t, 15> kDefaultColors = {
    colorRef(255, 0, 0),     colorRef(0, 0, 255),   colorRef(128, 0, 128), colorRef(128, 0, 0),
    colorRef(0, 0, 128),     colorRef(0, 128, 128), colorRef(0, 128, 0),   colorRef(128, 128, 0),
    colorRef(128, 128, 128), colorRef(0, 255, 0),   colorRef(255, 0, 255), colorRef(0, 255, 255),
    colorRef(255, 255, 0),   colorRef(192, 0, 0),   colorRef(0, 192, 0),
};

std::array<FontSlot, FontSlotCount> defaultFonts()
{
    return {{
        {"Lucida Bright", 10, false, false},
        {"Arial Bold", 10, true, false},
        {"Arial", 20, true, false},
        {"Arial", 9, false, false},
        {"Arial", 9, false, false},
        {"Lucida Sans", 8, false, false},
    }};
}

// With a sound file the alarm plays it a few times quickly; without one it beeps longer.
void setSoundDefaults(Settings &s)
{
    s.interval = s.waveFile.empty() ? 5 : 1;
    s.duration = s.waveFile.empty() ? 10 : 5;
}

// Reads stored values over the defaults already in place.
class Loader
{
public:
    explicit Loader(const SettingsStore &store)
        : m_store(store)
    { }

    void flag(bool &value, std::string_view name) const
    {
        value = m_store.readInt(name, value ? 1 : 0) != 0;
    }
    void integer(int &value, std::string_view name) const { value = m_store.readInt(name, value); }
    void integer(int &value, std::string_view name, IntRange range) const
    {
        const int stored = m_store.readInt(name, value);
        if (range.contains(stored))
            value = stored;
    }
    void real(double &value, std::string_view name, RealRange range) const
    {
        const double stored = m_store.readReal(name, value);
        if (range.contains(stored))
            value = stored;
    }
    void text(std::string &value, std::string_view name) const
    {
        value = m_store.readText(name, value);
    }
    void color(std::uint32_t &value, std::string_view name) const
    {
        value = static_cast<std::uint32_t>(m_store.readInt(name, static_cast<int>(value)));
    }
    void font(FontSlot &slot, std::string_view name) const
    {
        slot = parseFontValue(m_store.readText(name, slot.face), slot);
    }

private:
    const SettingsStore &m_store;
};

void loadSoundFile(Settings &s, const Loader &in)
{
    in.text(s.waveFile, k::WAVEFILE);
    setSoundDefaults(s);
}

void loadIntegers(Settings &s, const Loader &in)
{
    in.flag(s.sbFont, k::SBFONT);
    in.integer(s.bWidth, k::BWIDTH, kBigDialogWidth);
    in.integer(s.bHeight, k::BHEIGHT, kBigDialogHeight);
    in.integer(s.sWidth, k::SWIDTH, kSmallDialogWidth);
    in.integer(s.sHeight, k::SHEIGHT, kSmallDialogHeight);
    in.integer(s.unimportant, k::UNIMPORTANT);
    in.flag(s.shadeWeekends, k::SHADEWEEKENDS);
    in.integer(s.monthWidth, k::MONTHWIDTH);
    in.integer(s.monthHeight, k::MONTHHEIGHT);
    in.flag(s.fullScreen, k::FULLSCREEN);
    in.integer(s.advance, k::ADVANCE);
    in.integer(s.interval, k::INTERVAL);
    in.integer(s.duration, k::DURATION);
    in.flag(s.includeNotes, k::INCLUDENOTES);
    in.integer(s.numPages, k::NUMPAGES);
    in.integer(s.numCols, k::NUMCOLS);
    in.flag(s.walletStyle, k::WALLETSTYLE);
    in.flag(s.page, k::PAGE);
    in.flag(s.alarm, k::ALARM);
    in.flag(s.sound, k::SOUND);
    in.flag(s.soundCard, k::SOUNDCARD);
    in.integer(s.nag, k::NAG);
    in.flag(s.allCategories, k::ALLCATEGORIES);
    in.flag(s.european, k::EUROPEAN);
    in.flag(s.multiLine, k::MULTILINE);
    in.flag(s.bigDialog, k::BIGDIALOG);
    in.integer(s.centuryBreak, k::CENTURYBREAK);
    in.flag(s.military, k::MILITARY);
    in.integer(s.days, k::DAYS);
    in.flag(s.calView, k::CALVIEW);
    s.startCalView = s.calView;
    in.integer(s.border, k::BORDER);
    in.flag(s.prompt, k::PROMPT);
}

void loadPrintName(Settings &s, const Loader &in)
{
    in.text(s.printName, k::PRINTNAME);
    s.printName = cutToCharacters(std::move(s.printName), kPrintNameLength);
}

void loadPageMeasures(Settings &s, const Loader &in)
{
    in.real(s.walletWidth, k::WALLETWIDTH, kWalletWidth);
    in.real(s.walletHeight, k::WALLETHEIGHT, kWalletHeight);
    in.real(s.leftMargin, k::LEFTMARGIN, kMargin);
    in.real(s.rightMargin, k::RIGHTMARGIN, kMargin);
    in.real(s.topMargin, k::TOPMARGIN, kMargin);
    in.real(s.bottomMargin, k::BOTTOMMARGIN, kMargin);
    in.real(s.walletLeftMargin, k::WALLETLEFTMARGIN, kMargin);
    in.real(s.walletTopMargin, k::WALLETTOPMARGIN, kMargin);
}

void loadColors(Settings &s, const Loader &in)
{
    for (std::size_t i = 0; i < s.colors.size(); ++i)
        in.color(s.colors[i], k::COLOR[i]);
}

// A full-screen window keeps no position of its own.
void loadWindowRect(Settings &s, const Loader &in)
{
    if (s.fullScreen)
        return;
    in.integer(s.window.x, k::X);
    in.integer(s.window.y, k::Y);
    in.integer(s.window.w, k::W);
    in.integer(s.window.h, k::H);
}

void loadFonts(Settings &s, const Loader &in)
{
    for (std::size_t i = 0; i < s.fonts.size(); ++i)
        in.font(s.fonts[i], k::FONT[i]);
}

void loadFilesAndOrientation(Settings &s, const Loader &in)
{
    in.text(s.apptFile, k::APPTFILE);
    in.text(s.archiveFile, k::ARCHIVEFILE); // a path: never cut
    in.integer(s.calOrient, k::CALORIENT);
    in.integer(s.listOrient, k::LISTORIENT);
}

void writeFlag(SettingsStore &store, std::string_view name, bool value)
{
    store.writeInt(name, value ? 1 : 0);
}

void writeWindowRect(const Settings &s, SettingsStore &store)
{
    if (s.fullScreen)
        return;
    store.writeInt(k::X, s.window.x);
    store.writeInt(k::Y, s.window.y);
    store.writeInt(k::W, s.window.w);
    store.writeInt(k::H, s.window.h);
}

void writeIntegers(const Settings &s, SettingsStore &store)
{
    writeFlag(store, k::SBFONT, s.sbFont);
    store.writeInt(k::BWIDTH, s.bWidth);
    store.writeInt(k::BHEIGHT, s.bHeight);
    store.writeInt(k::SWIDTH, s.sWidth);
    store.writeInt(k::SHEIGHT, s.sHeight);
    store.writeInt(k::UNIMPORTANT, s.unimportant);
    writeFlag(store, k::SHADEWEEKENDS, s.shadeWeekends);
    store.writeInt(k::MONTHWIDTH, s.monthWidth);
    store.writeInt(k::MONTHHEIGHT, s.monthHeight);
    writeFlag(store, k::FULLSCREEN, s.fullScreen);
    store.writeInt(k::ADVANCE, s.advance);
    store.writeInt(k::INTERVAL, s.interval);
    store.writeInt(k::DURATION, s.duration);
    writeFlag(store, k::INCLUDENOTES, s.includeNotes);
    store.writeInt(k::NUMPAGES, s.numPages);
    store.writeInt(k::NUMCOLS, s.numCols);
    writeFlag(store, k::WALLETSTYLE, s.walletStyle);
    writeFlag(store, k::PAGE, s.page);
    writeFlag(store, k::ALARM, s.alarm);
    writeFlag(store, k::SOUND, s.sound);
    writeFlag(store, k::SOUNDCARD, s.soundCard);
    store.writeInt(k::NAG, s.nag);
    writeFlag(store, k::ALLCATEGORIES, s.allCategories);
    writeFlag(store, k::EUROPEAN, s.european);
    writeFlag(store, k::MULTILINE, s.multiLine);
    writeFlag(store, k::BIGDIALOG, s.bigDialog);
    store.writeInt(k::CENTURYBREAK, s.centuryBreak);
    writeFlag(store, k::MILITARY, s.military);
    store.writeInt(k::DAYS, s.days);
    writeFlag(store, k::CALVIEW, s.calView);
    store.writeInt(k::BORDER, s.border);
    writeFlag(store, k::PROMPT, s.prompt);
}

void writeTextsAndMeasures(const Settings &s, SettingsStore &store)
{
    store.writeText(k::PRINTNAME, s.printName);
    store.writeReal(k::WALLETWIDTH, s.walletWidth);
    store.writeReal(k::WALLETHEIGHT, s.walletHeight);
    store.writeReal(k::LEFTMARGIN, s.leftMargin);
    store.writeReal(k::RIGHTMARGIN, s.rightMargin);
    store.writeReal(k::TOPMARGIN, s.topMargin);
    store.writeReal(k::BOTTOMMARGIN, s.bottomMargin);
    store.writeReal(k::WALLETLEFTMARGIN, s.walletLeftMargin);
    store.writeReal(k::WALLETTOPMARGIN, s.walletTopMargin);
    for (std::size_t i = 0; i < s.colors.size(); ++i)
        store.writeInt(k::COLOR[i], static_cast<int>(s.colors[i]));
    writeWindowRect(s, store);
    store.writeInt(k::ZOOM, s.zoom);
    for (std::size_t i = 0; i < s.fonts.size(); ++i)
        store.writeText(k::FONT[i], formatFontValue(s.fonts[i]));
    store.writeText(k::APPTFILE, s.apptFile);
    store.writeText(k::ARCHIVEFILE, s.archiveFile);
    store.writeInt(k::CALORIENT, s.calOrient);
    store.writeInt(k::LISTORIENT, s.listOrient);
}

// The open failure when there was one, else how the writes went.
StoreResult closeBatch(SettingsStore &store, const StoreResult &opened)
{
    const StoreResult closed = store.close();
    return closed.ok ? opened : closed;
}

} // namespace

Settings Settings::defaults(const PlatformProbe &probe)
{
    Settings s;
    const int width = probe.screenWidth();
    s.fullScreen = width <= kSmallScreenWidth;
    s.zoom = width > kSmallScreenWidth ? 90 : 100;
    s.waveFile = probe.waveInputDeviceCount() > 0 ? "DVW.WAV" : "";
    setSoundDefaults(s);
    s.colors = kDefaultColors;
    s.fonts = defaultFonts();
    return s;
}

Settings Settings::load(SettingsStore &store, const PlatformProbe &probe)
{
    Settings s = defaults(probe);
    store.open(); // a store that cannot be opened answers every read with its default
    const Loader in(store);
    loadSoundFile(s, in);
    loadIntegers(s, in);
    loadPrintName(s, in);
    loadPageMeasures(s, in);
    loadColors(s, in);
    loadWindowRect(s, in);
    in.integer(s.zoom, k::ZOOM);
    loadFonts(s, in);
    loadFilesAndOrientation(s, in);
    store.close();
    return s;
}

StoreResult Settings::save(SettingsStore &store) const
{
    const StoreResult opened = store.open();
    store.writeText(k::WAVEFILE, waveFile);
    writeIntegers(*this, store);
    writeTextsAndMeasures(*this, store);
    return closeBatch(store, opened);
}

StoreResult Settings::saveWindowRect(SettingsStore &store) const
{
    const StoreResult opened = store.open();
    writeWindowRect(*this, store);
    return closeBatch(store, opened);
}

DateTextSettings Settings::dateText() const
{
    return {european, military, usableCenturyBreak(centuryBreak)};
}

} // namespace dvw
