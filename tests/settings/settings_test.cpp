#include "settings/platformprobe.h"
#include "settings/settingkeys.h"
#include "settings/settings.h"
#include "tempsettingsdir.h"

#include <gtest/gtest.h>

using namespace dvw;
using dvw::test::TempSettingsDir;

namespace {

const FixedProbe wideScreenWithSound(1280, 1);
const FixedProbe smallScreenNoSound(800, 0);

Settings loadFrom(const TempSettingsDir &dir, const std::string &file,
                  const PlatformProbe &probe = wideScreenWithSound)
{
    dir.write(file);
    SettingsStore store;
    return Settings::load(store, probe);
}

} // namespace

TEST(SettingsDefaults, EmptyStoreGivesEveryDefaultAndStaysEmpty)
{
    const TempSettingsDir dir;
    SettingsStore store;
    const Settings s = Settings::load(store, wideScreenWithSound);
    EXPECT_EQ(s, Settings::defaults(wideScreenWithSound));
    EXPECT_TRUE(dir.exists());
    EXPECT_EQ(dir.read(), "");

    EXPECT_EQ(s.days, 365);
    EXPECT_EQ(s.bWidth, 364);
    EXPECT_EQ(s.walletHeight, 6.125);
    EXPECT_EQ(s.apptFile, "NOTES.APT");
    EXPECT_EQ(s.archiveFile, "ARCHIVE.APT");
    EXPECT_EQ(s.colors[0], colorRef(255, 0, 0));
    EXPECT_EQ(s.colors[14], colorRef(0, 192, 0));
    EXPECT_EQ(s.fonts[HeadingFont], (FontSlot {"Arial Bold", 10, true, false}));
    EXPECT_EQ(s.fonts[WalletFont], (FontSlot {"Lucida Sans", 8, false, false}));
    EXPECT_EQ(s.window, WindowRect {});
    EXPECT_EQ(s.window.x, INT_MIN);
}

TEST(SettingsDefaults, ScreenWidthDecidesFullScreenAndZoom)
{
    EXPECT_TRUE(Settings::defaults(FixedProbe(800, 0)).fullScreen);
    EXPECT_EQ(Settings::defaults(FixedProbe(800, 0)).zoom, 100);
    EXPECT_FALSE(Settings::defaults(FixedProbe(801, 0)).fullScreen);
    EXPECT_EQ(Settings::defaults(FixedProbe(801, 0)).zoom, 90);
}

TEST(SettingsDefaults, SoundFileAndAlarmTimingFollowTheWaveDevices)
{
    const TempSettingsDir dir;
    const Settings withDevice = loadFrom(dir, "", FixedProbe(1024, 1));
    EXPECT_EQ(withDevice.waveFile, "DVW.WAV");
    EXPECT_EQ(withDevice.interval, 1);
    EXPECT_EQ(withDevice.duration, 5);

    const Settings without = loadFrom(dir, "", FixedProbe(1024, 0));
    EXPECT_EQ(without.waveFile, "");
    EXPECT_EQ(without.interval, 5);
    EXPECT_EQ(without.duration, 10);

    // The timing defaults follow the sound file as loaded, not the device count.
    const Settings stored = loadFrom(dir, "WAVEFILE=/sounds/bell.wav\n", FixedProbe(1024, 0));
    EXPECT_EQ(stored.waveFile, "/sounds/bell.wav");
    EXPECT_EQ(stored.interval, 1);
    EXPECT_EQ(stored.duration, 5);
    const Settings cleared = loadFrom(dir, "WAVEFILE=\nINTERVAL=3\n", FixedProbe(1024, 1));
    EXPECT_EQ(cleared.interval, 3);
    EXPECT_EQ(cleared.duration, 10);
}

