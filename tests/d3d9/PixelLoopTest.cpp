// The pixel loops: the row walk against the edge functions evaluated at every pixel, and the
// CPU's fastest loop against the portable one, pixel for pixel and depth for depth.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "d3d9/Magnification.h"
#include "d3d9/Rasterizer.h"

namespace test {
namespace {

using namespace platform::d3d9;

constexpr int kWidth = 61;   // odd, so spans end anywhere within a group of pixels
constexpr int kHeight = 43;

// A chain in one block, as a texture keeps it, 32 x 32 unless asked otherwise; every level
// distinct, so picking the wrong one shows.
struct MipChain {
    explicit MipChain(int width = 32, int height = 32) {
        std::size_t size = 0;
        for (int w = width, h = height;; w = std::max(1, w / 2), h = std::max(1, h / 2)) {
            size += std::size_t(w) * h;
            if (w == 1 && h == 1) break;
        }
        texels.resize(size);
        std::size_t offset = 0;
        for (int w = width, h = height, level = 0;; w = std::max(1, w / 2), h = std::max(1, h / 2),
                 ++level) {
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const std::uint32_t checker = ((x ^ y) & 1) ? 0x00F02010u : 0x0010E0C0u;
                    texels[offset + y * w + x] =
                        0x80000000u | (checker + 0x00081808u * level + (std::uint32_t(x) << 16));
                }
            }
            levels.push_back({texels.data() + offset, w, h});
            offset += std::size_t(w) * h;
            if (w == 1 && h == 1) break;
        }
    }
    std::vector<std::uint32_t> texels;
    std::vector<MipLevel> levels;
};

struct Lcg {
    std::uint32_t state;
    float next(float low, float high) {
        state = state * 1664525u + 1013904223u;
        return low + (high - low) * static_cast<float>(state >> 8) / 16777216.0f;
    }
};

// Triangles across and past the target, near and far (1/w from 0.02 to 1), texture coordinates
// from magnified throughout (under a period of the 32-texel texture across the target, little
// perspective) to far minified and whole periods outside 0..1; then a few with an edge along a
// row.
std::vector<Triangle> triangles() {
    Lcg random{7};
    std::vector<Triangle> out;
    const Scissor scissor{0, 0, kWidth, kHeight};
    while (out.size() < 400) {
        ScreenVertex v[3];
        const float pick = random.next(0.0f, 1.0f);
        const float spread = pick < 0.25f ? 0.4f : pick < 0.6f ? 4.0f : 60.0f;
        for (ScreenVertex& p : v) {
            p.x = random.next(-10.0f, kWidth + 10.0f);
            p.y = random.next(-10.0f, kHeight + 10.0f);
            p.z = random.next(-0.1f, 1.1f);
            p.q = pick < 0.25f ? random.next(0.5f, 1.0f) : random.next(0.02f, 1.0f);
            // Half the magnified ones lie inside the texture's first copy, half across its edge.
            const float centre = pick < 0.125f ? 0.5f : 0.0f;
            p.uq = (centre + random.next(-spread, spread)) * p.q;
            p.vq = (centre + random.next(-spread, spread)) * p.q;
        }
        Triangle t;
        if (setupTriangle(v[0], v[1], v[2], Cull::None, scissor, t)) out.push_back(t);
    }
    // Edges along a row, on pixel centres and between them, where the fill rule decides.
    const float kRows[][6] = {{3, 5, 40, 5, 20, 30},      {3, 30, 40, 30, 20, 5},
                              {2.5f, 7.5f, 50, 7.5f, 9, 20}, {9, 2, 50, 20, 9, 20},
                              {50, 2, 50, 20, 9, 11.5f}};
    // Slivers far taller than the target and a few pixels across it: their edges' steps are
    // too large for the walks that evaluate the edge functions in 32 bits.
    for (int i = 0; i < 12; ++i) {
        const float x = random.next(-4.0f, kWidth);
        const ScreenVertex a{x, -3000.0f, 0.5f, 1, 0.1f, 0.2f};
        const ScreenVertex b{x + random.next(1.0f, 30.0f), 3000.0f, 0.5f, 1, 0.7f, 0.2f};
        const ScreenVertex c{x + random.next(1.0f, 30.0f), random.next(2000.0f, 3000.0f), 0.5f, 1,
                             0.3f, 0.9f};
        Triangle t;
        if (setupTriangle(a, b, c, Cull::None, scissor, t)) out.push_back(t);
    }
    for (const auto& r : kRows) {
        const ScreenVertex a{r[0], r[1], 0.5f, 1, 0.1f, 0.2f};
        const ScreenVertex b{r[2], r[3], 0.5f, 1, 0.7f, 0.2f};
        const ScreenVertex c{r[4], r[5], 0.5f, 1, 0.3f, 0.9f};
        Triangle t;
        EXPECT_TRUE(setupTriangle(a, b, c, Cull::None, scissor, t));
        out.push_back(t);
    }
    return out;
}

