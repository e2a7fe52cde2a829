// DeviceOptions.h: settings of the software device that Direct3D has no call for. They apply to
// devices made after the call.
#pragma once

namespace platform::d3d9 {

// Threads a device draws with, its caller's included; 0 (the default) takes one per core.
// The picture is the same whatever the count.
void setRenderThreads(unsigned threads) noexcept;
unsigned renderThreads() noexcept;

}  // namespace platform::d3d9
