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

// A key map reader that the test sets key by key and that counts its reads.
constexpr int kUnknownKey = 0x70;

class KeyMapFixture {
public:
    // The reader knows every key but F1 (0x70), which only the fed state knows.
    KeyMapFixture() {
        platform::win32::setKeyMapReader(
            {[this](platform::win32::KeyBits& down) {
                 ++reads;
                 down = map;
                 return readable;
             },
             [this](bool) { ++requests; }},
            platform::win32::KeyBits().set().reset(kUnknownKey));
    }
    ~KeyMapFixture() { platform::win32::setKeyMapReader({}); }
    platform::win32::KeyBits map;
    bool readable = true;
    int reads = 0;
    int requests = 0;
};

TEST(GetAsyncKeyState, KeyMapIsTheTruthForDownAndIsReadOncePerFrame) {
    KeyboardFixture keys;
    KeyMapFixture keyMap;
    keyMap.map.set('E');
    keys.feed({Down('Q'), Down(kUnknownKey)});  // releases that went to another window
    EXPECT_EQ(0x8001, static_cast<uint16_t>(GetAsyncKeyState(kUnknownKey)));
    EXPECT_EQ(0x8000, static_cast<uint16_t>(GetAsyncKeyState('E')));  // held from the start
    EXPECT_EQ(0x0001, static_cast<uint16_t>(GetAsyncKeyState('Q')));  // its press still counts
    EXPECT_EQ(0x0000, static_cast<uint16_t>(GetAsyncKeyState('Q')));
    EXPECT_EQ(1, keyMap.reads) << "one read for the whole frame";

    keyMap.map.reset('E');
    EXPECT_EQ(0x8000, static_cast<uint16_t>(GetAsyncKeyState('E'))) << "until the frame ends";
    platform::win32::expireKeyMap(false);
    EXPECT_EQ(1, keyMap.requests) << "asked for ahead as the frame starts";
    EXPECT_EQ(0x0000, static_cast<uint16_t>(GetAsyncKeyState('E')));
    EXPECT_EQ(2, keyMap.reads);
}

TEST(GetAsyncKeyState, KeyMapTransitionsCountAsPressesOfEachKey) {
    KeyboardFixture keys;
    KeyMapFixture keyMap;
    GetAsyncKeyState('W');  // the first read: nothing down
    keyMap.map.set('W');
    keyMap.map.set('S');
    platform::win32::expireKeyMap(false);
    EXPECT_EQ(0x8001, static_cast<uint16_t>(GetAsyncKeyState('W')));  // went down in another window
    keyMap.map.reset('S');
    platform::win32::expireKeyMap(false);
    EXPECT_EQ(0x8000, static_cast<uint16_t>(GetAsyncKeyState('W')));
    EXPECT_EQ(0x0001, static_cast<uint16_t>(GetAsyncKeyState('S')))
        << "down at one read, up at the next, queried only now: pressed once";
    EXPECT_EQ(0x0000, static_cast<uint16_t>(GetAsyncKeyState('S')));

    keyMap.readable = false;
    keyMap.map.reset();
    platform::win32::expireKeyMap(false);
    EXPECT_EQ(0x8000, static_cast<uint16_t>(GetAsyncKeyState('W')))
        << "a failed read keeps the last";
}

TEST(GetAsyncKeyState, ReleaseAllKeysKeepsPressesNotYetQueried) {
    KeyboardFixture keys;
    keys.feed({Down('W'), Down('A')});
    EXPECT_EQ(0x8001, static_cast<uint16_t>(GetAsyncKeyState('W')));
    platform::win32::releaseAllKeys();
    EXPECT_EQ(0x0000, static_cast<uint16_t>(GetAsyncKeyState('W')));
    EXPECT_EQ(0x0001, static_cast<uint16_t>(GetAsyncKeyState('A')));
}

TEST(GetAsyncKeyState, OutOfRangeCodesAreNeverHeld) {
    KeyboardFixture keys;
    keys.feed({Down(-1), Down(256)});
    EXPECT_EQ(0, GetAsyncKeyState(-1));
    EXPECT_EQ(0, GetAsyncKeyState(256));
}

}  // namespace
