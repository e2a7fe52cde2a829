// DeviceOptions.h: settings of the software device that Direct3D has no call for. They apply to
// devices made after the call.
#pragma once

namespace platform::d3d9 {

// Threads a device draws with, its caller's included; 0 (the default) takes one per core, less
// the `busy` processors its window's presents keep (always one at least). The picture is the
// same whatever the count.
void setRenderThreads(unsigned threads) noexcept;
unsigned renderThreads(unsigned busy = 0) noexcept;

}  // namespace platform::d3d9
