#include "XClient.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace test::x11 {

XClient::XClient() {
    display_ = XOpenDisplay(nullptr);
    if (!display_) {
        error_ = "cannot connect to the X server";
        return;
    }
    int event, error, major, minor;
    if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) {
        error_ = "the X server has no XTEST extension";
        XCloseDisplay(display_);
        display_ = nullptr;
    }
}

XClient::~XClient() {
    if (display_) XCloseDisplay(display_);
}

void XClient::sync() {
    XSync(display_, False);
}

void XClient::sync(Display* other) {
    XSync(other, False);
}

void XClient::press(KeySym key) {
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), True, CurrentTime);
    sync();
}

void XClient::release(KeySym key) {
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), False, CurrentTime);
    sync();
}

void XClient::tap(KeySym key) {
    press(key);
    release(key);
}

void XClient::releaseAllKeys() {
    char keys[32];
    XQueryKeymap(display_, keys);
    for (int code = 0; code < 256; ++code)
        if ((keys[code / 8] >> (code % 8)) & 1)
            XTestFakeKeyEvent(display_, static_cast<unsigned>(code), False, CurrentTime);
    sync();
}

void XClient::moveTo(int x, int y) {
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    sync();
}

void XClient::pressButton(unsigned button) {
    XTestFakeButtonEvent(display_, button, True, CurrentTime);
    sync();
}

void XClient::releaseButton(unsigned button) {
    XTestFakeButtonEvent(display_, button, False, CurrentTime);
    sync();
}

void XClient::releaseAllButtons() {
    ::Window root, child;
    int rootX, rootY, x, y;
    unsigned mask = 0;
    XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rootX, &rootY, &x, &y,
                  &mask);
    for (unsigned button = 1; button <= 5; ++button)
        if (mask & (Button1Mask << (button - 1)))
            XTestFakeButtonEvent(display_, button, False, CurrentTime);
    sync();
}

Window XClient::openWindow(int x, int y, int width, int height) {
    const int screen = DefaultScreen(display_);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = WhitePixel(display_, screen);
    attributes.event_mask = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask;
    const Window window =
        XCreateWindow(display_, RootWindow(display_, screen), x, y, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWBackPixel | CWEventMask, &attributes);
    XSizeHints hints{};
    hints.flags = USPosition | USSize;
    hints.x = x;
    hints.y = y;
    hints.width = width;
    hints.height = height;
    XSetWMNormalHints(display_, window, &hints);
    XMapRaised(display_, window);
    sync();
    return window;
}

void XClient::closeWindow(Window window) {
    XDestroyWindow(display_, window);
    sync();
}

void XClient::focus(Window window) {
    XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime);
    sync();
}

void XClient::sendMessage(Window window, const char* type, unsigned long value) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, type, False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(value);
    XSendEvent(display_, window, False, NoEventMask, &event);
    sync();
}

bool XClient::shownAt(Window window, int& x, int& y) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, window, &attributes) ||
        attributes.map_state != IsViewable)
        return false;
    ::Window child;
    return XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y,
                                 &child);
}

bool XClient::onTopAt(Window window, int x, int y) {
    const ::Window root = DefaultRootWindow(display_);
    ::Window top = 0;
    int rootX, rootY;
    if (!XTranslateCoordinates(display_, root, root, x, y, &rootX, &rootY, &top) || top == 0)
        return false;
    for (::Window outer = window;;) {
        ::Window serverRoot, parent;
        ::Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display_, outer, &serverRoot, &parent, &children, &count)) return false;
        if (children) XFree(children);
        if (parent == root) return outer == top;
        outer = parent;
    }
}

bool XClient::keyDown(KeySym key) {
    char keys[32];
    XQueryKeymap(display_, keys);
    const KeyCode code = XKeysymToKeycode(display_, key);
    return (keys[code / 8] >> (code % 8)) & 1;
}

bool XClient::indicatorOn(const char* name) {
    Bool on = False;
    XkbGetNamedIndicator(display_, XInternAtom(display_, name, False), nullptr, &on, nullptr,
                         nullptr);
    return on;
}

unsigned XClient::pixelAt(int x, int y) {
    XImage* image =
        XGetImage(display_, DefaultRootWindow(display_), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0;
    const auto pixel = static_cast<unsigned>(XGetPixel(image, 0, 0) & 0xFFFFFFu);
    XDestroyImage(image);
    return pixel;
}

void XClient::toggleLock(KeySym key, const char* indicator) {
    const bool wasOn = indicatorOn(indicator);
    tap(key);
    if (indicatorOn(indicator) == wasOn) switchIndicator(indicator, !wasOn);
}

void XClient::switchIndicator(const char* indicator, bool on) {
    XkbSetNamedIndicator(display_, XInternAtom(display_, indicator, False), True, on, False,
                         nullptr);
    sync();
}

void XClient::clearLocks() {
    const struct {
        const char* indicator;
        KeySym key;
    } kLocks[] = {
        {"Caps Lock", XK_Caps_Lock}, {"Num Lock", XK_Num_Lock}, {"Scroll Lock", XK_Scroll_Lock}};
    for (const auto& lock : kLocks)
        if (indicatorOn(lock.indicator)) toggleLock(lock.key, lock.indicator);
}

}  // namespace test::x11
