// Coverage, culling, clipping and depth of the software device, on targets small enough to
// state every pixel.
#include <cmath>
#include <cstring>

#include "DeviceTesting.h"
#include "d3d9/DeviceOptions.h"

namespace test {
namespace {

constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

std::vector<bool> covered(DeviceFixture& f, const std::vector<Vertex>& triangle) {
    f.clear(kBlack);
    EXPECT_EQ(D3D_OK, f.draw(D3DPT_TRIANGLELIST, triangle, 1));
    std::vector<bool> out;
    for (std::uint32_t p : f.pixels()) out.push_back(p == kWhite);
    return out;
}

// Each triangle is drawn alone; every pixel centre of the expected box must be hit by exactly
// one of them and every other pixel by none.
TEST(Raster, TrianglesSharingEdgesCoverEachPixelOnce) {
    struct Case {
        int line;
        std::vector<std::vector<float>> triangles;  // x0 y0 x1 y1 x2 y2 in pixels
        int left, top, right, bottom;               // expected pixels [left, right) x [top, bottom)
    };
    const Case kCases[] = {
        {__LINE__, {{0, 0, 8, 0, 0, 8}, {0, 8, 8, 0, 8, 8}}, 0, 0, 8, 8},  // whole target
        {__LINE__, {{0, 0, 8, 0, 8, 8}, {0, 0, 8, 8, 0, 8}}, 0, 0, 8, 8},  // other diagonal
        {__LINE__, {{2, 2, 6, 2, 2, 6}, {2, 6, 6, 2, 6, 6}}, 2, 2, 6, 6},  // centres on all edges
        {__LINE__, {{0.5f, 0.5f, 7.5f, 0.5f, 0.5f, 7.5f}, {0.5f, 7.5f, 7.5f, 0.5f, 7.5f, 7.5f}},
         1, 1, 8, 8},
        // Four triangles fanned around the centre, one shared vertex on a pixel centre.
        {__LINE__,
         {{0, 0, 8, 0, 4, 4}, {8, 0, 8, 8, 4, 4}, {8, 8, 0, 8, 4, 4}, {0, 8, 0, 0, 4, 4}},
         0, 0, 8, 8},
        // A sliver-thin diagonal split: the shared edge passes through many centres.
        {__LINE__, {{0, 0, 8, 8, 0, 8}, {0, 0, 8, 0, 8, 8}}, 0, 0, 8, 8},
    };
    DeviceFixture f;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        std::vector<int> hits(64, 0);
        for (const auto& t : c.triangles) {
            const auto cover = covered(f, {f.at(t[0], t[1]), f.at(t[2], t[3]), f.at(t[4], t[5])});
            for (int i = 0; i < 64; ++i) hits[i] += cover[i];
        }
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool inside = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
                EXPECT_EQ(inside ? 1 : 0, hits[y * 8 + x]) << "pixel " << x << "," << y;
            }
        }
    }
}

// A strip laid out as the cube's faces are (top-left, top-right, bottom-left, bottom-right on
// screen) winds both its triangles clockwise: the second triangle is reversed by the device.
TEST(Raster, StripWindingUnderCulling) {
    struct Case {
        int line;
        bool mirrored;  // corners listed right to left: both triangles counter-clockwise
        DWORD cull;
        int pixels;
    };
    const Case kCases[] = {
        {__LINE__, false, D3DCULL_CCW, 64}, {__LINE__, true, D3DCULL_CCW, 0},
        {__LINE__, false, D3DCULL_CW, 0},   {__LINE__, true, D3DCULL_CW, 64},
        {__LINE__, false, D3DCULL_NONE, 64}, {__LINE__, true, D3DCULL_NONE, 64},
    };
    DeviceFixture f;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        const float l = c.mirrored ? 8.0f : 0.0f;
        const float r = 8.0f - l;
        f.clear(kBlack);
        f.device->SetRenderState(D3DRS_CULLMODE, c.cull);
        ASSERT_EQ(D3D_OK, f.draw(D3DPT_TRIANGLESTRIP,
                                 {f.at(l, 0), f.at(r, 0), f.at(l, 8), f.at(r, 8)}, 2));
        int count = 0;
        for (std::uint32_t p : f.pixels()) count += p == kWhite;
        EXPECT_EQ(c.pixels, count);
    }
}

