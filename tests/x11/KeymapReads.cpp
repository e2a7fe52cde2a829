#include "KeymapReads.h"

#include <dlfcn.h>

#include <X11/Xlib.h>

#include <map>
#include <mutex>

namespace test::x11 {
namespace {

struct Counts {
    std::mutex mutex;
    std::map<Display*, long> reads;
};

Counts& counts() {
    static Counts instance;
    return instance;
}

}  // namespace

long keymapReads(Display* display) {
    std::lock_guard lock(counts().mutex);
    const auto found = counts().reads.find(display);
    return found == counts().reads.end() ? 0 : found->second;
}

}  // namespace test::x11

extern "C" int XQueryKeymap(Display* display, char keys[32]) {
    using Real = int (*)(Display*, char*);
    static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "XQueryKeymap"));
    {
        auto& counts = test::x11::counts();
        std::lock_guard lock(counts.mutex);
        ++counts.reads[display];
    }
    return real(display, keys);
}
