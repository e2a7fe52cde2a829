// Texture sampling through the device: texel placement, filters and the mip level picked.
#include <cmath>

#include "DeviceTesting.h"
#include "d3d9/Sampler.h"

namespace test {
namespace {

constexpr std::uint32_t kTexels[2][2] = {{0xFFFF0000, 0xFF00FF00}, {0xFF0000FF, 0xFFFFFF00}};

void setFilters(IDirect3DDevice9* device, DWORD mag, DWORD min, DWORD mip) {
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, mag);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, min);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, mip);
}

// A 2x2 target covered by a quad whose u, v put each pixel centre on a texel centre: every
// filter reads exactly that texel, u to the right and v downward.
TEST(Sampling, TwoByTwoTextureAtItsTexelCentres) {
    struct Case {
        int line;
        DWORD filter;
        DWORD mip;
    };
    const Case kCases[] = {
        {__LINE__, D3DTEXF_POINT, D3DTEXF_NONE},
        {__LINE__, D3DTEXF_LINEAR, D3DTEXF_NONE},
        {__LINE__, D3DTEXF_LINEAR, D3DTEXF_LINEAR},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        DeviceFixture f(2, 2);
        auto t = f.texture(2, 2, 1, [](UINT, UINT x, UINT y) { return kTexels[y][x]; });
        f.device->SetTexture(0, t.get());
        setFilters(f.device.get(), c.filter, c.filter, c.mip);
        f.clear();
        // Pixel centres lie on whole coordinates: the quad's edges at -0.5 and 1.5.
        ASSERT_EQ(D3D_OK, f.draw(D3DPT_TRIANGLELIST, quadList(f, -0.5f, -0.5f, 1.5f, 1.5f, false),
                                 2));
        const auto p = f.pixels();
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 2; ++x) EXPECT_EQ(kTexels[y][x], p[y * 2 + x]) << x << "," << y;
        }
    }
}

// Bilinear filtering halfway between texels, including the pair that wraps around the edge.
TEST(Sampling, LinearFilterBlendsAndWraps) {
    const platform::d3d9::MipLevel level{&kTexels[0][0], 2, 2};
    struct Case {
        int line;
        float u, v;
        std::uint32_t expected;
    };
    const Case kCases[] = {
        {__LINE__, 0.25f, 0.25f, 0xFFFF0000},  // texel centre
        {__LINE__, 0.5f, 0.25f, 0xFF7F7F00},   // between red and green
        {__LINE__, 0.0f, 0.25f, 0xFF7F7F00},   // between green (wrapped) and red
        {__LINE__, 1.25f, -0.75f, 0xFFFF0000}, // whole periods away
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.expected, platform::d3d9::sampleLinear(level, c.u, c.v));
    }
}

// A 16x16 texture whose levels are solid, distinct colours, drawn on squares of several sizes:
// 16 texels over n pixels is a level of detail of log2(16 / n).
TEST(Sampling, MipLevelChosenForMinifiedTexture) {
    const std::uint32_t kLevelColour[] = {0xFF100000, 0xFF200000, 0xFF300000, 0xFF400000,
                                          0xFF500000};
    struct Case {
        int line;
        float pixels;
        DWORD mip;
        std::uint32_t expected;
    };
    const Case kCases[] = {
        {__LINE__, 16, D3DTEXF_POINT, kLevelColour[0]},  // one texel a pixel: magnified
        {__LINE__, 8, D3DTEXF_POINT, kLevelColour[1]},
        {__LINE__, 4, D3DTEXF_POINT, kLevelColour[2]},
        {__LINE__, 2, D3DTEXF_POINT, kLevelColour[3]},
        {__LINE__, 1, D3DTEXF_POINT, kLevelColour[4]},
        {__LINE__, 4, D3DTEXF_LINEAR, kLevelColour[2]},  // a whole-number level: no blend
        {__LINE__, 4, D3DTEXF_NONE, kLevelColour[0]},    // mips off: the top level only
        {__LINE__, 0.5f, D3DTEXF_LINEAR, kLevelColour[4]},  // past the chain: the last level
    };
    DeviceFixture f(16, 16);
    auto t = f.texture(16, 16, 0, [&](UINT level, UINT, UINT) { return kLevelColour[level]; });
    ASSERT_EQ(5u, t->GetLevelCount());
    f.device->SetTexture(0, t.get());
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        setFilters(f.device.get(), D3DTEXF_POINT, D3DTEXF_POINT, c.mip);
        f.clear();
        ASSERT_EQ(D3D_OK,
                  f.draw(D3DPT_TRIANGLELIST, quadList(f, 0, 0, c.pixels, c.pixels, false), 2));
        EXPECT_EQ(c.expected, f.pixels()[0]);
    }
}

// Trilinear halfway: a level of detail of 1.5 blends levels 1 and 2 half and half.
TEST(Sampling, TrilinearBlendsNeighbouringLevels) {
    const std::uint32_t top[16] = {};
    const std::uint32_t fine[4] = {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000};
    const std::uint32_t coarse[1] = {0xFFFEFEFE};
    const platform::d3d9::MipLevel chain[3] = {{top, 4, 4}, {fine, 2, 2}, {coarse, 1, 1}};
    const platform::d3d9::SamplerSetup s{chain, 3, 0, 0.0f, 4.0f, 4.0f};
    using platform::d3d9::Filter;
    using platform::d3d9::MipFilter;
    EXPECT_EQ(0xFF7F7F7Fu,
              (platform::d3d9::sampleTexture<Filter::Linear, Filter::Linear, MipFilter::Linear>(
                  s, 0.5f, 0.5f, 1.5f)));
}

TEST(Sampling, FastLog2StaysCloseToLog2) {
    for (float x = 1.0e-6f; x < 1.0e6f; x *= 1.013f) {
        ASSERT_NEAR(std::log2(x), platform::d3d9::fastLog2(x), 0.01f) << x;
    }
}

}  // namespace
}  // namespace test
