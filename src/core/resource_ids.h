// The program's resource and message ids, each named once: the resource scripts
// (resources/*.rc), the code, the native string-table generator
// (scripts/gen-strings.py) and the tests all read them from here.
//
// The resource compiler understands only the C preprocessor, so the texts and icons
// are plain #defines; the numbers never change, for the settings and the translations
// depend on them. Only the English text ids are named: a text's Japanese translation
// has the id kJapaneseTextOffset further on.
#pragma once

// clang-format off

#define kJapaneseTextOffset 2000

// Texts of the main window, set once at start (ApplyLanguage).
#define kTextFormFont                1001  // the form font's face name
#define kTextDetailButtonHint        1011
#define kTextOptionButtonHint        1012
#define kTextOptionGroup             1021
#define kTextNonCloseHint            1031
#define kTextNonClose                1032
#define kTextSetAndCloseHint         1041  // replaced at once by kTextSetAndHide* or kTextSetAndExit*
#define kTextSetAndClose             1042
#define kTextMinimizeStartHint       1051
#define kTextMinimizeStart           1052
#define kTextLoadPreviousHint        1061
#define kTextLoadPrevious            1062
#define kTextOriginRightBottomHint   1071
#define kTextOriginRightBottom       1072
#define kTextSetTypeHint             1091
#define kTextSetType                 1092
#define kTextSetTypeAll              1093  // the three choices of the set type, in order
#define kTextSetTypeControl          1094
#define kTextSetTypeCursor           1095
#define kTextHotKey                  1101
#define kTextHotKeyHint              1102
#define kTextHoldKeyNone             1103  // the hold-key choices that are translated
#define kTextHoldKeyLeftRight        1104
#define kTextHoldKeyMiddle           1105
#define kTextDetailGroup             1301
#define kTextRightyHint              1311
#define kTextRighty                  1312
#define kTextLeftyHint               1321
#define kTextLefty                   1322
#define kTextSpeedHeading            1331
#define kTextSpeedEditHint           1332
#define kTextSpeedBarHint            1333
#define kTextAccel1Hint              1341
#define kTextAccel1EditHint          1342
#define kTextAccel1                  1343
#define kTextAccel2Hint              1351
#define kTextAccel2EditHint          1352
#define kTextAccel2                  1353
#define kTextWheelHeading            1361
#define kTextWheelEditHint           1362
#define kTextWheelBarHint            1363
#define kTextPreviousCursorHint      1371
#define kTextPreviousCursor          1372
#define kTextNextCursorHint          1381
#define kTextNextCursor              1382
#define kTextCursorHeading           1391
#define kTextDropPanelHint           1392
#define kTextCursorLabelHint         1393
#define kTextSlotMenuSetToSystem     1401  // a slot button's menu
#define kTextSlotMenuSetFromSystem   1402
#define kTextSlotMenuSetKey          1403
#define kTextSlotMenuCreateShortcut  1404
#define kTextSlotMenuDelete          1405
#define kTextSlotMenuUseWithMouse    1406  // its submenu of pointing devices,
#define kTextSlotMenuNoDevice        1407  // its entry when no device is there,
#define kTextSlotMenuNotConnected    1408  // the mark of a bound device not connected now
#define kTextSlotDevices             1409  // before a slot's devices in its hint
#define kTextSlotMenuUseWithProgram  1410  // its submenu of programs,
#define kTextSlotMenuNotRunning      1411  // the mark of a bound program not running now,
#define kTextSlotMenuOtherProgram    1415  // the entry that opens an .exe
#define kTextSlotPrograms            1416  // before a slot's programs in its hint
#define kTextTrayMenuMousePanel      1412  // the tray icon's menu
#define kTextTrayMenuReloadCursors   1413
#define kTextTrayMenuExit            1414
#define kTextShortcutFilter          1421  // file dialog filters
#define kTextProgramFileFilter       1422
#define kTextCursorMenuOpen          1431  // the cursor preview's menu
#define kTextCursorMenuSetDefault    1432
#define kTextCursorMenuReloadAll     1433
#define kTextCursorFileFilter        1441
#define kTextUninstall               1451

