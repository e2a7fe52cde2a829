#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

#include "Box.h"
#include "PlatformFixtures.h"
#include "Player.h"

namespace {

constexpr int kKeyO = 0x4F, kKeyK = 0x4B, kKeyP = 0x50;

// A box at the origin watching a player, started like the view starts it.
struct BoxFixture {
    explicit BoxFixture(D3DXVECTOR3 boxAt = {0, 0, 0}, D3DXVECTOR3 scale = {1, 1, 1}) {
        box.Init(nullptr, &boxAt, &scale, nullptr, &player);
        box.Initialize();
    }
    void Watch() {
        box.m_currentState = STATE_Watch;
        box.m_nTimer = 0;
    }
    void Updates(int count) {
        for (int i = 0; i < count; ++i) box.Update();
    }
    test::KeyboardFixture keys;
    CPlayer player;
    Box box;
};

TEST(Box, ConstructionDrawsTheAnchorZThenX) {
    std::srand(1);
    const Box first;
    EXPECT_EQ(-259.0f, first.m_vAnchor.z);  // 41 % 600 - 300
    EXPECT_EQ(167.0f, first.m_vAnchor.x);   // 18467 % 600 - 300
    EXPECT_EQ(0.0f, first.m_vAnchor.y);
    EXPECT_EQ(100.0f, first.m_fHealth);
    EXPECT_LE(first.m_fRadius, -std::sqrt(2.0f));  // out of every contact before its first draw
    EXPECT_TRUE(first.m_bPushable);
    EXPECT_EQ(STATE_Rest, first.m_currentState);
}

TEST(Box, InitPlacesWithoutScaleOrRotation) {
    BoxFixture f({18, 0, 12}, {1, 1, 2});
    EXPECT_EQ(D3DXVECTOR3(18, 0, 12), f.box.m_vPos);
    EXPECT_EQ(D3DXVECTOR3(1, 1, 2), f.box.m_vScale);
    const D3DXMATRIX expected(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 18, 0, 12, 1);
    EXPECT_EQ(expected, f.box.m_matWorld);
}

TEST(Box, WatchRulesByDistanceAndKeys) {
    struct Case {
        int line;
        D3DXVECTOR3 player;
        std::vector<int> held;
        int state;
    };
    const Case kCases[] = {
        {__LINE__, {19.9f, 0, 0.9f}, {kKeyO}, STATE_Scatter},  // D = 19 + 0
        {__LINE__, {20, 0, 0}, {kKeyO}, STATE_Watch},          // D = 20 is not under 20
        {__LINE__, {25, 0, 0}, {kKeyO, kKeyP}, STATE_Watch},   // O held: neither rest nor P
        {__LINE__, {5, 0, 0}, {kKeyO, kKeyK}, STATE_Scatter},  // O is read first
        {__LINE__, {8, 0, 0}, {kKeyK}, STATE_Watch},
        {__LINE__, {7, 0, 0}, {kKeyK}, STATE_Knockback},
        {__LINE__, {-0.9f, 0, 0.9f}, {}, STATE_Rest},         // truncation toward zero: D = 0
        {__LINE__, {29, 0, 0}, {kKeyP}, STATE_Rest},
        {__LINE__, {15, 0, -15}, {kKeyP}, STATE_Gather},       // D = 30, P held
        {__LINE__, {30, 5, 0}, {}, STATE_Watch},               // D = 30, no P; y plays no part
        {__LINE__, {25, 0, 24.99f}, {kKeyP}, STATE_Gather},    // D = 49
        {__LINE__, {50, 0, 0}, {kKeyP}, STATE_Watch},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        BoxFixture f;
        f.player.m_vPos = c.player;
        f.Watch();
        for (int key : c.held) f.keys.hold(key);
        f.box.Update();
        EXPECT_EQ(c.state, f.box.m_currentState);
    }
}

TEST(Box, KeysAreQueriedOnlyAsFarAsTheRulesReach) {
    // A tap between updates is seen only by the first query after it, so a tap still pending
    // after the update shows that the key was not queried.
    struct Case {
        int line;
        float playerX;
        int held;                 // 0 for none
        std::vector<int> tapped;  // a tap counts as held for the query that sees it
        bool kPending, pPending;
    };
    const Case kCases[] = {
        {__LINE__, 40, kKeyO, {kKeyK, kKeyP}, true, true},  // O held: neither K nor P
        {__LINE__, 40, 0, {kKeyK, kKeyP}, false, true},     // K seen and held: P not read
        {__LINE__, 40, 0, {kKeyP}, false, false},           // D of 30 or more reads P
        {__LINE__, 10, 0, {kKeyP}, false, true},            // D under 30 rests without P
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        BoxFixture f;
        f.player.m_vPos = {c.playerX, 0, 0};
        f.Watch();
        if (c.held) f.keys.hold(c.held);
        for (int key : c.tapped) f.keys.feed({test::Down(key), test::Up(key)});
        f.box.Update();
        EXPECT_EQ(c.kPending, GetAsyncKeyState(kKeyK) != 0);
        EXPECT_EQ(c.pPending, GetAsyncKeyState(kKeyP) != 0);
    }
}

TEST(Box, RestsTenUpdatesThenWatches) {
    BoxFixture f;
    f.player.m_vPos = {100, 0, 0};
    f.Updates(10);
    EXPECT_EQ(STATE_Rest, f.box.m_currentState);
    EXPECT_EQ(10u, f.box.m_nTimer);
    f.box.Update();
    EXPECT_EQ(STATE_Watch, f.box.m_currentState);
    EXPECT_EQ(0u, f.box.m_nTimer);  // the watch state's enter
}

TEST(Box, WandersOnThe701stWatchUpdateWhateverTheKeys) {
    BoxFixture f;
    f.player.m_vPos = {100, 0, 0};
    f.Watch();
    f.Updates(700);
    EXPECT_EQ(STATE_Watch, f.box.m_currentState);
    f.keys.hold(kKeyO);
    f.player.m_vPos = {1, 0, 0};
    f.box.Update();
    EXPECT_EQ(STATE_Wander, f.box.m_currentState);
}

TEST(Box, MovingStatesStepOnEachOfTheir201UpdatesThenRest) {
    struct Case {
        int line;
        int state;
        float step;  // straight away from a fixed reference: the player or the anchor
    };
    const Case kCases[] = {
        {__LINE__, STATE_Scatter, 0.05f},
        {__LINE__, STATE_Knockback, 0.2f},
        {__LINE__, STATE_Wander, 0.01f},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        const D3DXVECTOR3 start(5, 0, 0);
        BoxFixture f(start);
        f.box.SetState(c.state);
        f.box.Update();  // rest's update, then the change: no step yet
        ASSERT_EQ(c.state, f.box.m_currentState);
        ASSERT_EQ(start, f.box.m_vPos);
        f.Updates(200);
        EXPECT_EQ(c.state, f.box.m_currentState);
        f.box.Update();
        EXPECT_EQ(STATE_Rest, f.box.m_currentState);
        const D3DXVECTOR3 travelled = f.box.m_vPos - start;
        EXPECT_NEAR(201 * c.step, D3DXVec3Length(&travelled), 1e-3f);
    }
}

TEST(Box, GatherOscillatesAroundThePlayerInsteadOfPassingIt) {
    BoxFixture f({5, 0, 0});
    f.box.SetState(STATE_Gather);
    f.Updates(202);
    EXPECT_LT(std::fabs(f.box.m_vPos.x), 0.1f);
}

TEST(Box, FaceAndStepTurnsLocalZAwayFromTheReference) {
    struct Case {
        int line;
        D3DXVECTOR3 box, reference;
        float step;
        D3DXVECTOR3 position, dir;
        float sinTheta;  // _31 of the rotation about y
    };
    const Case kCases[] = {
        // Reference at greater x than the new position: negative angle.
        {__LINE__, {0, 0, 0}, {1, 0, 0}, 1, {-1, 0, 0}, {-1, 0, 0}, -1},
        // Equal x: positive angle (pi), facing -z.
        {__LINE__, {0, 0, 0}, {0, 0, 1}, 1, {0, 0, -1}, {0, 0, -1}, 0},
        // A negative step moves toward the reference and still faces away from it.
        {__LINE__, {-4, 0, 0}, {0, 0, 0}, -1, {-3, 0, 0}, {-1, 0, 0}, -1},
        // Exactly at the reference: no move, turned by +pi/2.
        {__LINE__, {2, 0, 2}, {2, 0, 2}, 1, {2, 0, 2}, {0, 0, 0}, 1},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        BoxFixture f(c.box);
        f.player.m_vPos = c.reference;
        f.box.MoveFromTarget(c.step);
        EXPECT_EQ(c.position, f.box.m_vPos);
        EXPECT_NEAR(c.dir.x, f.box.m_vDir.x, 1e-6f);
        EXPECT_NEAR(c.dir.z, f.box.m_vDir.z, 1e-6f);
        EXPECT_NEAR(c.sinTheta, f.box.m_matWorld._31, 1e-6f);
        EXPECT_EQ(c.position.x, f.box.m_matWorld._41);
        EXPECT_EQ(c.position.z, f.box.m_matWorld._43);
        EXPECT_EQ(1.0f, f.box.m_matWorld._22);  // no scale in the world matrix
    }
}

TEST(Box, MoveFromBoxAndAnchorUseTheirReferencePositions) {
    BoxFixture f({0, 0, 0});
    Box other;
    other.m_vPos = {0, 0, 2};
    f.box.MoveFromBox(0.1f, other);
    EXPECT_NEAR(-0.1f, f.box.m_vPos.z, 1e-6f);
    f.box.m_vAnchor = {10, 0, -0.1f};
    f.box.MoveFromAnchor(0.5f);
    EXPECT_NEAR(-0.5f, f.box.m_vPos.x, 1e-6f);
}

TEST(Box, StrafeShowsTheScaleAndMovesAlongTheSideOfTheHeading) {
    BoxFixture f({4, 0, 0}, {3, 2, 5});
    f.box.Strafe(0.5f);  // no heading yet: no move, but the scale applies
    EXPECT_EQ(D3DXVECTOR3(4, 0, 0), f.box.m_vPos);
    EXPECT_EQ(D3DXMATRIX(3, 0, 0, 0, 0, 2, 0, 0, 0, 0, 5, 0, 4, 1, 0, 1), f.box.m_matWorld);

    f.box.MoveFromTarget(0.0f);  // heading +x, away from the player at the origin
    f.box.Strafe(2.0f);          // side of +x is (0, 1, 0) x (1, 0, 0) = (0, 0, -1)
    EXPECT_NEAR(-2.0f, f.box.m_vPos.z, 1e-6f);
}

TEST(Box, MoveAlongUpSinksOnlyAfterASteeringMove) {
    BoxFixture f({5, 0, 0});
    f.box.MoveAlongUp(-0.01f);
    EXPECT_EQ(0.0f, f.box.m_vPos.y);
    f.box.MoveFromTarget(0.0f);
    f.box.MoveAlongUp(-0.01f);
    EXPECT_NEAR(-0.01f, f.box.m_vPos.y, 1e-7f);
    EXPECT_EQ(D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, f.box.m_vPos.y, 0, 1),
              f.box.m_matWorld);
}

