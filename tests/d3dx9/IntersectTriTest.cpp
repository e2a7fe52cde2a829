#include <gtest/gtest.h>

#include <d3dx9math.h>

namespace {

// A ground triangle at y = -1 with corners p0, p1 = p0 + x, p2 = p0 - z.
const D3DXVECTOR3 kP0(0.0f, -1.0f, 0.0f), kP1(2.0f, -1.0f, 0.0f), kP2(0.0f, -1.0f, -2.0f);

TEST(IntersectTri, HitsFromEitherSideWithWeightsAndDistance) {
    struct Case {
        int line;
        D3DXVECTOR3 origin, dir;
        BOOL hit;
        float u, v, dist;
    };
    const Case kCases[] = {
        {__LINE__, {0.5f, 4.0f, -1.0f}, {0, -1, 0}, TRUE, 0.25f, 0.5f, 5.0f},   // from above
        {__LINE__, {0.5f, -3.0f, -1.0f}, {0, 1, 0}, TRUE, 0.25f, 0.5f, 2.0f},   // from below
        {__LINE__, {0.5f, 4.0f, -1.0f}, {0, -2, 0}, TRUE, 0.25f, 0.5f, 2.5f},   // units of |dir|
        {__LINE__, {0.5f, 4.0f, -1.0f}, {0, 1, 0}, FALSE, 0, 0, 0},             // points away
        {__LINE__, {0.5f, -1.0f, 5.0f}, {0, 0, -1}, FALSE, 0, 0, 0},            // parallel
        {__LINE__, {1.5f, 4.0f, -1.5f}, {0, -1, 0}, FALSE, 0, 0, 0},            // outside
        {__LINE__, {0.5f, -1.0f, -1.0f}, {0, -1, 0}, TRUE, 0.25f, 0.5f, 0.0f},  // starts on it
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        float u = -1, v = -1, dist = -1;
        ASSERT_EQ(c.hit, D3DXIntersectTri(&kP0, &kP1, &kP2, &c.origin, &c.dir, &u, &v, &dist));
        if (!c.hit) continue;
        EXPECT_FLOAT_EQ(c.u, u);
        EXPECT_FLOAT_EQ(c.v, v);
        EXPECT_FLOAT_EQ(c.dist, dist);
    }
}

}  // namespace
