#include "mfc/DisplayKeymap.h"

#include <array>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>

#include <windows.h>

#include "mfc/DisplayIndicators.h"
#include "mfc/X11Application.h"
#include "win32/KeyState.h"

// Xlib's macros (None, Bool, KeyPress...) clash with Qt's names: it comes after every Qt header.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

namespace platform::mfc {
namespace {

struct KeySymPair {
    int vk;
    KeySym sym;
};

constexpr KeySymPair kNamedKeys[] = {
    {VK_BACK, XK_BackSpace}, {VK_TAB, XK_Tab},       {VK_RETURN, XK_Return},
    {VK_SHIFT, XK_Shift_L},  {VK_CONTROL, XK_Control_L}, {VK_MENU, XK_Alt_L},
    {VK_ESCAPE, XK_Escape},  {VK_SPACE, XK_space},   {VK_LEFT, XK_Left},
    {VK_UP, XK_Up},          {VK_RIGHT, XK_Right},   {VK_DOWN, XK_Down},
    {VK_CAPITAL, XK_Caps_Lock}, {VK_NUMLOCK, XK_Num_Lock}, {VK_SCROLL, XK_Scroll_Lock},
};

KeySym keySymOf(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') return XK_a + (virtualKey - 'A');
    if (virtualKey >= '0' && virtualKey <= '9') return XK_0 + (virtualKey - '0');
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9)
        return XK_KP_0 + (virtualKey - VK_NUMPAD0);
    for (const KeySymPair& pair : kNamedKeys)
        if (pair.vk == virtualKey) return pair.sym;
    return NoSymbol;
}

// The key code of each virtual key, 0 for none; looked up once, since a frame reads them all.
using KeyCodes = std::array<KeyCode, win32::KeyBits().size()>;

KeyCodes keyCodesOf(Display* display) {
    KeyCodes codes{};
    for (int vk = 0; vk < static_cast<int>(codes.size()); ++vk) {
        const KeySym sym = keySymOf(vk);
        if (sym != NoSymbol) codes[static_cast<std::size_t>(vk)] = XKeysymToKeycode(display, sym);
    }
    return codes;
}

// The key map by one request a frame, read a frame late. The server answers in order, and
// sends its answers once it has done the requests it read with them: a key map asked for as a
// frame starts comes back only after the server has copied the last frame's image, which the
// frame's first key query would wait for. So each frame asks as it starts, and reads the answer
// to the request of the frame before, long since arrived. After a pause that answer is stale:
// the frame then reads its own request's.
class KeyMapRequests {
public:
    KeyMapRequests(xcb_connection_t* connection, const KeyCodes& codes)
        : connection_(connection), codes_(codes) {}
    ~KeyMapRequests() {
        discard(current_);
        discard(next_);
    }
    KeyMapRequests(const KeyMapRequests&) = delete;
    KeyMapRequests& operator=(const KeyMapRequests&) = delete;

    // As a frame starts.
    void request(bool afterPause) {
        discard(current_);  // a frame that queried no key left its answer unread
        if (afterPause) discard(next_);
        current_ = std::exchange(next_, ask());
        xcb_flush(connection_);
    }

    bool read(win32::KeyBits& down) {
        if (!current_) {
            // No answer from the frame before: this frame's own request (made now, outside a
            // frame), and another for the next frame.
            if (!next_) next_ = ask();
            current_ = std::exchange(next_, ask());
        }
        xcb_query_keymap_reply_t* reply = xcb_query_keymap_reply(connection_, *current_, nullptr);
        current_.reset();
        if (!reply) return false;
        for (std::size_t vk = 0; vk < codes_.size(); ++vk) {
            const KeyCode code = codes_[vk];
            if (code != 0 && ((reply->keys[code / 8] >> (code % 8)) & 1)) down.set(vk);
        }
        std::free(reply);
        return true;
    }

private:
    using Request = std::optional<xcb_query_keymap_cookie_t>;

    Request ask() { return xcb_query_keymap(connection_); }

    void discard(Request& request) {
        if (request) xcb_discard_reply(connection_, request->sequence);
        request.reset();
    }

    xcb_connection_t* connection_;
    KeyCodes codes_;
    Request current_;  // the answer this frame reads
    Request next_;     // ... and the next frame's
};

}  // namespace

void installDisplayKeymap() {
    const auto* x11 = x11Application();
    Display* display = x11 ? x11->display() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!display || !connection) return;
    const KeyCodes codes = keyCodesOf(display);
    win32::KeyBits covered;
    for (std::size_t vk = 0; vk < codes.size(); ++vk) covered.set(vk, codes[vk] != 0);
    // Shared by the reader's two calls; it goes when the reader is removed.
    auto requests = std::make_shared<KeyMapRequests>(connection, codes);
    win32::setKeyMapReader(
        {[requests](win32::KeyBits& down) { return requests->read(down); },
         [requests](bool afterPause) { requests->request(afterPause); }},
        covered);
    installDisplayIndicators(display);
}

void removeDisplayKeymap() {
    win32::setKeyMapReader({});
    removeDisplayIndicators();
}

}  // namespace platform::mfc
