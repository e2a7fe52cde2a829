#include "DisplayReads.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <xcb/xcb.h>

namespace test::x11 {
namespace {

class Counts {
public:
    void add(const void* connection) {
        std::lock_guard lock(mutex_);
        ++calls_[connection];
    }
    long of(const void* connection) {
        std::lock_guard lock(mutex_);
        const auto found = calls_.find(connection);
        return found == calls_.end() ? 0 : found->second;
    }

private:
    std::mutex mutex_;
    std::map<const void*, long> calls_;
};

Counts& keymapCounts() {
    static Counts instance;
    return instance;
}

Counts& pointerCounts() {
    static Counts instance;
    return instance;
}

Counts& indicatorCounts() {
    static Counts instance;
    return instance;
}

// The library's own definition, which the executable's hides.
template <typename Function>
Function* next(const char* name) {
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

}  // namespace

long keymapReads(xcb_connection_t* connection) { return keymapCounts().of(connection); }

long pointerQueries(_XDisplay* display) { return pointerCounts().of(display); }

long indicatorReads(_XDisplay* display) { return indicatorCounts().of(display); }

}  // namespace test::x11

extern "C" xcb_query_keymap_cookie_t xcb_query_keymap(xcb_connection_t* connection) {
    static const auto library = test::x11::next<decltype(xcb_query_keymap)>("xcb_query_keymap");
    test::x11::keymapCounts().add(connection);
    return library(connection);
}

extern "C" Bool XQueryPointer(Display* display, Window window, Window* root, Window* child,
                              int* rootX, int* rootY, int* x, int* y, unsigned int* mask) {
    static const auto library = test::x11::next<decltype(XQueryPointer)>("XQueryPointer");
    test::x11::pointerCounts().add(display);
    return library(display, window, root, child, rootX, rootY, x, y, mask);
}

extern "C" Status XkbGetIndicatorState(Display* display, unsigned int device, unsigned int* state) {
    static const auto library =
        test::x11::next<decltype(XkbGetIndicatorState)>("XkbGetIndicatorState");
    test::x11::indicatorCounts().add(display);
    return library(display, device, state);
}
