#pragma once

namespace dvw {

// Command numbers of the menus, the button bar, the accelerators and the client's own
// messages. Help topics use the same numbers as context numbers.
namespace Cm {
// File
inline constexpr int FileNew = 24331;
inline constexpr int FileOpen = 24332;
inline constexpr int FileClose = 24339;
inline constexpr int Rescan = 120;
inline constexpr int FileSave = 24333;
inline constexpr int FileSaveAs = 24334;
inline constexpr int FileImportIcal = 740;
inline constexpr int FileExportIcal = 745;
inline constexpr int PrintOptions = 135;
inline constexpr int PrintPreview = 24340;
inline constexpr int FilePrint = 24337;
inline constexpr int FilePrintSetup = 24338;
inline constexpr int Exit = 24310;
// Edit
inline constexpr int InsertAppt = 160;
inline constexpr int EditAppt = 165;
inline constexpr int InsertWithDate = 170;
inline constexpr int MarkDone = 175;
inline constexpr int EditCut = 24322;
inline constexpr int EditCopy = 24323;
inline constexpr int EditPaste = 24324;
inline constexpr int EditClear = 24326;
inline constexpr int EditUndo = 700;
inline constexpr int EditRedo = 705;
// Search
inline constexpr int Find = 24351;
inline constexpr int FindNext = 24353;
inline constexpr int Screen = 205;
inline constexpr int Restore = 210;
// View
inline constexpr int ViewAppointment = 215;
inline constexpr int ViewCalendar = 220;
inline constexpr int ViewFile = 225;
// The file view's own commands. Its Mark and Sort items have numbers of their own: the
// old menu's numbers for them belong to Configure items here.
inline constexpr int FileArchive = 520;
inline constexpr int FileAppendMarked = 525;
inline constexpr int FileAppendFrom = 530;
inline constexpr int FileMarkOutdated = 535;
inline constexpr int FileMarkString = 540;
inline constexpr int FileToggleMark = 545;
inline constexpr int FileClearMarks = 550;
inline constexpr int FileSortByCategory = 555;
inline constexpr int FileSortByDate = 560;
inline constexpr int StartDate = 230;
inline constexpr int PriorityLevel = 235;
inline constexpr int ShowUnprioritized = 240;
// Window
inline constexpr int Cascade = 24361;
inline constexpr int Tile = 24362;
inline constexpr int ArrangeIcons = 24364;
inline constexpr int CloseAll = 24365;
// Categories
inline constexpr int SelectCategories = 265;
inline constexpr int NewCategory = 270;
// Alarm
inline constexpr int ShowAlarms = 275;
inline constexpr int SetTimer = 280;
// Configure
inline constexpr int BodyFont = 285;
inline constexpr int CalendarFont = 290;
inline constexpr int HeadingFont = 295;
inline constexpr int LargeFont = 300;
inline constexpr int SmallFont = 305;
inline constexpr int WalletFont = 675;
inline constexpr int AppointmentFile = 310;
inline constexpr int ArchiveFile = 315;
inline constexpr int ShowAllCategories = 320;
inline constexpr int NagInterval = 325;
inline constexpr int DayMonthYear = 330;
inline constexpr int MultipleLines = 335;
inline constexpr int BigDialog = 340;
inline constexpr int CenturyBreak = 345;
inline constexpr int MilitaryTimes = 350;
inline constexpr int DaysToView = 355;
inline constexpr int OpenInCalendar = 360;
inline constexpr int PromptBeforeDelete = 365;
inline constexpr int UnimportantDay = 680;
inline constexpr int Colors = 685;
inline constexpr int ShadeWeekends = 370;
inline constexpr int PrintBorder = 375;
inline constexpr int WalletTopMargin = 380;
inline constexpr int WalletLeftMargin = 385;
inline constexpr int WalletWidth = 390;
inline constexpr int WalletHeight = 395;
inline constexpr int LeftMargin = 400;
inline constexpr int RightMargin = 405;
inline constexpr int TopMargin = 410;
inline constexpr int BottomMargin = 415;
inline constexpr int IncludeNotes = 420;
inline constexpr int NumberOfPages = 425;
inline constexpr int NumberOfColumns = 430;
inline constexpr int WalletStyle = 435;
inline constexpr int IncludeName = 440;
inline constexpr int PageRange = 445;
inline constexpr int OpenFullScreen = 455;
inline constexpr int MonthWidth = 460;
inline constexpr int MonthHeight = 465;
inline constexpr int EnableAlarm = 470;
inline constexpr int EnableSound = 475;
inline constexpr int UseSoundCard = 480;
inline constexpr int AlarmFile = 485;
inline constexpr int AlarmDuration = 490;
inline constexpr int AlarmInterval = 495;
inline constexpr int AlarmAdvance = 500;
// Help
inline constexpr int HelpContents = 24381;
inline constexpr int HelpUsing = 24382;
inline constexpr int HelpAbout = 24389;
// Sent by the views and the document manager; in no menu.
inline constexpr int ShowMonthPane = 620;
inline constexpr int CloseMonthPane = 625;
inline constexpr int ShowCurrentPane = 630;
inline constexpr int CloseCurrentPane = 635;
// The calendar's popup: they act on the entry under the point where the popup opened
// (Edit and Paste of the popup use the Edit menu's numbers).
inline constexpr int CalendarCopy = 655;
inline constexpr int CalendarMarkDone = 660;
inline constexpr int CalendarDelete = 665;
inline constexpr int CalendarAdd = 670;
} // namespace Cm

} // namespace dvw
