#include <fstream>

#include <gtest/gtest.h>

#include <mmsystem.h>

#include "win32/Backend.h"

namespace {

TEST(Clocks, RealClocksAreMonotonic) {
    const DWORD first = timeGetTime();
    LARGE_INTEGER a, b, frequency;
    ASSERT_TRUE(QueryPerformanceCounter(&a));
    ASSERT_TRUE(QueryPerformanceCounter(&b));
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_LE(a.QuadPart, b.QuadPart);
    EXPECT_GT(frequency.QuadPart, 0);
    EXPECT_LE(first, timeGetTime());
}

TEST(Clocks, MillisecondsCountFromTheSystemsStart) {
    double uptimeSeconds = 0.0;
    std::ifstream("/proc/uptime") >> uptimeSeconds;
    ASSERT_GT(uptimeSeconds, 0.0);
    const auto uptime = static_cast<DWORD>(static_cast<unsigned long long>(uptimeSeconds * 1000.0));
    // /proc/uptime counts in hundredths; the difference is taken modulo 2^32, as the wrap is.
    EXPECT_LE(static_cast<DWORD>(timeGetTime() - uptime), DWORD{1000});
}

TEST(Clocks, InstalledClocksReplaceTheRealOnesUntilRemoved) {
    platform::win32::setMillisecondClock([] { return DWORD{0xFFFFFFF0u}; });
    platform::win32::setPerformanceCounter([] { return LONGLONG{0x1'0000'0005}; }, 1000);
    EXPECT_EQ(0xFFFFFFF0u, timeGetTime());
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    EXPECT_EQ(5u, counter.LowPart);
    EXPECT_EQ(1, counter.HighPart);
    EXPECT_EQ(1000, frequency.QuadPart);

    platform::win32::setMillisecondClock({});
    platform::win32::setPerformanceCounter({}, 0);
    QueryPerformanceFrequency(&frequency);
    EXPECT_EQ(1'000'000'000, frequency.QuadPart);
}

}  // namespace
