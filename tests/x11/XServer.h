// XServer.h: a private X server for the suite. The first call of XServer::get() starts Xvfb on a
// display no one uses (the server picks it) and points DISPLAY at it and Qt at its xcb platform,
// so every QApplication made afterwards in the process runs there. The server lives until the
// process ends. Without Xvfb, or when it fails to start, get() returns null and failure() says
// why: the tests then skip with that text. The server and the window manager end with the
// process (they are never stopped before: Qt's connection to them stays open until exit).
#pragma once

#include <string>

namespace test::x11 {

class XServer {
public:
    // The process's server, started on first use with a screen of this size (later calls'
    // sizes are ignored); null when none could start. The default screen holds a 1920x1080
    // client area with its frame and bars.
    static XServer* get(int screenWidth = 2560, int screenHeight = 1600);
    static const std::string& failure();

    const std::string& display() const noexcept { return display_; }  // such as ":3"
    int pid() const noexcept { return server_; }

    // Starts openbox on the display, once, and waits until it manages windows; windows mapped
    // before it came are taken over by it. False, with failure() set, when it cannot start.
    bool startWindowManager();
    bool hasWindowManager() const noexcept { return windowManager_ > 0; }

private:
    XServer() = default;
    bool start(int screenWidth, int screenHeight);

    std::string display_;
    int server_ = 0;  // process ids
    int windowManager_ = 0;
};

}  // namespace test::x11