// `count` triangles whose corners `corners(random, x, y, size, v)` places in boxes of sides
// from minSize to maxSize, over the target and past its edges.
template <class Corners>
std::vector<Triangle> boxedTriangles(std::uint32_t seed, std::size_t count, float minSize,
                                     float maxSize, Corners corners) {
    Lcg random{seed};
    std::vector<Triangle> out;
    const Scissor scissor{0, 0, kWidth, kHeight};
    while (out.size() < count) {
        const float x = random.next(-4.0f, kWidth + 4.0f);
        const float y = random.next(-4.0f, kHeight + 4.0f);
        const float size = random.next(minSize, maxSize);
        ScreenVertex v[3];
        corners(random, x, y, size, v);
        Triangle t;
        if (setupTriangle(v[0], v[1], v[2], Cull::None, scissor, t)) out.push_back(t);
    }
    return out;
}

// Triangles a few pixels across, of every shape: the vector loop walks the rows of those at
// most eight, sixteen and thirty-two pixels wide from the edge functions' values, and the wider
// ones with the divisions of RowWalker, and shades two rows of at most four pixels in one group
// of eight, at the right edge through a copy.
std::vector<Triangle> smallTriangles() {
    return boxedTriangles(11, 300, 0.5f, 20.0f,
                          [](Lcg& random, float x, float y, float size, ScreenVertex (&v)[3]) {
                              for (ScreenVertex& p : v) {
                                  p.x = x + random.next(0.0f, size);
                                  p.y = y + random.next(0.0f, size);
                                  p.z = random.next(0.0f, 1.0f);
                                  p.q = random.next(0.2f, 1.0f);
                                  p.uq = random.next(-2.0f, 2.0f) * p.q;
                                  p.vq = random.next(-2.0f, 2.0f) * p.q;
                              }
                          });
}

// Triangles up to about sixteen pixels wide, magnified inside the texture's first copy: the
// vector loop works out their rows' starts and the windows of texels of the rows' first groups
// before it walks them.
std::vector<Triangle> magnifiedTriangles() {
    return boxedTriangles(13, 200, 7.0f, 17.0f,
                          [](Lcg& random, float x, float y, float size, ScreenVertex (&v)[3]) {
                              // Less than a texel of the 32 x 32 level a pixel, in any direction.
                              const float u = random.next(0.3f, 0.7f);
                              const float w = random.next(0.3f, 0.7f);
                              const float du = random.next(-1.0f, 1.0f) / 64.0f;
                              const float dv = random.next(-1.0f, 1.0f) / 64.0f;
                              for (ScreenVertex& p : v) {
                                  const float dx = random.next(0.0f, size);
                                  const float dy = random.next(0.0f, size);
                                  p.x = x + dx;
                                  p.y = y + dy;
                                  p.z = random.next(0.0f, 1.0f);
                                  p.q = random.next(0.8f, 1.0f);
                                  p.uq = (u + du * dx - dv * dy) * p.q;
                                  p.vq = (w + dv * dx + du * dy) * p.q;
                              }
                          });
}

