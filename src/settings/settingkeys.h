#pragma once

// The names under which the settings are stored. A setting is known by this name
// throughout the program (the DAYS setting, the EUROPEAN setting).
namespace dvw::settingkeys {

inline constexpr char WAVEFILE[] = "WAVEFILE";
inline constexpr char SBFONT[] = "SBFONT";
inline constexpr char BWIDTH[] = "BWIDTH";
inline constexpr char BHEIGHT[] = "BHEIGHT";
inline constexpr char SWIDTH[] = "SWIDTH";
inline constexpr char SHEIGHT[] = "SHEIGHT";
inline constexpr char UNIMPORTANT[] = "UNIMPORTANT";
inline constexpr char SHADEWEEKENDS[] = "SHADEWEEKENDS";
inline constexpr char MONTHWIDTH[] = "MONTHWIDTH";
inline constexpr char MONTHHEIGHT[] = "MONTHHEIGHT";
inline constexpr char FULLSCREEN[] = "FULLSCREEN";
inline constexpr char ADVANCE[] = "ADVANCE";
inline constexpr char INTERVAL[] = "INTERVAL";
inline constexpr char DURATION[] = "DURATION";
inline constexpr char INCLUDENOTES[] = "INCLUDENOTES";
inline constexpr char NUMPAGES[] = "NUMPAGES";
inline constexpr char NUMCOLS[] = "NUMCOLS";
inline constexpr char WALLETSTYLE[] = "WALLETSTYLE";
inline constexpr char PAGE[] = "PAGE";
inline constexpr char ALARM[] = "ALARM";
inline constexpr char SOUND[] = "SOUND";
inline constexpr char SOUNDCARD[] = "SOUNDCARD";
inline constexpr char NAG[] = "NAG";
inline constexpr char ALLCATEGORIES[] = "ALLCATEGORIES";
inline constexpr char EUROPEAN[] = "EUROPEAN";
inline constexpr char MULTILINE[] = "MULTILINE";
inline constexpr char BIGDIALOG[] = "BIGDIALOG";
inline constexpr char CENTURYBREAK[] = "CENTURYBREAK";
inline constexpr char MILITARY[] = "MILITARY";
inline constexpr char DAYS[] = "DAYS";
inline constexpr char CALVIEW[] = "CALVIEW";
inline constexpr char BORDER[] = "BORDER";
inline constexpr char PROMPT[] = "PROMPT";
inline constexpr char PRINTNAME[] = "PRINTNAME";
inline constexpr char WALLETWIDTH[] = "WALLETWIDTH";
inline constexpr char WALLETHEIGHT[] = "WALLETHEIGHT";
inline constexpr char LEFTMARGIN[] = "LEFTMARGIN";
inline constexpr char RIGHTMARGIN[] = "RIGHTMARGIN";
inline constexpr char TOPMARGIN[] = "TOPMARGIN";
inline constexpr char BOTTOMMARGIN[] = "BOTTOMMARGIN";
inline constexpr char WALLETLEFTMARGIN[] = "WALLETLEFTMARGIN";
inline constexpr char WALLETTOPMARGIN[] = "WALLETTOPMARGIN";
// COLOR1 to COLOR15, in colour number order.
inline constexpr const char *COLOR[15]
    = {"COLOR1", "COLOR2",  "COLOR3",  "COLOR4",  "COLOR5",  "COLOR6",  "COLOR7", "COLOR8",
       "COLOR9", "COLOR10", "COLOR11", "COLOR12", "COLOR13", "COLOR14", "COLOR15"};
inline constexpr char X[] = "X";
inline constexpr char Y[] = "Y";
inline constexpr char W[] = "W";
inline constexpr char H[] = "H";
inline constexpr char ZOOM[] = "ZOOM";
inline constexpr char BODYFONT[] = "BODYFONT";
inline constexpr char HEADINGFONT[] = "HEADINGFONT";
inline constexpr char LARGEFONT[] = "LARGEFONT";
inline constexpr char CALENDARFONT[] = "CALENDARFONT";
inline constexpr char SMALLFONT[] = "SMALLFONT";
inline constexpr char WALLETFONT[] = "WALLETFONT";
// The font slots 0 to 5 in slot order.
inline constexpr const char *FONT[6]
    = {BODYFONT, HEADINGFONT, LARGEFONT, CALENDARFONT, SMALLFONT, WALLETFONT};
inline constexpr char APPTFILE[] = "APPTFILE";
inline constexpr char ARCHIVEFILE[] = "ARCHIVEFILE";
inline constexpr char CALORIENT[] = "CALORIENT";
inline constexpr char LISTORIENT[] = "LISTORIENT";

} // namespace dvw::settingkeys