TEST(SettingsLoadRanges, DialogSizesOutsideTheirRangeFallBackToDefaults)
{
    const TempSettingsDir dir;
    const Settings low = loadFrom(dir, "BHEIGHT=120\nSHEIGHT=30\nBWIDTH=1000\nSWIDTH=150\n");
    EXPECT_EQ(low.bHeight, 265);
    EXPECT_EQ(low.sHeight, 69);
    EXPECT_EQ(low.bWidth, 1000);
    EXPECT_EQ(low.sWidth, 150);
    const Settings high = loadFrom(dir, "BWIDTH=1001\nBHEIGHT=150\nSHEIGHT=40\nSWIDTH=149\n");
    EXPECT_EQ(high.bWidth, 364);
    EXPECT_EQ(high.bHeight, 150);
    EXPECT_EQ(high.sHeight, 40);
    EXPECT_EQ(high.sWidth, 242);
}

TEST(SettingsLoadRanges, PageMeasuresOutsideTheirRangeFallBackToDefaults)
{
    const TempSettingsDir dir;
    const Settings s = loadFrom(dir,
                                "WALLETWIDTH=2.50\nWALLETHEIGHT=19.99\nLEFTMARGIN=0.00\n"
                                "RIGHTMARGIN=8.00\nTOPMARGIN=-0.01\nBOTTOMMARGIN=7.99\n"
                                "WALLETLEFTMARGIN=nan\nWALLETTOPMARGIN=inf\n");
    EXPECT_EQ(s.walletWidth, 5.25); // the lower bound is exclusive
    EXPECT_EQ(s.walletHeight, 19.99);
    EXPECT_EQ(s.leftMargin, 0.0);
    EXPECT_EQ(s.rightMargin, 0.75);
    EXPECT_EQ(s.topMargin, 0.75);
    EXPECT_EQ(s.bottomMargin, 7.99);
    EXPECT_EQ(s.walletLeftMargin, 0.75);
    EXPECT_EQ(s.walletTopMargin, 0.75);

    const Settings words = loadFrom(dir, "WALLETWIDTH=wide\nWALLETHEIGHT=20\n");
    EXPECT_EQ(words.walletWidth, 5.25);
    EXPECT_EQ(words.walletHeight, 6.125);
}

TEST(SettingsLoadRanges, OtherNumbersAreTakenAsStored)
{
    const TempSettingsDir dir;
    const Settings s = loadFrom(dir,
                                "DAYS=2147483647\nZOOM=0\nNUMCOLS=0\nUNIMPORTANT=-3\n"
                                "EUROPEAN=5\nMILITARY=-1\nPROMPT=0\nCOLOR3=-1\n");
    EXPECT_EQ(s.days, 2147483647);
    EXPECT_EQ(s.zoom, 0);
    EXPECT_EQ(s.numCols, 0);
    EXPECT_EQ(s.unimportant, -3);
    EXPECT_TRUE(s.european); // flags are on when non-zero
    EXPECT_TRUE(s.military);
    EXPECT_FALSE(s.prompt);
    EXPECT_EQ(s.colors[2], 0xFFFFFFFFu);
}

TEST(SettingsFonts, StoredFontValuesOverwriteTheirSlots)
{
    const TempSettingsDir dir;
    const Settings s = loadFrom(dir,
                                "BODYFONT=Times New Roman, 12I\nHEADINGFONT=Arial, 11\n"
                                "LARGEFONT=Courier, 40\nCALENDARFONT=Courier\n");
    EXPECT_EQ(s.fonts[BodyFont], (FontSlot {"Times New Roman", 12, false, true}));
    EXPECT_EQ(s.fonts[HeadingFont], (FontSlot {"Arial", 11, true, false}));
    EXPECT_EQ(s.fonts[LargeFont], (FontSlot {"Courier", 20, true, false}));
    EXPECT_EQ(s.fonts[CalendarFont], (FontSlot {"Courier", 9, false, false}));
    EXPECT_EQ(s.fonts[SmallFont], (FontSlot {"Arial", 9, false, false}));
}