// Every row from a few starting rows, each span checked against E >= 0 at each pixel centre of
// the triangle's box: the spans must hold exactly the inside pixels, and the rows just past the
// box none (set-up leaves out the row under a bottom edge along it, which the walk then skips).
TEST(PixelLoop, RowWalkerFindsExactlyThePixelsInsideAllEdges) {
    const auto inside = [](const Triangle& t, int x, int y) {
        const std::int64_t sx = std::int64_t{x} << kSubpixelBits;
        const std::int64_t sy = std::int64_t{y} << kSubpixelBits;
        for (const EdgeFunction& e : t.edge) {
            if (e.a * sx + e.b * sy + e.c < 0) return false;
        }
        return true;
    };
    std::vector<Triangle> walked = triangles();
    const std::vector<Triangle> small = smallTriangles();
    walked.insert(walked.end(), small.begin(), small.end());
    int rowsWithPixels = 0;
    for (const Triangle& t : walked) {
        for (int y : {t.minY - 2, t.minY - 1, t.maxY + 1, t.maxY + 2}) {
            if (y < 0 || y >= kHeight) continue;
            for (int x = t.minX; x <= t.maxX; ++x) ASSERT_FALSE(inside(t, x, y)) << x << "," << y;
        }
        for (int start : {t.minY, (t.minY + t.maxY) / 2, t.maxY}) {
            RowWalker rows(t, start);
            for (int y = start; y <= t.maxY; ++y) {
                int xBegin = 0;
                int xEnd = -1;
                if (!rows.next(xBegin, xEnd)) xEnd = xBegin - 1;
                rowsWithPixels += xEnd >= xBegin;
                for (int x = t.minX; x <= t.maxX; ++x) {
                    ASSERT_EQ(inside(t, x, y), x >= xBegin && x <= xEnd) << x << "," << y;
                }
            }
        }
    }
    EXPECT_GT(rowsWithPixels, 1000);
}

struct Target {
    std::vector<std::uint32_t> colour = std::vector<std::uint32_t>(kWidth * kHeight, 0xFF000000u);
    std::vector<std::uint16_t> depth = std::vector<std::uint16_t>(kWidth * kHeight, 0xC000);
};

PixelState trilinear(const MipChain& chain, DepthMode depth) {
    PixelState s{};
    s.pitch = kWidth;
    s.depthMode = depth;
    s.textured = true;
    s.mag = s.min = Filter::Linear;
    s.mip = MipFilter::Linear;
    s.sampler = {chain.levels.data(), static_cast<int>(chain.levels.size()), 0, 0.0f,
                 static_cast<float>(chain.levels[0].width),
                 static_cast<float>(chain.levels[0].height)};
    s.layout = layoutOf(s.sampler);
    s.diffuse = 0xFFFFFFFFu;
    return s;
}

// Draws `drawn` into `target` with `loop`, flushing at the end as a draw does. With `band`, each
// triangle in calls of that many rows from the target's top, as the device's stripes cut it.
void drawAll(const RasterLoop& loop, PixelState s, const std::vector<Triangle>& drawn,
             Target& target, int band = 0) {
    s.colour = target.colour.data();
    s.depth = target.depth.data();
    PixelQueue queue;
    for (const Triangle& t : drawn) {
        if (band == 0) {
            loop.raster(t, s, t.minY, t.maxY, queue);
            continue;
        }
        for (int y = t.minY; y <= t.maxY; y = (y / band + 1) * band) {
            loop.raster(t, s, y, std::min(t.maxY, (y / band + 1) * band - 1), queue);
        }
    }
    if (loop.flush) loop.flush(s, queue);
}

