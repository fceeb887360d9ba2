// Resource and command ids of Tempik, grouped by kind. Ids of one kind must
// not repeat; tests/res checks that for every id defined here.
#pragma once

#include "framework/FrameworkRes.h"  // AFX_IDS_APP_TITLE, the program's name

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_RONDIX_DIALOG 102
#define IDD_TIMER_OPTIONS 103

// Strings (the application title is the framework's AFX_IDS_APP_TITLE)
#define IDS_ABOUTBOX 101
#define IDS_ELAPSED_TIME 107

// Menus
#define IDR_MENU_STOPPED 104
#define IDR_MENU_RUNNING 105

// Icons
#define IDR_MAINFRAME 106
#define IDI_START 110
#define IDI_RESET 111
#define IDI_MORE 112
#define IDI_STOP 113

// Controls (IDC_STATIC for every control the program never addresses)
#define IDC_STATIC (-1)
#define IDC_START_STOP 1001
#define IDC_RESET 1002
#define IDC_MORE 1004
#define IDC_HOTKEY_LIST 1026

// Menu commands
#define ID_TIMER_START 32771
#define ID_TIMER_STOP 32772
#define ID_TIMER_EXIT 32774
#define ID_TIMER_ABOUT 32775
#define ID_TIMER_OPTIONS 32776

// System-menu command; its low four bits must stay clear
#define IDM_ABOUTBOX 0x0010
