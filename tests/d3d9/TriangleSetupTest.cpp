// Set-up of runs of triangles against set-up of each alone: the same triangles kept, in their
// order, with the same edges, box and planes bit for bit, however a run is cut.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "d3d9/TriangleSetup.h"

namespace test {
namespace {

using namespace platform::d3d9;

struct Corners {
    ScreenVertex v[3];
};

ScreenVertex corner(float x, float y, float z = 0.5f) {
    return {x, y, z, 1.0f / (1 + z), 0.3f * x, -0.2f * y};
}

// Each kind of triangle a run holds, in both windings.
std::vector<Corners> triangles() {
    const Corners kinds[] = {
        {{corner(1, 1), corner(9, 2), corner(3, 8)}},                    // a few pixels
        {{corner(2.5f, 1), corner(6.5f, 1), corner(2.5f, 5)}},           // edges on pixel centres
        {{corner(1, 1), corner(5, 5), corner(9, 9)}},                    // no area
        {{corner(3, 3), corner(3, 3), corner(7, 1)}},                    // two corners alike
        {{corner(4.1f, 4.1f), corner(4.6f, 4.2f), corner(4.3f, 4.7f)}},  // between centres
        {{corner(-30, -30), corner(-20, -30), corner(-25, -20)}},        // off the scissor
        {{corner(-28000, -2000), corner(36000, -1000), corner(100, 30000)}},  // guard band
        {{corner(100000, 2), corner(-1, 3), corner(5, 9)}},                // past the lanes' range
        {{corner(0, 0, 0.1f), corner(60, 2, 0.9f), corner(7, 40, 0.4f)}},  // over the scissor
    };
    std::vector<Corners> out;
    for (const Corners& k : kinds) {
        out.push_back(k);
        out.push_back({{k.v[0], k.v[2], k.v[1]}});
    }
    return out;
}

TEST(TriangleSetup, RunsKeepWhatEachTriangleAloneKeeps) {
    const std::vector<Corners> all = triangles();
    std::vector<const ScreenVertex*> corners;
    for (const Corners& t : all) {
        for (const ScreenVertex& v : t.v) corners.push_back(&v);
    }
    const Scissor scissor{0, 0, 40, 30};
    for (Cull cull : {Cull::None, Cull::Clockwise, Cull::CounterClockwise}) {
        std::vector<Triangle> alone;
        for (const Corners& t : all) {
            Triangle out;
            if (setupTriangle(t.v[0], t.v[1], t.v[2], cull, scissor, out)) alone.push_back(out);
        }
        ASSERT_GT(alone.size(), 2u);
        // Every run length, so each kind meets the others in every lane of a group.
        for (std::size_t length = 1; length <= all.size(); ++length) {
            SCOPED_TRACE(testing::Message()
                         << "cull " << static_cast<int>(cull) << " length " << length);
            std::vector<Triangle> runs(all.size());
            std::size_t kept = 0;
            for (std::size_t first = 0; first < all.size(); first += length) {
                const std::size_t count = std::min(length, all.size() - first);
                kept += setupTriangles(corners.data() + 3 * first, count, cull, scissor,
                                       runs.data() + kept);
            }
            ASSERT_EQ(alone.size(), kept);
            for (std::size_t i = 0; i < kept; ++i) {
                EXPECT_EQ(0, std::memcmp(&alone[i], &runs[i], sizeof(Triangle))) << i;
            }
        }
    }
}

}  // namespace
}  // namespace test