// The vector loop samples a triangle that is magnified throughout with no level of detail per
// pixel; the equality below shows that the bound never takes a minified pixel for magnified.
TEST(PixelLoop, VectorLoopDrawsWhatTheScalarLoopDraws) {
    const MipChain chain;
    std::vector<Triangle> drawn = triangles();
    int magnified = 0;
    const MagnificationBound bound = magnificationBoundOf(trilinear(chain, DepthMode::Off).sampler);
    for (const Triangle& t : drawn) magnified += magnifiedEverywhere(t, bound);
    EXPECT_GT(magnified, 30);
    EXPECT_LT(magnified, 200);
    const std::vector<Triangle> small = smallTriangles();
    drawn.insert(drawn.end(), small.begin(), small.end());
    const std::vector<Triangle> planned = magnifiedTriangles();
    int plannedMagnified = 0;
    for (const Triangle& t : planned) {
        const int box = (t.maxX - t.minX + 1) * (t.maxY - t.minY + 1);
        plannedMagnified += t.maxX - t.minX < 16 && box >= 32 && magnifiedEverywhere(t, bound) &&
                            insideUnitSquare(t);
    }
    EXPECT_GT(plannedMagnified, 50);
    drawn.insert(drawn.end(), planned.begin(), planned.end());
    // Sides that are not powers of two take the vector loop's general sampler; of the powers of
    // two, sixteen texels across is the narrowest that magnified pixels read through a window of
    // texels (there every window touches the row's end, and with four rows the rows wrap
    // often), eight the widest that only gathers.
    const MipChain uneven(24, 20);
    const MipChain oneSideUneven(32, 12);
    const MipChain narrowest(16, 4);
    const MipChain gathered(8, 32);
    struct Case {
        int line;
        DepthMode depth;
        std::uint32_t diffuse;  // opaque white: no modulation
        int firstLevel;
        float lodBias;
        const MipChain& texture;
        int band = 0;  // rows a call, see drawAll
    };
    const Case kCases[] = {
        {__LINE__, DepthMode::LessEqualWrite, 0xFFFFFFFFu, 0, 0.0f, chain},
        {__LINE__, DepthMode::LessEqualWrite, 0xFFFFFFFFu, 0, 0.0f, chain, 1},
        {__LINE__, DepthMode::LessEqualWrite, 0x80FF4020u, 0, 0.0f, chain, 3},
        {__LINE__, DepthMode::Off, 0xFFFFFFFFu, 0, 0.0f, chain},
        {__LINE__, DepthMode::LessEqualWrite, 0x80FF4020u, 0, 0.0f, chain},
        {__LINE__, DepthMode::LessEqualWrite, 0xFFFFFFFFu, 2, 0.0f, chain},
        {__LINE__, DepthMode::LessEqualWrite, 0xFFFFFFFFu, 0, -1.5f, chain},
        {__LINE__, DepthMode::Off, 0xFF7F7F7Fu, 0, 2.25f, chain},
        {__LINE__, DepthMode::LessEqualWrite, 0xFFFFFFFFu, 0, 0.0f, uneven},
        {__LINE__, DepthMode::LessEqualWrite, 0xFFFFFFFFu, 1, 0.0f, uneven},
        {__LINE__, DepthMode::LessEqualWrite, 0xFFFFFFFFu, 0, -1.0f, oneSideUneven},
        {__LINE__, DepthMode::LessEqualWrite, 0xFFFFFFFFu, 0, 0.0f, narrowest},
        {__LINE__, DepthMode::Off, 0x80FF4020u, 0, -2.0f, narrowest},
        {__LINE__, DepthMode::LessEqualWrite, 0xFFFFFFFFu, 0, 0.0f, gathered},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        Target scalar;
        Target vector;
        PixelState s = trilinear(c.texture, c.depth);
        s.sampler.firstLevel = c.firstLevel;
        s.sampler.lodBias = c.lodBias;
        s.diffuse = c.diffuse;
        s.modulate = (c.diffuse & 0x00FFFFFFu) != 0x00FFFFFFu;
        const RasterLoop fast = selectRasterLoop(s);
        const RasterLoop portable = selectScalarRasterLoop(s);
        if (fast.raster == portable.raster) GTEST_SKIP() << "this CPU has no vector loop";
        drawAll(portable, s, drawn, scalar, c.band);
        drawAll(fast, s, drawn, vector, c.band);
        int written = 0;
        for (std::uint32_t p : scalar.colour) written += p != 0xFF000000u;
        EXPECT_GT(written, kWidth * kHeight / 2);
        for (std::size_t i = 0; i < scalar.colour.size(); ++i) {
            ASSERT_EQ(scalar.colour[i], vector.colour[i]) << "pixel " << i % kWidth << ","
                                                          << i / kWidth;
        }
        EXPECT_EQ(scalar.depth, vector.depth);
    }
}