D3DMATRIX perspective(float fovY, float aspect, float zn, float zf) {
    D3DMATRIX m{};
    const float yScale = 1.0f / std::tan(fovY / 2);
    m._11 = yScale / aspect;
    m._22 = yScale;
    m._33 = zf / (zf - zn);
    m._34 = 1.0f;
    m._43 = -zn * zf / (zf - zn);
    return m;
}

// A ground triangle that reaches behind the eye, seen from the origin looking along +z: every
// pixel whose ray meets the triangle well in front of the near plane is drawn, and no pixel
// whose ray misses it (above the horizon, beside it, or nearer than the near plane) is.
TEST(Raster, TriangleCrossingNearPlaneIsClippedCleanly) {
    constexpr int kSize = 64;
    DeviceFixture f(kSize, kSize);
    const D3DMATRIX projection = perspective(3.14159265f / 2, 1.0f, 1.0f, 100.0f);
    f.device->SetTransform(D3DTS_PROJECTION, &projection);
    const float ax = -12, az = -6, bx = 12, bz = -6, cx = 0, cz = 40;  // at y = -1
    f.clear(kBlack);
    ASSERT_EQ(D3D_OK, f.draw(D3DPT_TRIANGLELIST,
                             {{ax, -1, az, 0, 0}, {bx, -1, bz, 1, 0}, {cx, -1, cz, 0, 1}}, 1));
    const auto pixels = f.pixels();
    const auto side = [](float px, float pz, float x0, float z0, float x1, float z1) {
        return ((x1 - x0) * (pz - z0) - (z1 - z0) * (px - x0)) /
               std::hypot(x1 - x0, z1 - z0);  // signed distance, < 0 on the inner side
    };
    int drawn = 0;
    for (int py = 0; py < kSize; ++py) {
        for (int px = 0; px < kSize; ++px) {
            const float dx = (px - kSize / 2.0f) / (kSize / 2.0f);
            const float dy = (kSize / 2.0f - py) / (kSize / 2.0f);
            bool mustDraw = false;
            bool mayDraw = false;
            if (dy < 0) {
                const float t = -1.0f / dy;  // the ray (dx, dy, 1) * t meets y = -1
                const float x = dx * t;
                const float z = t;
                const float inner = std::max({side(x, z, ax, az, cx, cz),
                                              side(x, z, cx, cz, bx, bz),
                                              side(x, z, bx, bz, ax, az)});
                mustDraw = inner < -0.05f * z && z > 1.05f;
                mayDraw = inner < 0.05f * z && z > 0.95f;
            }
            const bool isDrawn = pixels[py * kSize + px] == kWhite;
            drawn += isDrawn;
            if (mustDraw) {
                EXPECT_TRUE(isDrawn) << px << "," << py;
            }
            if (!mayDraw) {
                EXPECT_FALSE(isDrawn) << px << "," << py;
            }
        }
    }
    EXPECT_GT(drawn, kSize * kSize / 4);
}

