#include <gtest/gtest.h>

#include <windows.h>

#include "PlatformFixtures.h"

namespace {

using test::Down;
using test::KeyboardFixture;
using test::Up;

TEST(GetAsyncKeyState, ReportsDownAndPressedSinceLastQuery) {
    struct Case {
        int line;
        std::vector<test::KeyEvent> events;
        uint16_t bits;
    };
    const Case kCases[] = {
        {__LINE__, {}, 0x0000},                              // never touched
        {__LINE__, {Down('1')}, 0x8001},                     // held, pressed since last query
        {__LINE__, {Down('1'), Up('1')}, 0x0001},            // tapped between queries
        {__LINE__, {Down(VK_NUMPAD1)}, 0x0000},              // the keypad's 1 is another key
        {__LINE__, {Down('1'), Up('1'), Down('1')}, 0x8001}, // pressed twice: one bit
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        KeyboardFixture keys;
        keys.feed(c.events);
        EXPECT_EQ(c.bits, static_cast<uint16_t>(GetAsyncKeyState('1')));
    }
}

TEST(GetAsyncKeyState, QueryClearsOnlyThePressedBitOfThatKey) {
    KeyboardFixture keys;
    keys.feed({Down('W'), Down('S'), Up('S')});
    EXPECT_EQ(0x8001, static_cast<uint16_t>(GetAsyncKeyState('W')));
    EXPECT_EQ(0x8000, static_cast<uint16_t>(GetAsyncKeyState('W')));  // still held
    EXPECT_EQ(0x0001, static_cast<uint16_t>(GetAsyncKeyState('S')));  // its own bit untouched
    EXPECT_EQ(0x0000, static_cast<uint16_t>(GetAsyncKeyState('S')));
}

TEST(GetAsyncKeyState, OutsideSourceCountsAsDown) {
    KeyboardFixture keys;
    platform::win32::setKeyDownSource([](int vk) { return vk == 'E'; });
    EXPECT_EQ(0x8000, static_cast<uint16_t>(GetAsyncKeyState('E')));
    EXPECT_EQ(0x0000, static_cast<uint16_t>(GetAsyncKeyState('Q')));
    platform::win32::setKeyDownSource({});
    EXPECT_EQ(0x0000, static_cast<uint16_t>(GetAsyncKeyState('E')));
}

TEST(GetAsyncKeyState, OutOfRangeCodesAreNeverHeld) {
    KeyboardFixture keys;
    keys.feed({Down(-1), Down(256)});
    EXPECT_EQ(0, GetAsyncKeyState(-1));
    EXPECT_EQ(0, GetAsyncKeyState(256));
}

}  // namespace
