// PlatformFixtures.h: scoped test hooks into the win32 layer. Each restores the default when it
// goes, so one test's keys, reports or boxes never leak into the next.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "win32/Backend.h"
#include "win32/KeyState.h"

namespace test {

struct KeyEvent {
    bool down;
    int virtualKey;
};
inline KeyEvent Down(int virtualKey) { return {true, virtualKey}; }
inline KeyEvent Up(int virtualKey) { return {false, virtualKey}; }

class KeyboardFixture {
public:
    KeyboardFixture() { platform::win32::resetKeyState(); }
    ~KeyboardFixture() { platform::win32::resetKeyState(); }
    void feed(const std::vector<KeyEvent>& events) {
        for (const KeyEvent& e : events) {
            if (e.down) {
                platform::win32::pressKey(e.virtualKey);
            } else {
                platform::win32::releaseKey(e.virtualKey);
            }
        }
    }
    // Holds the key down until released.
    void hold(int virtualKey) { platform::win32::pressKey(virtualKey); }
    void release(int virtualKey) { platform::win32::releaseKey(virtualKey); }
};

struct AssertReport {
    std::string expression;
    std::string file;
    unsigned line;
};

class AssertCapture {
public:
    AssertCapture() {
        platform::win32::setAssertHandler(
            [this](const char* expression, const char* file, unsigned line) {
                reports.push_back({expression, file, line});
            });
    }
    ~AssertCapture() { platform::win32::setAssertHandler({}); }
    std::vector<AssertReport> reports;
};

struct MessageBoxShown {
    HWND owner;
    std::string text;  // "(null)" for a null text
    std::string caption;
    UINT type;
};

class MessageBoxCapture {
public:
    MessageBoxCapture() {
        platform::win32::setMessageBoxPresenter(
            [this](HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
                shown.push_back({owner, text ? text : "(null)", caption ? caption : "(null)", type});
                return IDOK;
            });
    }
    ~MessageBoxCapture() { platform::win32::setMessageBoxPresenter({}); }
    std::vector<MessageBoxShown> shown;
};

}  // namespace test
