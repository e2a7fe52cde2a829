#include "XServer.h"

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>

namespace test::x11 {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kStartTimeout = std::chrono::seconds(10);

std::string& failureText() {
    static std::string text;
    return text;
}

// Runs argv in a child that dies with this process; output other than `keepFd` goes nowhere.
int spawn(const char* const* argv, int keepFd) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    for (int fd = 3; fd < 256; ++fd)
        if (fd != keepFd) close(fd);
    execvp(argv[0], const_cast<char* const*>(argv));
    _exit(127);
}

void stop(int pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

bool exited(int pid) {
    return waitpid(pid, nullptr, WNOHANG) == pid;
}

// A window manager that runs has taken the window into a frame of its own. Its name on the root
// window comes earlier, while it still sets up: a window mapped then may never be shown.
bool managed(Display* display, Window window) {
    Window root, parent;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return false;
    if (children) XFree(children);
    return parent != root;
}

}  // namespace

XServer* XServer::get(int screenWidth, int screenHeight) {
    static XServer* const server = [&] {
        auto s = std::unique_ptr<XServer>(new XServer);
        return s->start(screenWidth, screenHeight) ? s.release() : nullptr;
    }();
    return server;
}

const std::string& XServer::failure() {
    return failureText();
}

bool XServer::start(int screenWidth, int screenHeight) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        failureText() = "no pipe for Xvfb's display number";
        return false;
    }
    const std::string fd = std::to_string(pipeFds[1]);
    const std::string screen =
        std::to_string(screenWidth) + 'x' + std::to_string(screenHeight) + "x24";
    const char* argv[] = {"Xvfb",         "-displayfd", fd.c_str(), "-screen",  "0",
                          screen.c_str(), "-nolisten",  "tcp",      "-noreset", nullptr};
    server_ = spawn(argv, pipeFds[1]);
    close(pipeFds[1]);
    std::string number;
    pollfd wait{pipeFds[0], POLLIN, 0};
    const auto deadline = Clock::now() + kStartTimeout;
    while (Clock::now() < deadline && number.find('\n') == std::string::npos) {
        if (poll(&wait, 1, 100) <= 0) continue;
        char buffer[16];
        const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
        if (got <= 0) break;
        number.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeFds[0]);
    if (server_ < 0 || number.find('\n') == std::string::npos) {
        failureText() = "Xvfb did not start (is the xvfb package installed?)";
        stop(server_);
        server_ = 0;
        return false;
    }
    display_ = std::to_string(std::atoi(number.c_str()));
    display_.insert(0, 1, ':');
    setenv("DISPLAY", display_.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    unsetenv("WAYLAND_DISPLAY");
    return true;
}

bool XServer::startWindowManager() {
    if (windowManager_ > 0) return true;
    Display* display = XOpenDisplay(display_.c_str());
    if (!display) {
        failureText() = "cannot connect to Xvfb on " + display_;
        return false;
    }
    const char* argv[] = {"openbox", "--sm-disable", nullptr};
    windowManager_ = spawn(argv, -1);
    const Window probe =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(display, probe);
    XSync(display, False);
    const auto deadline = Clock::now() + kStartTimeout;
    bool running = false;
    while (windowManager_ > 0 && !exited(windowManager_) && Clock::now() < deadline &&
           !(running = managed(display, probe)))
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    XDestroyWindow(display, probe);
    XCloseDisplay(display);
    if (!running) {
        failureText() = "openbox did not start (is the openbox package installed?)";
        stop(windowManager_);
        windowManager_ = 0;
    }
    return running;
}

}  // namespace test::x11