// The vector loop addresses every level from level 0's texels; levels kept apart go to the
// portable loop instead.
TEST(PixelLoop, LevelsApartTakeThePortableLoop) {
    const MipChain chain;
    PixelState s = trilinear(chain, DepthMode::LessEqualWrite);
    EXPECT_TRUE(s.layout.oneBlock);
    EXPECT_EQ(32, s.layout.width[0]);
    EXPECT_EQ(32 * 32 + 16 * 16, s.layout.offset[2]);
    const std::vector<std::uint32_t> top(4, 0xFF0000FFu);
    const std::vector<std::uint32_t> bottom(1, 0xFF00FF00u);
    const MipLevel apart[2] = {{top.data(), 2, 2}, {bottom.data(), 1, 1}};
    s.sampler = {apart, 2, 0, 0.0f, 2.0f, 2.0f};
    s.layout = layoutOf(s.sampler);
    EXPECT_FALSE(s.layout.oneBlock);
    EXPECT_EQ(selectScalarRasterLoop(s).raster, selectRasterLoop(s).raster);
}

// Two one-row triangles over the same pixel 10 of row 1, the second nearer, with the pixels
// beside that one failing the depth test: the second triangle's pixel must end up on top
// however the loop holds its pixels back.
TEST(PixelLoop, PixelDrawnTwiceShowsTheLaterTriangle) {
    const MipChain chain;
    const auto oneRow = [](float left, float right, float z, float u) {
        // Covers row 1 from (3 * left + right) / 4 to (left + 3 * right) / 4.
        const ScreenVertex a{left, 0.5f, z, 1.0f, u, 0.3f};
        const ScreenVertex b{right, 0.5f, z, 1.0f, u + 0.5f, 0.3f};
        const ScreenVertex c{(left + right) / 2, 1.5f, z, 1.0f, u, 0.4f};
        Triangle t;
        EXPECT_TRUE(setupTriangle(a, b, c, Cull::None, {0, 0, kWidth, kHeight}, t));
        return t;
    };
    const std::vector<Triangle> drawn = {oneRow(6, 12, 0.5f, 0.1f),    // pixels 8-10
                                         oneRow(6, 20, 0.25f, 0.6f)};  // pixels 10-16
    const PixelState s = trilinear(chain, DepthMode::LessEqualWrite);
    Target scalar;
    Target vector;
    for (Target* t : {&scalar, &vector}) {
        t->depth[kWidth + 9] = 0;
        t->depth[kWidth + 11] = 0;
    }
    drawAll(selectScalarRasterLoop(s), s, drawn, scalar);
    drawAll(selectRasterLoop(s), s, drawn, vector);
    Target second;
    drawAll(selectScalarRasterLoop(s), s, {drawn[1]}, second);
    EXPECT_EQ(second.colour[kWidth + 10], scalar.colour[kWidth + 10]);
    EXPECT_NE(scalar.colour[kWidth + 8], scalar.colour[kWidth + 10]);
    EXPECT_EQ(scalar.colour, vector.colour);
}

