// Window.h: what a window of the platform layer offers the device. The windowing side (the MFC
// layer on Qt) and the headless surface of tests and benchmarks implement it; the device knows
// nothing else about windows.
#pragma once

#include <cstdint>

#include <windows.h>

struct HWND__ {
    HWND__() = default;
    HWND__(const HWND__&) = delete;
    HWND__& operator=(const HWND__&) = delete;
    virtual ~HWND__() = default;

    // The client area's present size in pixels.
    virtual SIZE clientSize() const noexcept = 0;

    // Shows a frame of X8R8G8B8 pixels (pitch in pixels), stretched to the client area as it
    // is now. The pixels are only valid during the call.
    virtual void present(const std::uint32_t* pixels, int width, int height,
                         int pitchPixels) noexcept = 0;
};
