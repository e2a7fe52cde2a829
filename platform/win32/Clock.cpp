#include <chrono>
#include <cstdint>
#include <utility>

#include <time.h>

#include <mmsystem.h>

#include "win32/Backend.h"

namespace platform::win32 {
namespace {

constexpr LONGLONG kNanosecondsPerSecond = 1'000'000'000;

struct Clocks {
    MillisecondClock milliseconds;
    PerformanceCounter counter;
    LONGLONG frequency = kNanosecondsPerSecond;
};

Clocks& clocks() {
    static Clocks instance;
    return instance;
}

std::chrono::steady_clock::duration sinceStart() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::steady_clock::now() - start;
}

}  // namespace

void setMillisecondClock(MillisecondClock clock) { clocks().milliseconds = std::move(clock); }

void setPerformanceCounter(PerformanceCounter counter, LONGLONG frequency) {
    clocks().counter = std::move(counter);
    clocks().frequency = clocks().counter ? frequency : kNanosecondsPerSecond;
}

}  // namespace platform::win32

DWORD timeGetTime() {
    using namespace platform::win32;
    if (clocks().milliseconds) return clocks().milliseconds();
    // Milliseconds since the system started, time asleep included: a reading's float spacing
    // and the wrap after 2^32 ms follow the system's uptime, not the program's.
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000u;
    return static_cast<DWORD>(ms);  // the low 32 bits
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount) {
    using namespace platform::win32;
    if (!lpPerformanceCount) return FALSE;
    if (clocks().counter) {
        lpPerformanceCount->QuadPart = clocks().counter();
    } else {
        lpPerformanceCount->QuadPart =
            std::chrono::duration_cast<std::chrono::nanoseconds>(sinceStart()).count();
    }
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency) {
    if (!lpFrequency) return FALSE;
    lpFrequency->QuadPart = platform::win32::clocks().frequency;
    return TRUE;
}
