// HeadlessDevice.h: a device on a headless window, for tests and benchmarks, made with the
// present parameters the program's view uses (windowed, the window's back-buffer format, a
// 16-bit depth buffer, no wait for the display), so what they draw is drawn as the view draws it.
#pragma once

#include <d3d9.h>

#include "d3d9/ComRef.h"
#include "d3d9/HeadlessWindow.h"

namespace platform::d3d9 {

// Null when the device cannot be made (or d3d is null). The window must outlive the device.
ComRef<IDirect3DDevice9> createHeadlessDevice(IDirect3D9* d3d, HeadlessWindow& window) noexcept;

}  // namespace platform::d3d9