// Wholly behind the eye or beyond the far plane: nothing, whatever the w signs do.
// A corner that is not a number lies outside every plane, whichever coordinate holds it: its
// triangle draws nothing, and the next one, whose corners the vertex stage works in the same
// group of four, draws as it does alone.
TEST(Raster, CornerThatIsNotANumberDrawsNothing) {
    DeviceFixture f;
    const std::vector<Vertex> whole = {f.at(0, 0), f.at(8, 0), f.at(0, 8)};
    const std::vector<bool> alone = covered(f, whole);
    for (int coordinate = 0; coordinate < 3; ++coordinate) {
        SCOPED_TRACE(coordinate);
        Vertex odd = f.at(8, 8);
        (coordinate == 0 ? odd.x : coordinate == 1 ? odd.y : odd.z) = std::nanf("");
        std::vector<Vertex> both = {f.at(8, 0), odd, f.at(0, 8)};
        both.insert(both.end(), whole.begin(), whole.end());
        f.clear(kBlack);
        ASSERT_EQ(D3D_OK, f.draw(D3DPT_TRIANGLELIST, both, 2));
        std::vector<bool> lit;
        for (std::uint32_t p : f.pixels()) lit.push_back(p == kWhite);
        EXPECT_EQ(alone, lit);
    }
}

TEST(Raster, TrianglesOutsideDepthRangeDrawNothing) {
    struct Case {
        int line;
        float z;
    };
    const Case kCases[] = {{__LINE__, -5.0f}, {__LINE__, 0.5f}, {__LINE__, 200.0f}};
    DeviceFixture f(16, 16);
    const D3DMATRIX projection = perspective(3.14159265f / 2, 1.0f, 1.0f, 100.0f);
    f.device->SetTransform(D3DTS_PROJECTION, &projection);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        f.clear(kBlack);
        ASSERT_EQ(D3D_OK, f.draw(D3DPT_TRIANGLELIST,
                                 {{-1, -1, c.z, 0, 0}, {1, -1, c.z, 0, 0}, {0, 1, c.z, 0, 0}}, 1));
        for (std::uint32_t p : f.pixels()) ASSERT_EQ(kBlack, p);
    }
}

// Two overlapping squares at different depths give the same picture in either order; with
// the depth test off the later one wins.
TEST(Raster, DepthOrderIndependentOfDrawOrder) {
    DeviceFixture f;
    const auto solid = [&](D3DCOLOR colour) {
        return f.texture(1, 1, 1, [colour](UINT, UINT, UINT) { return colour; });
    };
    auto red = solid(0xFFFF0000);
    auto green = solid(0xFF00FF00);
    const auto square = [&](IDirect3DTexture9* t, float x0, float y0, float z) {
        f.device->SetTexture(0, t);
        ASSERT_EQ(D3D_OK, f.draw(D3DPT_TRIANGLELIST, quadList(f, x0, y0, x0 + 6, y0 + 6, false, z),
                                 2));
    };
    struct Case {
        int line;
        bool zEnable;
        bool redFirst;
        std::uint32_t overlap;
    };
    const Case kCases[] = {
        {__LINE__, true, true, 0xFFFF0000},   {__LINE__, true, false, 0xFFFF0000},
        {__LINE__, false, true, 0xFF00FF00},  {__LINE__, false, false, 0xFFFF0000},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        f.clear(kBlack);
        f.device->SetRenderState(D3DRS_ZENABLE, c.zEnable ? D3DZB_TRUE : D3DZB_FALSE);
        if (c.redFirst) {
            square(red.get(), 0, 0, 0.25f);
            square(green.get(), 2, 2, 0.75f);
        } else {
            square(green.get(), 2, 2, 0.75f);
            square(red.get(), 0, 0, 0.25f);
        }
        const auto p = f.pixels();
        EXPECT_EQ(0xFFFF0000, p[1 * 8 + 1]);   // red alone
        EXPECT_EQ(0xFF00FF00, p[7 * 8 + 7]);   // green alone
        EXPECT_EQ(c.overlap, p[4 * 8 + 4]);
    }
}

