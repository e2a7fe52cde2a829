// Backend.h: the services that the Win32 calls take from whoever runs the program: the windowing
// side installs its message box and cursor; tests install clocks and capture reports.
// Each setter takes an empty function to restore the default.
#pragma once

#include <functional>

#include <windows.h>

namespace platform::win32 {

// MessageBoxA's presenter. Default: the box is written to standard error and answered IDOK.
using MessageBoxPresenter = std::function<int(HWND owner, LPCSTR text, LPCSTR caption, UINT type)>;
void setMessageBoxPresenter(MessageBoxPresenter presenter);

// GetCursorPos's source, in screen coordinates. Default: none, GetCursorPos fails with (0, 0).
using CursorSource = std::function<POINT()>;
void setCursorSource(CursorSource source);

// timeGetTime's clock in milliseconds. Default: the milliseconds since the system started, in
// 32 bits.
using MillisecondClock = std::function<DWORD()>;
void setMillisecondClock(MillisecondClock clock);

// QueryPerformanceCounter's counter and its frequency. Default: a monotonic nanosecond counter.
using PerformanceCounter = std::function<LONGLONG()>;
void setPerformanceCounter(PerformanceCounter counter, LONGLONG frequency);

// _assert's report. Default: written to standard error; the caller goes on either way.
using AssertHandler = std::function<void(const char* expression, const char* file, unsigned line)>;
void setAssertHandler(AssertHandler handler);

}  // namespace platform::win32
