// Window.h: what a window of the platform layer offers the device. The windowing side (the MFC
// layer on Qt) and the headless surface of tests and benchmarks implement it; the device knows
// nothing else about windows.
#pragma once

#include <cstdint>
#include <memory>

#include <windows.h>

namespace platform::win32 {

// Work spread over the presenting device's threads: run(pool, count, context, chunk) calls
// chunk(context, i) once for each i below count, in any order, and returns when all returned.
struct ParallelFor {
    using Chunk = void (*)(void* context, unsigned index) noexcept;
    using Run = void (*)(void* pool, unsigned count, void* context, Chunk chunk) noexcept;
    Run run = nullptr;  // null: everything on the calling thread
    void* pool = nullptr;
    unsigned threads = 1;
};

}  // namespace platform::win32

struct HWND__ {
    HWND__() = default;
    HWND__(const HWND__&) = delete;
    HWND__& operator=(const HWND__&) = delete;
    virtual ~HWND__() = default;

    // The client area's present size in pixels.
    virtual SIZE clientSize() const noexcept = 0;

    // Processors that showing each frame keeps busy beside the device's next one: a display
    // server on this machine copying it in a process of its own. A device that takes one
    // thread per core leaves them these, so that none of its threads waits on the server's.
    virtual unsigned presentingProcessors() const noexcept { return 0; }

    // Shows a frame of X8R8G8B8 pixels (pitch in pixels), stretched to the client area as it
    // is now. The pixels are only valid during the call.
    virtual void present(const std::uint32_t* pixels, int width, int height,
                         int pitchPixels) noexcept = 0;

    // The same for pixels the window may keep: holding `pixels` keeps them alive, and they stay
    // as presented while the window holds them (the device draws its next frames into another
    // buffer; should it have to draw on into this one, it draws each frame in one go, between
    // two of the window's events), so the window repaints from them and needs no copy of its
    // own. A window holds only the last pixels it was given. `split` spreads the window's copy
    // over the device's threads. By default the pixels go to present() above.
    virtual void presentKept(std::shared_ptr<const std::uint32_t> pixels, int width, int height,
                             int pitchPixels, const platform::win32::ParallelFor&) noexcept {
        present(pixels.get(), width, height, pitchPixels);
    }
};