// Within one draw too the later triangle wins with the depth test off, when one of the two is
// clipped by the near plane and the other is not: the device sets triangles up in runs and
// clips the ones that need it on their own, and neither may jump the other.
TEST(Raster, LaterTriangleOfADrawWinsWhenOneOfThemIsClipped) {
    DeviceFixture f;
    f.device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    auto texels = f.texture(2, 1, 1, [](UINT, UINT x, UINT) {
        return x == 0 ? 0xFFFF0000u : 0xFF00FF00u;
    });
    f.device->SetTexture(0, texels.get());
    // u 0.25 reads the red texel, 0.75 the green one.
    const auto whole = [&](float u) {
        return std::vector<Vertex>{f.at(-4, -4, 0.5f, u, 0.5f), f.at(20, -4, 0.5f, u, 0.5f),
                                   f.at(-4, 20, 0.5f, u, 0.5f)};
    };
    // Its third corner lies in front of the near plane; depth is still above 0 at (2, 2).
    const auto clipped = [&](float u) {
        return std::vector<Vertex>{f.at(-4, -4, 0.5f, u, 0.5f), f.at(20, -4, 0.5f, u, 0.5f),
                                   f.at(-4, 20, -0.5f, u, 0.5f)};
    };
    struct Case {
        int line;
        std::vector<Vertex> first;
        std::vector<Vertex> second;
        std::uint32_t expected;
    };
    const Case kCases[] = {
        {__LINE__, whole(0.25f), clipped(0.75f), 0xFF00FF00},
        {__LINE__, clipped(0.75f), whole(0.25f), 0xFFFF0000},
        {__LINE__, whole(0.75f), whole(0.25f), 0xFFFF0000},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        std::vector<Vertex> both = c.first;
        both.insert(both.end(), c.second.begin(), c.second.end());
        f.clear(kBlack);
        ASSERT_EQ(D3D_OK, f.draw(D3DPT_TRIANGLELIST, both, 2));
        EXPECT_EQ(c.expected, f.pixels()[2 * 8 + 2]);
    }
}

// A textured ground in perspective, clipped by the near plane and depth-tested, drawn with
// `threads` threads on a width x height target: `cells` x `cells` quads of two triangles.
std::vector<std::uint32_t> renderGround(unsigned threads, int width, int height, int cells) {
    platform::d3d9::setRenderThreads(threads);
    DeviceFixture f(width, height);
    platform::d3d9::setRenderThreads(0);
    const D3DMATRIX projection =
        perspective(0.9f, static_cast<float>(width) / static_cast<float>(height), 1.0f, 100.0f);
    f.device->SetTransform(D3DTS_PROJECTION, &projection);
    f.device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    for (DWORD type : {D3DSAMP_MAGFILTER, D3DSAMP_MINFILTER, D3DSAMP_MIPFILTER}) {
        f.device->SetSamplerState(0, static_cast<D3DSAMPLERSTATETYPE>(type), D3DTEXF_LINEAR);
    }
    auto checker = f.texture(32, 32, 0, [](UINT level, UINT x, UINT y) {
        return ((x ^ y) & 1) ? 0xFF20A040u : 0xFFC0C0C0u + level;
    });
    f.device->SetTexture(0, checker.get());
    std::vector<Vertex> grid;
    const float side = 40.0f / static_cast<float>(cells);
    for (int row = 0; row < cells; ++row) {
        for (int col = 0; col < cells; ++col) {
            const float x0 = -20.0f + col * side, z0 = row * side - 4.0f;
            const float u0 = x0 / 8.0f, u1 = (x0 + side) / 8.0f;
            const float v0 = row * side / 8.0f, v1 = (row + 1) * side / 8.0f;
            const Vertex a{x0, -1, z0 + side, u0, v0};
            const Vertex b{x0 + side, -1, z0 + side, u1, v0};
            const Vertex c{x0, -1, z0, u0, v1};
            const Vertex d{x0 + side, -1, z0, u1, v1};
            grid.insert(grid.end(), {a, b, c, c, b, d});
        }
    }
    f.clear(0xFF6E93BF);
    EXPECT_EQ(D3D_OK, f.draw(D3DPT_TRIANGLELIST, grid, static_cast<UINT>(grid.size() / 3)));
    return f.pixels();
}

