// windows.h: the Win32 subset this program calls: basic types, result codes, virtual-key codes,
// key state, cursor, rectangles, clocks, message boxes and the C runtime's rand and _assert.
// No window procedure, no GDI drawing; the window side lives in winuser.h and the MFC layer.
#pragma once

#include <cstddef>
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using INT = int;
using UINT = unsigned int;
using BOOL = int;
using CHAR = char;
using FLOAT = float;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using LONG_PTR = std::intptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using HRESULT = LONG;
using LPSTR = char*;
using LPCSTR = const char*;
using LPVOID = void*;
using LPCVOID = const void*;
using HANDLE = void*;

static_assert(sizeof(DWORD) == 4 && sizeof(LONG) == 4 && sizeof(SHORT) == 2);

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// A window of the platform layer (defined in win32/Window.h); the device presents into it.
struct HWND__;
using HWND = HWND__*;

// Handles the program only passes along; the layer gives them no contents.
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
struct HICON__;
using HICON = HICON__*;
using HCURSOR = HICON;
struct HBRUSH__;
using HBRUSH = HBRUSH__*;
struct HMENU__;
using HMENU = HMENU__*;
struct HDC__;
using HDC = HDC__*;

// Result codes. FAILED is a negative value, whatever the facility.
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)

struct POINT {
    LONG x;
    LONG y;
};
using LPPOINT = POINT*;

struct SIZE {
    LONG cx;
    LONG cy;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;

union LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    };
    LONGLONG QuadPart;
};
static_assert(sizeof(LARGE_INTEGER) == 8);

#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(static_cast<WORD>(i))))
#define MAKEINTRESOURCE MAKEINTRESOURCEA
constexpr WORD LOWORD(UINT_PTR value) { return static_cast<WORD>(value & 0xFFFF); }
constexpr WORD HIWORD(UINT_PTR value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }

// Virtual-key codes. Letters and the main-row digits are their ASCII capitals: 'W' is 0x57,
// '1' is 0x31; the keypad's digits are separate keys (VK_NUMPAD0..9).
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_NUMPAD0 = 0x60;
constexpr int VK_NUMPAD1 = 0x61;
constexpr int VK_NUMPAD9 = 0x69;
constexpr int VK_MULTIPLY = 0x6A;
constexpr int VK_ADD = 0x6B;
constexpr int VK_SUBTRACT = 0x6D;
constexpr int VK_DECIMAL = 0x6E;
constexpr int VK_DIVIDE = 0x6F;
constexpr int VK_F1 = 0x70;
constexpr int VK_F6 = 0x75;
constexpr int VK_F12 = 0x7B;
constexpr int VK_NUMLOCK = 0x90;
constexpr int VK_SCROLL = 0x91;

// Message boxes.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Standard cursors: the ids LoadCursorA takes with a null module.
#define IDC_ARROW MAKEINTRESOURCEA(32512)

// Bit 0x8000 while the key is down; bit 0x0001 when it went down since the previous query of
// that key, which this query clears. The state is fed by the windowing side (win32/KeyState.h).
SHORT GetAsyncKeyState(int vKey);

// Screen coordinates of the cursor, from the windowing side; (0, 0) and FALSE without one.
BOOL GetCursorPos(LPPOINT lpPoint);

BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom);

// Modal; returns the id of the button that closed it. Without a windowing side the box is
// written to standard error and answered with IDOK.
int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
#define MessageBox MessageBoxA

// A monotonic counter in counts of QueryPerformanceFrequency per second.
BOOL QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency);

// Cursors are drawn by the windowing side; the handle names the standard shape.
HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName);
#define LoadCursor LoadCursorA

#include "wingdi.h"
#include "winuser.h"
#include "crtdbg.h"
