// The contact steps of the running frame: the player pushes a box whose last-drawn sphere
// overlaps its own, overlapping boxes push each other apart, and the first frame, before any box
// has been drawn, finds no contact at all. Spheres have the radius sqrt(2): contact below 2.83.
#include <ostream>
#include <string>

#include "SceneFixture.h"

namespace test {
namespace {

TEST_F(SceneTest, TheFirstFrameMovesNoBoxHoweverClose) {
    placeBoxesAway();
    const D3DXVECTOR3 nearPlayer(0.0f, 0.0f, 1.0f), nearBox(0.5f, 0.0f, 1.0f);
    placeBox(0, nearPlayer);
    placeBox(1, nearBox);
    const DWORD start = settle();
    EXPECT_TRUE(VectorsNear(nearPlayer, box(0).m_vPos, 0.0f));
    EXPECT_TRUE(VectorsNear(nearBox, box(1).m_vPos, 0.0f));

    frameAt(start + 10);
    EXPECT_FALSE(VectorsNear(nearPlayer, box(0).m_vPos, 0.05f));
    EXPECT_FALSE(VectorsNear(nearBox, box(1).m_vPos, 0.05f));
}

struct PlayerContactCase {
    std::string name;
    D3DXVECTOR3 at;     // the player stands at the origin
    bool pushable;
    D3DXVECTOR3 after;  // the box's position after its second frame
};

void PrintTo(const PlayerContactCase& c, std::ostream* out) { *out << c.name; }

class PlayerContactTest : public SceneTest,
                          public ::testing::WithParamInterface<PlayerContactCase> {};

TEST_P(PlayerContactTest, ABoxMovesAwayFromThePlayerWhileTheirSpheresOverlap) {
    const PlayerContactCase& c = GetParam();
    placeBoxesAway();
    placeBox(0, c.at);
    box(0).m_bPushable = c.pushable;
    settle();  // draws the box and with it its sphere
    settle();
    EXPECT_TRUE(VectorsNear(c.after, box(0).m_vPos, 1e-5f));
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, PlayerContactTest,
    ::testing::Values(
        PlayerContactCase{"TwoAlongX", {2.0f, 0.0f, 0.0f}, true, {2.1f, 0.0f, 0.0f}},
        PlayerContactCase{"TwoBehind", {0.0f, 0.0f, -2.0f}, true, {0.0f, 0.0f, -2.1f}},
        PlayerContactCase{"TwoDiagonal", {1.2f, 0.0f, 1.6f}, true, {1.26f, 0.0f, 1.68f}},
        PlayerContactCase{"Three", {3.0f, 0.0f, 0.0f}, true, {3.0f, 0.0f, 0.0f}},
        PlayerContactCase{"NotPushable", {2.0f, 0.0f, 0.0f}, false, {2.0f, 0.0f, 0.0f}},
        PlayerContactCase{"OnThePlayer", {0.0f, 0.0f, 0.0f}, true, {0.0f, 0.0f, 0.0f}}),
    [](const ::testing::TestParamInfo<PlayerContactCase>& info) { return info.param.name; });

struct BoxPairCase {
    std::string name;
    float apart;
    float step;  // how far each moves away from the other in the second frame
};

void PrintTo(const BoxPairCase& c, std::ostream* out) { *out << c.name; }

class BoxPairTest : public SceneTest, public ::testing::WithParamInterface<BoxPairCase> {};

// Boxes 4 and 7, far from the player: 7 moves away from 4, then 4 away from 7's new position,
// which lies on the same line, so each ends one step further out.
TEST_P(BoxPairTest, OverlappingBoxesBothMoveApart) {
    const BoxPairCase& c = GetParam();
    const D3DXVECTOR3 lower(40.0f, 0.0f, 40.0f), line(0.6f, 0.0f, 0.8f);
    const D3DXVECTOR3 higher = lower + line * c.apart;
    placeBoxesAway();
    placeBox(4, lower);
    placeBox(7, higher);
    settle();
    settle();
    EXPECT_TRUE(VectorsNear(lower - line * c.step, box(4).m_vPos, 1e-5f));
    EXPECT_TRUE(VectorsNear(higher + line * c.step, box(7).m_vPos, 1e-5f));
}

INSTANTIATE_TEST_SUITE_P(Pairs, BoxPairTest,
                         ::testing::Values(BoxPairCase{"TwoApart", 2.0f, 0.1f},
                                           BoxPairCase{"ThreeApart", 3.0f, 0.0f},
                                           BoxPairCase{"SamePlace", 0.0f, 0.0f}),
                         [](const ::testing::TestParamInfo<BoxPairCase>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace test