TEST(PixelLoop, InsideUnitSquareOnlyWhereNoPixelWraps) {
    struct Case {
        int line;
        float u0, u1;  // u at the left and the right corners; v runs 0.2..0.6 downward
        float qRight;  // 1/w at the right corner (1 elsewhere)
        bool inside;
    };
    const Case kCases[] = {
        {__LINE__, 0.1f, 0.9f, 1.0f, true},
        {__LINE__, 0.1f, 0.9f, 0.1f, true},   // in perspective: still between the corners' values
        {__LINE__, 0.0f, 0.5f, 1.0f, false},  // touches the edge, where a pixel may round below
        {__LINE__, 0.5f, 1.0f, 1.0f, false},  // 1 wraps to 0
        {__LINE__, -0.2f, 0.3f, 1.0f, false},
        {__LINE__, 1.1f, 1.5f, 1.0f, false},  // inside the second copy
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        const ScreenVertex a{0, 0, 0.5f, 1, c.u0, 0.2f};
        const ScreenVertex b{40, 0, 0.5f, c.qRight, c.u1 * c.qRight, 0.2f * c.qRight};
        const ScreenVertex d{0, 40, 0.5f, 1, c.u0, 0.6f};
        Triangle t;
        ASSERT_TRUE(setupTriangle(a, b, d, Cull::None, {0, 0, kWidth, kHeight}, t));
        EXPECT_EQ(c.inside, insideUnitSquare(t));
    }
}

// A square of 1/w = 1 drawn with `texelsPerPixel` texels of a 32-texel texture a pixel, along x.
TEST(PixelLoop, MagnifiedThroughoutOnlyBelowOneTexelAPixel) {
    const MipChain chain;
    struct Case {
        int line;
        float texelsPerPixel;
        float lodBias;
        float q;  // 1/w at every corner
        bool magnified;
    };
    const Case kCases[] = {
        {__LINE__, 0.5f, 0.0f, 1.0f, true},
        {__LINE__, 0.95f, 0.0f, 1.0f, true},
        {__LINE__, 1.0f, 0.0f, 1.0f, false},  // level 0 exactly: kept for the per-pixel loop
        {__LINE__, 1.5f, 0.0f, 1.0f, false},
        {__LINE__, 1.5f, -1.0f, 1.0f, true},  // the bias moves the limit to two texels
        {__LINE__, 0.5f, 1.5f, 1.0f, false},
        {__LINE__, 0.5f, 0.0f, 0.5f, true},   // 1/w scales u/w and v/w alike: same texels
        {__LINE__, 0.5f, 0.0f, 0.0f, false},  // no finite w
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        const float u = 40.0f * c.texelsPerPixel / 32.0f;  // across the 40 pixels
        const ScreenVertex a{0, 0, 0.5f, c.q, 0, 0};
        const ScreenVertex b{40, 0, 0.5f, c.q, u * c.q, 0};
        const ScreenVertex d{0, 40, 0.5f, c.q, 0, 0.1f * c.q};
        Triangle t;
        ASSERT_TRUE(setupTriangle(a, b, d, Cull::None, {0, 0, kWidth, kHeight}, t));
        PixelState s = trilinear(chain, DepthMode::Off);
        s.sampler.lodBias = c.lodBias;
        EXPECT_EQ(c.magnified, magnifiedEverywhere(t, magnificationBoundOf(s.sampler)));
    }
}

// The bound's limit sits just inside the per-pixel formula's magnification, wherever the bias
// moves it, and at the formula's own ends past them.
TEST(PixelLoop, MagnificationLimitFollowsTheBias) {
    const MipChain chain;
    SamplerSetup sampler = trilinear(chain, DepthMode::Off).sampler;
    for (const float bias : {0.0f, -1.5f, 2.25f, -20.0f, 20.0f}) {
        SCOPED_TRACE(bias);
        sampler.lodBias = bias;
        const float limit = magnificationBoundOf(sampler).limit;
        EXPECT_LT(levelOfDetail(limit, bias), 0.0f);
        EXPECT_GT(levelOfDetail(std::nextafter(limit, 1.0e30f), bias), -0.1f);
    }
    for (const float bias : {-100.0f, 100.0f, std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(bias);
        sampler.lodBias = bias;
        const float limit = magnificationBoundOf(sampler).limit;
        EXPECT_EQ(limit, bias < 0.0f ? std::nextafter(1.0e20f, 0.0f) : 1.0e-20f);
    }
}

}  // namespace
}  // namespace test
