// winuser.h: window messages, styles and class styles that the program and the MFC layer name,
// the creation record handed to PreCreateWindow, and the resource-template flags of menus,
// accelerators and dialogs. No window procedure registration: windows come from the MFC layer.
#pragma once

#include "windows.h"

// Window messages.
constexpr unsigned WM_CREATE = 0x0001;
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_SIZE = 0x0005;
constexpr unsigned WM_SETFOCUS = 0x0007;
constexpr unsigned WM_KILLFOCUS = 0x0008;
constexpr unsigned WM_PAINT = 0x000F;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_COMMAND = 0x0111;
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_RBUTTONUP = 0x0205;
constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
constexpr unsigned WM_NCDESTROY = 0x0082;
// The MFC layer's own: the idle-time command-UI update of a frame and its bars.
constexpr unsigned WM_IDLEUPDATECMDUI = 0x0363;

// WM_SIZE's wParam.
constexpr UINT SIZE_RESTORED = 0;
constexpr UINT SIZE_MINIMIZED = 1;
constexpr UINT SIZE_MAXIMIZED = 2;

// Mouse messages' wParam: the buttons and modifier keys held.
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;
constexpr UINT MK_MBUTTON = 0x0010;

// Packing of message parameters. Mouse positions travel as two signed 16-bit halves of lParam.
constexpr DWORD MAKELONG(WORD low, WORD high) { return static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16); }
constexpr WPARAM MAKEWPARAM(WORD low, WORD high) { return MAKELONG(low, high); }
constexpr LPARAM MAKELPARAM(WORD low, WORD high) { return static_cast<LPARAM>(MAKELONG(low, high)); }
constexpr int GET_X_LPARAM(LPARAM lp) { return static_cast<SHORT>(LOWORD(static_cast<UINT_PTR>(lp))); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return static_cast<SHORT>(HIWORD(static_cast<UINT_PTR>(lp))); }

// The window's place and size left to the system.
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

// What CreateWindowEx and PreCreateWindow see of a window being made. hMenu carries a child's id.
struct CREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};
using CREATESTRUCT = CREATESTRUCTA;
using LPCREATESTRUCT = CREATESTRUCTA*;

// ShowWindow.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

// Window styles.
constexpr unsigned WS_OVERLAPPED = 0x00000000;
constexpr unsigned WS_POPUP = 0x80000000;
constexpr unsigned WS_CHILD = 0x40000000;
constexpr unsigned WS_VISIBLE = 0x10000000;
constexpr unsigned WS_BORDER = 0x00800000;
constexpr unsigned WS_DLGFRAME = 0x00400000;
constexpr unsigned WS_CAPTION = 0x00C00000;
constexpr unsigned WS_SYSMENU = 0x00080000;
constexpr unsigned WS_THICKFRAME = 0x00040000;
constexpr unsigned WS_GROUP = 0x00020000;
constexpr unsigned WS_TABSTOP = 0x00010000;
constexpr unsigned WS_MINIMIZEBOX = 0x00020000;
constexpr unsigned WS_MAXIMIZEBOX = 0x00010000;
constexpr unsigned WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr unsigned WS_EX_CLIENTEDGE = 0x00000200;

// Dialog, static and button styles of dialog templates.
constexpr unsigned DS_SETFONT = 0x0040;
constexpr unsigned DS_MODALFRAME = 0x0080;
constexpr unsigned DS_CENTER = 0x0800;
constexpr unsigned SS_LEFT = 0x0000;
constexpr unsigned SS_ICON = 0x0003;
constexpr unsigned SS_NOPREFIX = 0x0080;
constexpr unsigned BS_PUSHBUTTON = 0x0000;
constexpr unsigned BS_DEFPUSHBUTTON = 0x0001;

// Accelerator entries' flags.
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FNOINVERT = 0x02;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

// Window class styles.
constexpr unsigned CS_VREDRAW = 0x0001;
constexpr unsigned CS_HREDRAW = 0x0002;
constexpr unsigned CS_DBLCLKS = 0x0008;

// System colours, as background brushes take them (COLOR_WINDOW + 1).
constexpr int COLOR_WINDOW = 5;
