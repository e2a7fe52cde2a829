// O, K and P held while the program runs: a watching box within the key's grid distance of the
// player scatters, is knocked back or gathers, and steps on every frame from then on; boxes just
// outside the distance go on resting and watching where they stand.
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "SceneFixture.h"

namespace test {
namespace {

// Boxes at grid distances from the player at the origin, on both sides of each key's limits,
// and far enough from each other for no contact.
struct Placed {
    int distance;
    D3DXVECTOR3 at;
};
const std::vector<Placed> kPlaced = {
    {5, {0.0f, 0.0f, 5.0f}},      {7, {7.0f, 0.0f, 0.0f}},      {8, {-8.0f, 0.0f, 0.0f}},
    {19, {0.0f, 0.0f, -19.0f}},   {20, {10.0f, 0.0f, 10.0f}},   {29, {-15.0f, 0.0f, 14.0f}},
    {30, {15.0f, 0.0f, -15.0f}},  {49, {-25.0f, 0.0f, -24.0f}}, {50, {25.0f, 0.0f, 25.0f}},
};

struct ReactionCase {
    std::string name;
    int key;
    int nearest, farthest;  // the grid distances that react: nearest <= d < farthest
    int state;
    float step;  // per frame, away from the player; negative: toward it
};

void PrintTo(const ReactionCase& c, std::ostream* out) { *out << c.name; }

class ReactionTest : public SceneTest, public ::testing::WithParamInterface<ReactionCase> {};

float DistanceFromOrigin(const D3DXVECTOR3& v) { return std::sqrt(v.x * v.x + v.z * v.z); }

TEST_P(ReactionTest, BoxesWithinTheKeysDistanceReactAndTheOthersStay) {
    const ReactionCase& c = GetParam();
    placeBoxesAway();
    for (std::size_t i = 0; i < kPlaced.size(); ++i) placeBox(static_cast<int>(i), kPlaced[i].at);

    keys.hold(c.key);
    // Eleven frames of rest, one of watching that sees the key, then the reaction's first step.
    const DWORD last = framesAfter(settle(), 13, 10);
    std::vector<D3DXVECTOR3> before;
    for (std::size_t i = 0; i < kPlaced.size(); ++i) before.push_back(box(int(i)).m_vPos);
    frameAt(last + 10);

    for (std::size_t i = 0; i < kPlaced.size(); ++i) {
        const Placed& p = kPlaced[i];
        const Box& b = box(static_cast<int>(i));
        SCOPED_TRACE(::testing::Message() << "box at grid distance " << p.distance);
        if (p.distance >= c.nearest && p.distance < c.farthest) {
            EXPECT_EQ(b.m_currentState, c.state);
            EXPECT_NEAR(DistanceFromOrigin(b.m_vPos) - DistanceFromOrigin(before[i]), c.step,
                        1e-4f);
        } else {
            EXPECT_TRUE(b.m_currentState == STATE_Rest || b.m_currentState == STATE_Watch)
                << "state " << b.m_currentState;
            EXPECT_TRUE(VectorsNear(p.at, b.m_vPos, 0.0f));
        }
    }
    EXPECT_TRUE(VectorsNear(D3DXVECTOR3(0.0f, 0.0f, 0.0f), player().m_vPos, 0.0f))
        << "O, K and P do not move the player";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ReactionTest,
    ::testing::Values(ReactionCase{"OScatters", 0x4F, 0, 20, STATE_Scatter, 0.05f},
                      ReactionCase{"KKnocksBack", 0x4B, 0, 8, STATE_Knockback, 0.2f},
                      ReactionCase{"PGathers", 0x50, 30, 50, STATE_Gather, -0.05f}),
    [](const ::testing::TestParamInfo<ReactionCase>& info) { return info.param.name; });

TEST_F(SceneTest, WithoutAKeyNoBoxNearThePlayerMoves) {
    placeBoxesAway();
    for (std::size_t i = 0; i < kPlaced.size(); ++i) placeBox(static_cast<int>(i), kPlaced[i].at);
    framesAfter(settle(), 40, 10);
    for (std::size_t i = 0; i < kPlaced.size(); ++i)
        EXPECT_TRUE(VectorsNear(kPlaced[i].at, box(static_cast<int>(i)).m_vPos, 0.0f))
            << "box at grid distance " << kPlaced[i].distance;
}

}  // namespace
}  // namespace test
