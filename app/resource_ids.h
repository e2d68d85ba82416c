// Identifiers of the application's resources and dialog controls (shared by the resource
// script and the code).
#pragma once

// Dialog templates
#define IDD_ABOUT 100
#define IDD_CONVERTER_EXPERT 102
#define IDD_CONVERTER_SIMPLE 103
#define IDD_SETTINGS 104

// Icon, bitmap, cursor, strings
#define IDR_MAINFRAME 128
#define IDB_ABOUT 131
#define IDC_HAND_CURSOR 132
#define IDS_ABOUTBOX 101
#define IDS_SETTINGS 102

// System-menu commands: the about box, the settings
#define IDM_ABOUTBOX 0x0010
#define IDM_SETTINGS 0x0020

// Controls of the main dialog
#define IDC_LOCAL 1001
#define IDC_SEASON 1002
#define IDC_UTC 1003
#define IDC_DAY 1004
#define IDC_ZONE 1005
#define IDC_BIAS 1006
#define IDC_DSTBIAS 1007
#define IDC_DSTSTART 1008
#define IDC_DSTEND 1009
#define IDC_DSTSTART_HINT 1020
#define IDC_DSTEND_HINT 1021
#define IDC_RELDAYS 1010
#define IDC_LOCAL_NOTE 1011
#define IDC_OTHER_TIME 1012
#define IDC_HOLIDAYS 1030
#define IDC_ZONES 1031
#define IDC_SYNC 1032
#define IDC_CLOCK 1033
#define IDC_HOLIDAY_LEGEND 1034
#define IDC_UNIXTIME 2000
#define IDC_FILETIME 2001
#define IDC_OLETIME 2002
#define IDC_DATE 2003
#define IDC_TIME 2004
#define IDC_HEX 2010
// The pasted timestamp: its field, its readings, the "Kopieren als" button
#define IDC_STAMP 2020
#define IDC_STAMP_LIST 2021
#define IDC_COPY_AS 2022

// Controls of the settings dialog
#define IDC_SERVERS 3001
#define IDC_SERVERS_DEFAULT 3002
#define IDC_STATE 3003

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