TEST(SettingsTexts, PrintNameIsCutButFilePathsNeverAre)
{
    const TempSettingsDir dir;
    const std::string longName(80, 'n');
    const std::string longPath = "/home/ann/" + std::string(120, 'd') + "/NOTES.APT";
    const Settings s
        = loadFrom(dir,
                   "PRINTNAME=" + longName + "\nAPPTFILE=" + longPath + "\nARCHIVEFILE=" + longPath
                       + "\nWAVEFILE=" + longPath + "\n");
    EXPECT_EQ(s.printName, std::string(59, 'n'));
    EXPECT_EQ(s.apptFile, longPath);
    EXPECT_EQ(s.archiveFile, longPath);
    EXPECT_EQ(s.waveFile, longPath);
}

TEST(SettingsWindow, RectangleIsReadOnlyWhenNotFullScreen)
{
    const TempSettingsDir dir;
    const std::string rect = "X=10\nY=20\nW=640\n";
    const Settings windowed = loadFrom(dir, "FULLSCREEN=0\n" + rect);
    EXPECT_EQ(windowed.window, (WindowRect {10, 20, 640, INT_MIN}));
    const Settings full = loadFrom(dir, "FULLSCREEN=1\n" + rect);
    EXPECT_EQ(full.window, WindowRect {});
    // The default decides too: a small screen starts full screen.
    EXPECT_EQ(loadFrom(dir, rect, smallScreenNoSound).window, WindowRect {});
}

TEST(SettingsSave, SavedSettingsLoadBackEqual)
{
    const TempSettingsDir dir;
    Settings s = Settings::defaults(wideScreenWithSound);
    s.fullScreen = false;
    s.days = 30;
    s.european = true;
    s.calView = true;
    s.startCalView = true;
    s.printName = "Ann, Smith";
    s.walletWidth = 4.5;
    s.walletHeight = 6.5; // the default 6.125 keeps two decimals only: 6.12
    s.colors[4] = colorRef(1, 2, 3);
    s.window = {5, 6, 700, 500};
    s.fonts[HeadingFont] = {"Arial", 11, false, true};
    s.apptFile = "/home/ann/my notes.apt";
    SettingsStore store;
    ASSERT_TRUE(s.save(store).ok);
    EXPECT_EQ(Settings::load(store, smallScreenNoSound), s);
}

TEST(SettingsSave, WindowRectangleIsSavedAloneAndOnlyWhenNotFullScreen)
{
    const TempSettingsDir dir;
    Settings s = Settings::defaults(wideScreenWithSound);
    s.fullScreen = false;
    s.window = {1, 2, 3, 4};
    SettingsStore store;
    ASSERT_TRUE(s.saveWindowRect(store).ok);
    EXPECT_EQ(dir.read(), "[General]\nH=4\nW=3\nX=1\nY=2\n");
    s.fullScreen = true;
    s.window = {9, 9, 9, 9};
    ASSERT_TRUE(s.saveWindowRect(store).ok);
    EXPECT_EQ(dir.read(), "[General]\nH=4\nW=3\nX=1\nY=2\n");
}

TEST(SettingsSave, FailedSaveIsReported)
{
    SettingsStore store = SettingsStore::atPath("/proc/self/DVW.conf");
    const StoreResult result = Settings::defaults(wideScreenWithSound).save(store);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.reason.empty());
}

TEST(SettingsProfiles, ProfileReadsOnlyItsOwnFile)
{
    const TempSettingsDir dir;
    dir.write("DAYS=30\n", "DVW3.conf");
    dir.write("DAYS=60\n", "DVW.conf");
    SettingsStore profile3(3);
    SettingsStore main;
    EXPECT_EQ(Settings::load(profile3, wideScreenWithSound).days, 30);
    EXPECT_EQ(Settings::load(main, wideScreenWithSound).days, 60);
}