TEST(Box, SinkAndDeadInvertPushableAndDeadIsFinal) {
    BoxFixture f;
    f.box.m_fHealth = 0.0f;
    f.Watch();
    f.box.Update();
    ASSERT_EQ(STATE_Sink, f.box.m_currentState);
    EXPECT_FALSE(f.box.m_bPushable);
    f.Updates(400);
    EXPECT_EQ(STATE_Sink, f.box.m_currentState);
    f.box.Update();
    EXPECT_EQ(STATE_Dead, f.box.m_currentState);
    EXPECT_EQ(TRUE, f.box.m_bPushable);
    EXPECT_FALSE(f.box.States(EVENT_Update, nullptr, STATE_Dead));
    EXPECT_FALSE(f.box.States(EVENT_Exit, nullptr, STATE_Dead));
}

TEST(Box, UnknownStatesAssertAndNegativeStatesAreSilent) {
    test::AssertCapture capture;
    BoxFixture f;
    EXPECT_FALSE(f.box.States(EVENT_Update, nullptr, -3));
    EXPECT_TRUE(capture.reports.empty());
    EXPECT_FALSE(f.box.States(EVENT_Enter, nullptr, 8));
    ASSERT_EQ(1u, capture.reports.size());
    EXPECT_EQ("0", capture.reports[0].expression);
    EXPECT_NE(std::string::npos, capture.reports[0].file.find("Box"));
    EXPECT_FALSE(f.box.States(2, nullptr, STATE_Rest));  // no event 2
}

}  // namespace