// The same textured, clipped, depth-tested scene with one thread and with several.
TEST(Raster, PictureDoesNotDependOnThreadCount) {
    const auto one = renderGround(1, 97, 61, 20);
    const auto four = renderGround(4, 97, 61, 20);
    int ground = 0;
    for (std::uint32_t p : one) ground += p != 0xFF6E93BF;
    EXPECT_GT(ground, 97 * 61 / 3);
    EXPECT_EQ(one, four);
}

// Large enough that the clear is split too and the triangles are sorted to stripes in several
// chunks; thread counts that do not divide the work evenly.
TEST(Raster, LargeDrawSplitAcrossThreadsMatchesOneThread) {
    const auto one = renderGround(1, 320, 240, 64);
    int ground = 0;
    for (std::uint32_t p : one) ground += p != 0xFF6E93BF;
    EXPECT_GT(ground, 320 * 240 / 3);
    for (unsigned threads : {3u, 8u}) {
        SCOPED_TRACE(threads);
        EXPECT_EQ(one, renderGround(threads, 320, 240, 64));
    }
}

// An indexed draw long enough that its indices are checked in pieces on several threads: one
// index outside [MinVertexIndex, MinVertexIndex + NumVertices), wherever it stands, refuses the
// whole draw before any pixel is written.
TEST(Raster, LargeIndexedDrawRefusesAnyIndexOutsideItsRange) {
    constexpr UINT kTriangles = 20000;
    struct Case {
        int line;
        std::size_t at;     // the index replaced
        std::uint32_t bad;  // by this
        HRESULT result;
    };
    const Case kCases[] = {
        {__LINE__, 0, 1, D3D_OK},                               // in range: the quad's first corner
        {__LINE__, 3 * kTriangles - 1, 5, D3DERR_INVALIDCALL},  // one past the range, last
        {__LINE__, 3 * kTriangles / 2, 0, D3DERR_INVALIDCALL},  // below the minimum, midway
    };
    for (unsigned threads : {1u, 4u}) {
        for (const Case& c : kCases) {
            SCOPED_TRACE(c.line);
            SCOPED_TRACE(threads);
            platform::d3d9::setRenderThreads(threads);
            DeviceFixture f;
            platform::d3d9::setRenderThreads(0);
            // Vertex 0 lies outside the draw's range; 1 to 4 make a quad over the target.
            auto vertices =
                f.buffer({f.at(0, 0), f.at(-1, -1), f.at(9, -1), f.at(-1, 9), f.at(9, 9)});
            std::vector<std::uint32_t> indices;
            for (UINT t = 0; t < kTriangles; ++t) {
                const bool second = t % 2 != 0;
                indices.insert(indices.end(), {second ? 3u : 1u, 2u, second ? 4u : 3u});
            }
            indices[c.at] = c.bad;
            ComRef<IDirect3DIndexBuffer9> ib;
            const auto bytes = static_cast<UINT>(indices.size() * sizeof(std::uint32_t));
            ASSERT_EQ(D3D_OK, f.device->CreateIndexBuffer(bytes, 0, D3DFMT_INDEX32, D3DPOOL_DEFAULT,
                                                          ib.put(), nullptr));
            void* data = nullptr;
            ASSERT_EQ(D3D_OK, ib->Lock(0, bytes, &data, 0));
            std::memcpy(data, indices.data(), bytes);
            ib->Unlock();
            f.clear(kBlack);
            f.device->SetFVF(kVertexFormat);
            f.device->SetStreamSource(0, vertices.get(), 0, sizeof(Vertex));
            f.device->SetIndices(ib.get());
            f.device->BeginScene();
            EXPECT_EQ(c.result,
                      f.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 1, 4, 0, kTriangles));
            f.device->EndScene();
            const std::uint32_t expected = c.result == D3D_OK ? kWhite : kBlack;
            for (std::uint32_t p : f.pixels()) ASSERT_EQ(expected, p);
        }
    }
}

}  // namespace
}  // namespace test