// Every value of the file is garbage: each setting loads its default, or what its rules
// make of the text, and nothing crashes.
TEST(SettingsGarbage, GarbageInEveryValueLoadsDefaults)
{
    const TempSettingsDir dir;
    const char *garbage[] = {"",
                             "garbage",
                             "\"unclosed",
                             "@Variant(\\0\\0\\0\\x7f\\xff\\xff\\xff\\xff)",
                             "@Rect(1 2 3 4)",
                             "1e999",
                             "nan",
                             "99999999999999999999",
                             "\\x00\\xff\\\\",
                             ",,,,",
                             "\xff\xfe\x80"};
    const char *names[] = {"WAVEFILE",
                           "SBFONT",
                           "BWIDTH",
                           "BHEIGHT",
                           "SWIDTH",
                           "SHEIGHT",
                           "UNIMPORTANT",
                           "SHADEWEEKENDS",
                           "MONTHWIDTH",
                           "MONTHHEIGHT",
                           "FULLSCREEN",
                           "ADVANCE",
                           "INTERVAL",
                           "DURATION",
                           "INCLUDENOTES",
                           "NUMPAGES",
                           "NUMCOLS",
                           "WALLETSTYLE",
                           "PAGE",
                           "ALARM",
                           "SOUND",
                           "SOUNDCARD",
                           "NAG",
                           "ALLCATEGORIES",
                           "EUROPEAN",
                           "MULTILINE",
                           "BIGDIALOG",
                           "CENTURYBREAK",
                           "MILITARY",
                           "DAYS",
                           "CALVIEW",
                           "BORDER",
                           "PROMPT",
                           "WALLETWIDTH",
                           "WALLETHEIGHT",
                           "LEFTMARGIN",
                           "RIGHTMARGIN",
                           "TOPMARGIN",
                           "BOTTOMMARGIN",
                           "WALLETLEFTMARGIN",
                           "WALLETTOPMARGIN",
                           "COLOR1",
                           "COLOR15",
                           "X",
                           "Y",
                           "W",
                           "H",
                           "ZOOM",
                           "CALORIENT",
                           "LISTORIENT"};
    const Settings defaults = Settings::defaults(wideScreenWithSound);
    for (const char *value : garbage) {
        std::string file = "[General]\n";
        for (const char *name : names)
            file += std::string(name) + "=" + value + "\n";
        Settings s = loadFrom(dir, file);
        SCOPED_TRACE(value);
        // Texts are taken as stored; every number and measure is back at its default.
        s.waveFile = defaults.waveFile;
        s.interval = defaults.interval;
        s.duration = defaults.duration;
        EXPECT_EQ(s, defaults);
    }
}

TEST(SettingsGarbage, GarbageFontsAndTextsNeverCrashOrOverrun)
{
    const TempSettingsDir dir;
    const std::string huge(100000, 'x');
    const Settings s = loadFrom(dir,
                                "BODYFONT=" + huge
                                    + "\nHEADINGFONT=,\nLARGEFONT=, , , B\n"
                                      "SMALLFONT=\\x00\nPRINTNAME="
                                    + huge + "\nAPPTFILE=\n");
    EXPECT_EQ(s.fonts[BodyFont].face.size(), kFontFaceLength);
    EXPECT_EQ(s.fonts[HeadingFont], (FontSlot {"Arial Bold", 10, true, false}));
    EXPECT_EQ(s.fonts[LargeFont], (FontSlot {"Arial", 20, true, false}));
    EXPECT_EQ(s.printName.size(), kPrintNameLength);
    EXPECT_EQ(s.apptFile, ""); // stored empty: the program asks for a file
}

TEST(SettingsGarbage, FileThatIsNoIniFileAtAllLoadsDefaults)
{
    const TempSettingsDir dir;
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 37 + 11) % 256);
    const Settings s = loadFrom(dir, binary);
    EXPECT_EQ(s.days, 365);
    EXPECT_EQ(dir.read(), binary); // loading never rewrites it
}
