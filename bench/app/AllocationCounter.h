// AllocationCounter.h: counts the program's heap allocations. This binary replaces the global
// operator new (every form); while counting is on, each call adds one, on any thread.
#pragma once

#include <cstdint>

namespace bench {

class AllocationCount {
public:
    AllocationCount();  // starts counting from 0
    ~AllocationCount();
    AllocationCount(const AllocationCount&) = delete;
    AllocationCount& operator=(const AllocationCount&) = delete;

    std::uint64_t count() const noexcept;
};

}  // namespace bench
