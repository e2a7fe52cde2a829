// winuser.h: window messages, styles and class styles that the program and the MFC layer name.
#pragma once

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

// Window class styles.
constexpr unsigned CS_VREDRAW = 0x0001;
constexpr unsigned CS_HREDRAW = 0x0002;
constexpr unsigned CS_DBLCLKS = 0x0008;

// System colours, as background brushes take them (COLOR_WINDOW + 1).
constexpr int COLOR_WINDOW = 5;
