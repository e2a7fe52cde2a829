#include "ServerWaits.h"

#include <dlfcn.h>

#include <chrono>
#include <thread>

#include <xcb/xcb.h>

namespace {

std::thread::id g_timed;  // no thread while no timing runs
double g_waited = 0.0;    // ms

// The library's own definition, which the executable's hides.
template <typename Function>
Function* next(const char* name) {
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

template <typename Function, typename... Args>
auto timed(Function* library, Args... args) {
    if (std::this_thread::get_id() != g_timed) return library(args...);
    const auto start = std::chrono::steady_clock::now();
    auto* reply = library(args...);
    g_waited +=
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return reply;
}

}  // namespace

namespace bench {

ServerWaitTiming::ServerWaitTiming() {
    g_waited = 0.0;
    g_timed = std::this_thread::get_id();
}

ServerWaitTiming::~ServerWaitTiming() { g_timed = {}; }

double ServerWaitTiming::milliseconds() const noexcept { return g_waited; }

}  // namespace bench

extern "C" xcb_query_keymap_reply_t* xcb_query_keymap_reply(xcb_connection_t* connection,
                                                            xcb_query_keymap_cookie_t cookie,
                                                            xcb_generic_error_t** error) {
    static const auto library = next<decltype(xcb_query_keymap_reply)>("xcb_query_keymap_reply");
    return timed(library, connection, cookie, error);
}

extern "C" xcb_get_input_focus_reply_t* xcb_get_input_focus_reply(
    xcb_connection_t* connection, xcb_get_input_focus_cookie_t cookie,
    xcb_generic_error_t** error) {
    static const auto library =
        next<decltype(xcb_get_input_focus_reply)>("xcb_get_input_focus_reply");
    return timed(library, connection, cookie, error);
}
