// afxres.h: the class library's standard command, string and child-window ids, and the control-bar
// styles. Only the ids this program's resources and shell name; the values are the library's.
#pragma once

#include "windows.h"

#define IDC_STATIC (-1)

// Commands.
constexpr UINT ID_SEPARATOR = 0;
constexpr UINT ID_FILE_PRINT = 0xE107;
constexpr UINT ID_EDIT_COPY = 0xE122;
constexpr UINT ID_EDIT_CUT = 0xE123;
constexpr UINT ID_EDIT_PASTE = 0xE125;
constexpr UINT ID_EDIT_UNDO = 0xE12B;
constexpr UINT ID_APP_ABOUT = 0xE140;
constexpr UINT ID_APP_EXIT = 0xE141;
constexpr UINT ID_NEXT_PANE = 0xE150;
constexpr UINT ID_PREV_PANE = 0xE151;
constexpr UINT ID_INDICATOR_CAPS = 0xE701;
constexpr UINT ID_INDICATOR_NUM = 0xE702;
constexpr UINT ID_INDICATOR_SCRL = 0xE703;
// A bar's View-menu command equals the bar's child-window id.
constexpr UINT ID_VIEW_TOOLBAR = 0xE800;
constexpr UINT ID_VIEW_STATUS_BAR = 0xE801;

// Child windows of a frame.
constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;

// Strings.
constexpr UINT AFX_IDS_APP_TITLE = 0xE000;
constexpr UINT AFX_IDS_IDLEMESSAGE = 0xE001;
constexpr UINT AFX_IDS_SCSIZE = 0xEF00;
constexpr UINT AFX_IDS_SCMOVE = 0xEF01;
constexpr UINT AFX_IDS_SCMINIMIZE = 0xEF02;
constexpr UINT AFX_IDS_SCMAXIMIZE = 0xEF03;
constexpr UINT AFX_IDS_SCNEXTWINDOW = 0xEF04;
constexpr UINT AFX_IDS_SCPREVWINDOW = 0xEF05;
constexpr UINT AFX_IDS_SCCLOSE = 0xEF06;
constexpr UINT AFX_IDS_SCRESTORE = 0xEF12;
constexpr UINT AFX_IDS_SCTASKLIST = 0xEF13;

// Control-bar styles.
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_LEFT = 0x1400;
constexpr DWORD CBRS_TOP = 0x2800;
constexpr DWORD CBRS_RIGHT = 0x4100;
constexpr DWORD CBRS_BOTTOM = 0x8200;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
