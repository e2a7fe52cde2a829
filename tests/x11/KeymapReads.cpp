#include "KeymapReads.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

#include <xcb/xcb.h>

namespace test::x11 {
namespace {

struct Counts {
    std::mutex mutex;
    std::map<xcb_connection_t*, long> reads;
};

Counts& counts() {
    static Counts instance;
    return instance;
}

}  // namespace

long keymapReads(xcb_connection_t* connection) {
    std::lock_guard lock(counts().mutex);
    const auto found = counts().reads.find(connection);
    return found == counts().reads.end() ? 0 : found->second;
}

}  // namespace test::x11

extern "C" xcb_query_keymap_cookie_t xcb_query_keymap(xcb_connection_t* connection) {
    using Next = xcb_query_keymap_cookie_t (*)(xcb_connection_t*);
    static const auto next = reinterpret_cast<Next>(dlsym(RTLD_NEXT, "xcb_query_keymap"));
    {
        auto& counts = test::x11::counts();
        std::lock_guard lock(counts.mutex);
        ++counts.reads[connection];
    }
    return next(connection);
}
