// XClient.h: the test's own connection to the suite's X server, a client apart from the
// program: it sends real input through the XTEST extension, as a keyboard and a mouse would,
// owns windows of another application, and reads the server's keyboard state to check the
// program against. Every call waits until the server has handled it.
#pragma once

#include <string>

struct _XDisplay;  // Xlib's Display: its header's macros clash with Qt's names

namespace test::x11 {

using KeySym = unsigned long;  // Xlib's types, which this header cannot include
using Window = unsigned long;
using Display = _XDisplay;

class XClient {
public:
    // Connects to DISPLAY; ok() is false (and error() says why) when that fails or the server
    // lacks XTEST.
    XClient();
    ~XClient();
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    bool ok() const noexcept { return display_ != nullptr; }
    const std::string& error() const noexcept { return error_; }
    Display* display() const noexcept { return display_; }

    // Keys by keysym (XK_w, XK_Num_Lock...), on the keyboard: the server's key map and the
    // window with the focus see them. keysym.h's XK_ names are free of clashes.
    void press(KeySym key);
    void release(KeySym key);
    void tap(KeySym key);
    // Releases every key the server has down.
    void releaseAllKeys();

    // The pointer, in screen coordinates; buttons 1 (left) to 3 (right).
    void moveTo(int x, int y);
    void pressButton(unsigned button);
    void releaseButton(unsigned button);
    // Releases every button the server has down.
    void releaseAllButtons();

    // A plain window of this client, mapped at the rectangle (screen coordinates, on top), and
    // one that takes the keyboard focus from whichever window had it.
    Window openWindow(int x, int y, int width, int height);
    void closeWindow(Window window);
    void focus(Window window);

    // A client message of the named type, carrying the value, sent to whichever client made
    // the window.
    void sendMessage(Window window, const char* type, unsigned long value);
    // The window is viewable, its top-left corner at x, y of the screen.
    bool shownAt(Window window, int& x, int& y);
    // Nothing covers the window at the point of the screen: the topmost window there is the
    // window's own top level, itself or the window manager's frame around it.
    bool onTopAt(Window window, int x, int y);

    // The server's view: the key is down now; the named indicator ("Caps Lock", "Num Lock",
    // "Scroll Lock") is lit.
    bool keyDown(KeySym key);
    bool indicatorOn(const char* name);
    // Toggles the lock: taps its key, and where the keymap ties no lock to that key (Scroll
    // Lock in most), switches the indicator itself, as a keyboard's own lock would.
    void toggleLock(KeySym key, const char* indicator);
    // Lights the named indicator or puts it out with no key, as another program can (xset
    // led); the server ignores it for indicators that only follow their lock (Caps Lock and
    // Num Lock in most keymaps).
    void switchIndicator(const char* indicator, bool on);
    // The screen's pixel, 0xRRGGBB.
    unsigned pixelAt(int x, int y);
    // Leaves every lock off.
    void clearLocks();

    void sync();
    // Waits until the server has handled all that another connection sent, and has sent it
    // the events queued for it.
    static void sync(Display* other);

private:
    Display* display_ = nullptr;
    std::string error_;
};

}  // namespace test::x11
