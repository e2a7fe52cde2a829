// PeakMemory.h: how far a step raised the process's peak resident memory. Each test runs in a
// process of its own under CTest, so a step that touches more than the test has so far shows.
#pragma once

#include <cstddef>

#include <sys/resource.h>

namespace test {

inline std::size_t PeakResidentBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::size_t>(usage.ru_maxrss) * 1024;  // reported in KiB
}

template <class Step>
std::size_t PeakGrowthBytes(Step step) {
    const std::size_t before = PeakResidentBytes();
    step();
    return PeakResidentBytes() - before;
}

constexpr std::size_t kMiB = std::size_t{1} << 20;

}  // namespace test
