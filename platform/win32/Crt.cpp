// The C runtime's generator and debug report, as the program's original runtime has them.
#include <cstdio>
#include <cstdlib>
#include <utility>

#include <windows.h>

#include "win32/Backend.h"

namespace platform::win32 {
namespace {

// Seed 1 until srand: the scene is the same on every run and every machine.
unsigned int randState = 1;

AssertHandler& assertHandler() {
    static AssertHandler handler;
    return handler;
}

}  // namespace

void setAssertHandler(AssertHandler handler) { assertHandler() = std::move(handler); }

}  // namespace platform::win32

extern "C" int rand() noexcept {
    auto& x = platform::win32::randState;
    x = x * 214013u + 2531011u;
    return static_cast<int>((x >> 16) & 0x7FFF);
}

extern "C" void srand(unsigned int seed) noexcept { platform::win32::randState = seed; }

extern "C" void _assert(const char* expression, const char* file, unsigned line) {
    auto& handler = platform::win32::assertHandler();
    if (handler) {
        handler(expression, file, line);
        return;
    }
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %u\n", expression ? expression : "",
                 file ? file : "", line);
}