// Texts put together while the program runs.
#define kTextEmptySlotHint           2001
#define kTextSlotHint                2011  // "Slot" + number + the slot's summary
#define kTextTrayEntryRighty         2012  // a slot's entry in the tray menu
#define kTextTrayEntryLefty          2013
#define kTextTrayEntrySpeed          2014
#define kTextTrayEntryAccel1         2015
#define kTextTrayEntryAccel2         2016
#define kTextTrayEntryWheel          2017
#define kTextTrayEntryLines          2018
#define kTextSummaryRighty           2021  // a slot's summary (button hint, tray tip)
#define kTextSummaryLefty            2022
#define kTextSummarySpeed            2023
#define kTextSummaryAccel1           2024
#define kTextSummaryAccel2           2025
#define kTextSummaryWheel            2026
#define kTextSummaryLines            2027
#define kTextDeleteSlotBefore        2031  // before and after the slot number
#define kTextDeleteSlotAfter         2032
#define kTextSetAndHideHint          2041  // the set-and-close option while [x] hides
#define kTextSetAndHide              2042
#define kTextSetAndExitHint          2043  // ... and while [x] ends the program
#define kTextSetAndExit              2044
#define kTextShowWindowHoldBefore    2081  // the tray's show entry: before and after the keys
#define kTextShowWindowHoldAfter     2082
#define kTextShowWindow              2083  // ... and without hold keys
#define kTextKeySetBefore            2091  // before the key code, the key and after it
#define kTextKeySetMiddle            2092
#define kTextKeySetAfter             2093
#define kTextStoredAllBefore         2101  // a slot stored from the system: all elements,
#define kTextStoredAllAfter          2102
#define kTextStoredControlBefore     2103  // the pointer control only,
#define kTextStoredControlAfter      2104
#define kTextStoredCursorBefore      2105  // the cursors only (before and after the number)
#define kTextStoredCursorAfter       2106
#define kTextUninstallDone           2121
#define kTextUninstallFailed         2122
#define kTextNoSettingsFolder        2123

// Icons: resources named, not numbered. The resource script wants the bare name (a
// quoted one would run into the file name before it), the code its text.
#ifdef RC_INVOKED
#define TIVOLER_RESOURCE_NAME(name) name
#else
#define TIVOLER_RESOURCE_NAME(name) #name
#endif
#define kIconMain                    TIVOLER_RESOURCE_NAME(MAINICON)
// The tray icon and its twin shown while the hold keys are held: in 16 colours, and
// drawn with an alpha channel for Windows XP and later (TMainForm::UseModernIcons).
#define kIconTray                    TIVOLER_RESOURCE_NAME(TRAYICON)
#define kIconTrayHot                 TIVOLER_RESOURCE_NAME(TRAYICONHOT)
#define kIconTrayXp                  TIVOLER_RESOURCE_NAME(TRAYICONXP)
#define kIconTrayXpHot               TIVOLER_RESOURCE_NAME(TRAYICONXPHOT)

// clang-format on

#ifndef RC_INVOKED
namespace tivoler {

// Registered window messages: a second instance hands its slot numbers to the running
// one with these, the tray icon reports with the first, and the shell announces a
// new taskbar (after a restart of the shell) with the last.
constexpr char kIconNotifyMessage[] = "TivolIconNotify";
constexpr char kDoubleExecuteMessage[] = "TivolDoubleExecute";
constexpr char kDoubleExeGetParamMessage[] = "TivolDoubleExeGetParam";
constexpr char kTaskbarCreatedMessage[] = "TaskbarCreated";

// The parameters of the show request: 0xFFFFFFFF, the 32 bits of -1, and -1. The
// wParam is not -1 of the sender's width: a 32-bit and a 64-bit build meet as sender
// and receiver (a copy of either kind may be running). A 64-bit value reaches a 32-bit
// window cut to its low 32 bits, and a 32-bit one reaches a 64-bit window with its high
// half zero or copied from the sign, as the system carries it. So both builds send the
// same 32 bits, and the receiver shows the window whatever it gets.
constexpr unsigned long kShowRequestWParam = 0xFFFFFFFFul;
constexpr long kShowRequestLParam = -1;

}  // namespace tivoler
#endif
