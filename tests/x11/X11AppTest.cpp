#include "X11AppTest.h"

#include <chrono>
#include <thread>

#include <QApplication>
#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include "mfc/WindowHost.h"
#include "win32/Backend.h"

namespace test::x11 {
namespace {

// Readings stay clear of 0 and below 2^24 ms, where the loop's float holds each millisecond, and
// grow across the hosts of one process: the loop keeps its last poll's time in a static.
DWORD g_nextReading = 1'000'000;

}  // namespace

void X11AppTest::SetUp() {
    XServer* server = XServer::get();
    if (!server) GTEST_SKIP() << "no X server: " << XServer::failure();
    if (wantsWindowManager() && !server->startWindowManager())
        GTEST_SKIP() << "no window manager: " << XServer::failure();
    client_ = std::make_unique<XClient>();
    ASSERT_TRUE(client_->ok()) << client_->error();
    client_->clearLocks();
    beforeStart();

    clock = g_nextReading;
    platform::win32::setMillisecondClock([this] { return clock; });
    host_.emplace();
    ASSERT_TRUE(host_->started());
    ASSERT_NE(nullptr, QGuiApplication::platformName() == "xcb" ? appDisplay() : nullptr)
        << "Qt is not on the xcb platform";
    marker_ = std::make_unique<SettleMarker>(appConnection());
    QWidget* top = frameWidget();
    ASSERT_TRUE(waitFor([&] { return top->windowHandle() && top->windowHandle()->isExposed(); }))
        << "the frame window was never exposed";
    ASSERT_TRUE(focusProgram()) << "the view never got the keyboard focus";
    step();
}

void X11AppTest::TearDown() {
    if (host_) {
        // The server's keys and buttons stay as the test left them: let none stay down for
        // the next test.
        if (client_) {
            client_->releaseAllKeys();
            client_->releaseAllButtons();
        }
        if (marker_) settle();
        marker_.reset();
        host_.reset();
    }
    g_nextReading = clock + 1000;
    platform::win32::setMillisecondClock({});
    client_.reset();
}

QWidget* X11AppTest::frameWidget() const {
    return platform::mfc::widgetOf(&frame());
}

QWidget* X11AppTest::viewWidget() const {
    return platform::mfc::widgetOf(&view());
}

Display* X11AppTest::appDisplay() const {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

xcb_connection_t* X11AppTest::appConnection() const {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

QPoint X11AppTest::viewPoint(QPoint offset) const {
    const QWidget* widget = viewWidget();
    return widget->mapToGlobal(widget->rect().center() + offset);
}

void X11AppTest::pump() {
    host_->pump();
    xcb_flush(appConnection());
}

void X11AppTest::step(int count) {
    for (int i = 0; i < count; ++i) {
        pump();
        clock += kPollGap;
        host_->idle(1);
    }
}

bool X11AppTest::waitFor(const std::function<bool()>& condition, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pump();
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

bool X11AppTest::focusProgram() {
    // The test's client sets the focus: the server ignores the program's own request when it
    // carries a time before the test's last focus change.
    client_->focus(frameWidget()->winId());
    return waitFor([&] { return QApplication::focusWidget() == viewWidget(); });
}

void X11AppTest::settle() {
    // The program's round trip: what it asked of the server so far is done.
    XClient::sync(appDisplay());
    const std::uint32_t sent = marker_->send(*client_);
    EXPECT_TRUE(waitFor([&] { return marker_->seen(sent); }))
        << "the program never took the events sent to it from Qt's queue";
    // Qt hands on the window system's events it made of those ahead of the marker.
    pump();
}

}  // namespace test::x11
