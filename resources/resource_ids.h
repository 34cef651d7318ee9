// Resource, command, control and timer ids shared by orva.rc and the shell.
// windres reads this file too: everything outside the C++-only guard at the
// bottom must stay plain #defines.
#ifndef ORVA_RESOURCES_RESOURCE_IDS_H
#define ORVA_RESOURCES_RESOURCE_IDS_H

// Resources of the module.
#define IDI_ORVA 102  // window classes, tray icon and about box
#define IDR_MAINBMP "MAINBMP"
#define IDR_MYPOPUP "MYPOPUP"
#define IDD_ABOUT "ABOUTDLG"
#define IDD_INFO "INFODLG"
#define IDD_EQUALIZER "EQDLG"
#define IDD_MINI "MINIDLG"

// Pop-ups of MYPOPUP, by position.
#define POPUP_MAIN 0
#define POPUP_LIST 1

// Menu commands (pop-up 0 and pop-up 1 of MYPOPUP).
#define IDM_ABOUT 40001
#define IDM_LOAD_FILES 40002
#define IDM_ALWAYS_ON_TOP 40003
#define IDM_EXIT 40005
#define IDM_PLAY_SELECTED 40007
#define IDM_REMOVE_ITEMS 40008
#define IDM_PREVIOUS 40010
#define IDM_PLAY 40011
#define IDM_PAUSE 40012
#define IDM_STOP 40014
#define IDM_NEXT 40015
#define IDM_SETTINGS 40018
#define IDM_STICKY_MODE 40021
#define IDM_SAVE_SETTINGS 40022
#define IDM_SAVE_LIST_AS 40023
#define IDM_INFORMATION 40025
#define IDM_SORT_TITLE 40027
#define IDM_SORT_ARTIST 40028
#define IDM_SORT_SONG 40029
#define IDM_SORT_DATE 40030
#define IDM_OPEN_FOLDER 40031
#define IDM_REMOVE_ALL 40032
#define IDM_SORT_TIME_STAMP 40035

// Children of the main window. The transport buttons share their ids with
// the menu commands they stand for.
#define IDC_PLAYLIST 2000
#define IDC_PREVIOUS IDM_PREVIOUS
#define IDC_PLAY IDM_PLAY
#define IDC_PAUSE IDM_PAUSE
#define IDC_STOP IDM_STOP
#define IDC_NEXT IDM_NEXT
#define IDC_LIST_TOGGLE 1006
#define IDC_EQUALIZER_TOGGLE 1007
#define IDC_LYRICS_TOGGLE 1008
#define IDC_MODE 1009
#define IDC_CLOSE 1100

// About box (ABOUTDLG); its button is IDOK.
#define IDC_ABOUT_ICON 1200
#define IDC_ABOUT_TEXT 1201

// Timers of the main window and the mini window.
#define IDT_MAIN_TICK 0x7FFF  // 500 ms: volume, sticky mode, end of track
#define IDT_FAST_TICK 0x8000  // 10 ms: lyrics, close button, joystick
#define IDT_MINI_TICK 0x8001  // 100 ms: mini window title and seek slider
#define MAIN_TICK_MS 500
#define FAST_TICK_MS 10
#define MINI_TICK_MS 100

// Messages.
#define WM_ORVA_TRAY 1025                // WM_USER + 1, the tray icon's callback
#define WM_ORVA_FORWARDED (0x8000 + 10)  // WM_APP + 10: forwarded command lines wait here
#define TRAY_ICON_UID 1

// Information dialog (INFODLG).
#define IDC_INFO_PATH 1013
#define IDC_INFO_DISPLAY_TITLE 1014
#define IDC_INFO_ID3_VIEW 1015
#define IDC_INFO_RIFF_VIEW 1016
#define IDC_INFO_YEAR 1019
#define IDC_INFO_TITLE 1020
#define IDC_INFO_GENRE 1021
#define IDC_INFO_ARTIST 1022
#define IDC_INFO_ALBUM 1023
#define IDC_INFO_COMMENT 1024
#define IDC_INFO_COPYRIGHT 1025
#define IDC_INFO_ENGINEER 1026
#define IDC_INFO_SOURCE 1027
#define IDC_INFO_SOFTWARE 1028
#define IDC_INFO_MPEG_DETAIL 1031
#define IDC_INFO_MPEG_GROUP 1034
#define IDC_INFO_CREATE 1035
#define IDC_INFO_DELETE 1036

// Mini window (MINIDLG).
#define IDC_MINI_SEEK 1039
#define IDC_MINI_VOLUME 1040
#define IDC_MINI_TITLE 1041

// Equalizer window (EQDLG). Band 1 is 1006; bands 2 to 10 are 1014 to 1022.
#define IDC_EQ_BAND1 1006
#define IDC_EQ_BAND2 1014
#define IDC_EQ_BAND3 1015
#define IDC_EQ_BAND4 1016
#define IDC_EQ_BAND5 1017
#define IDC_EQ_BAND6 1018
#define IDC_EQ_BAND7 1019
#define IDC_EQ_BAND8 1020
#define IDC_EQ_BAND9 1021
#define IDC_EQ_BAND10 1022
#define IDC_EQ_ENABLE 1007
#define IDC_EQ_RESET 1008
#define IDC_EQ_LOAD 1009
#define IDC_EQ_WRITE 1010
#define IDM_EQ_PRESET_FIRST 1500
#define IDM_EQ_PRESET_COUNT 30

#if !defined(RC_INVOKED) && defined(__cplusplus)
static_assert(IDM_ABOUT == 40001 && IDM_SORT_TIME_STAMP == 40035, "menu commands are 40001..40035");
static_assert(WM_ORVA_TRAY == 0x0400 + 1, "the tray callback is WM_USER + 1");
static_assert(IDC_EQ_BAND10 - IDC_EQ_BAND2 == 8, "bands 2 to 10 are consecutive");
static_assert(IDM_EQ_PRESET_FIRST + IDM_EQ_PRESET_COUNT - 1 == 1529, "presets are 1500..1529");
static_assert(IDT_MAIN_TICK != IDT_FAST_TICK && IDT_FAST_TICK != IDT_MINI_TICK, "timer ids are distinct");
#endif

#endif  // ORVA_RESOURCES_RESOURCE_IDS_H
