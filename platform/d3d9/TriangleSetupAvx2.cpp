#include "d3d9/TriangleSetupAvx2.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#include <algorithm>
#include <cstddef>
#endif

namespace platform::d3d9 {

#if defined(__x86_64__) || defined(__i386__)

namespace {

#define SETUP_AVX2 __attribute__((target("avx2"), always_inline))

// Snapped corners within 2^24 subpixels (65,536 pixels, past any guard band) keep every
// difference inside 32 bits and the area's products below 2^53, exact in doubles. A group
// with a corner beyond, or NaN, is set up one triangle at a time.
constexpr int kLaneLimit = 1 << 24;

// One corner of the four triangles, a triangle a lane, in subpixels.
struct CornerLanes {
    __m128i x;
    __m128i y;
};

SETUP_AVX2 inline CornerLanes snapCorner(const ScreenVertex* const (&corner)[4],
                                         __m128 scale) noexcept {
    const auto xy = [&](int t) { return reinterpret_cast<const __m64*>(&corner[t]->x); };
    const __m128 xy01 = _mm_loadh_pi(_mm_loadl_pi(scale, xy(0)), xy(1));
    const __m128 xy23 = _mm_loadh_pi(_mm_loadl_pi(scale, xy(2)), xy(3));
    // Rounded to nearest as lrintf rounds; out of range or NaN gives INT_MIN.
    return {
        _mm_cvtps_epi32(_mm_mul_ps(_mm_shuffle_ps(xy01, xy23, _MM_SHUFFLE(2, 0, 2, 0)), scale)),
        _mm_cvtps_epi32(_mm_mul_ps(_mm_shuffle_ps(xy01, xy23, _MM_SHUFFLE(3, 1, 3, 1)), scale))};
}

// Rows of four 64-bit values to columns: out[t] = {r0[t], r1[t], r2[t], r3[t]}.
struct Columns {
    __m256i column[4];
};

SETUP_AVX2 inline Columns transpose(__m256i r0, __m256i r1, __m256i r2, __m256i r3) noexcept {
    const __m256i low01 = _mm256_unpacklo_epi64(r0, r1);
    const __m256i high01 = _mm256_unpackhi_epi64(r0, r1);
    const __m256i low23 = _mm256_unpacklo_epi64(r2, r3);
    const __m256i high23 = _mm256_unpackhi_epi64(r2, r3);
    return {{_mm256_permute2x128_si256(low01, low23, 0x20),
             _mm256_permute2x128_si256(high01, high23, 0x20),
             _mm256_permute2x128_si256(low01, low23, 0x31),
             _mm256_permute2x128_si256(high01, high23, 0x31)}};
}

// Edge k of the four triangles, from corner (x0, y0) to corner (x1, y1), in 64-bit lanes; see
// makeEdge in TriangleSetup.cpp. c = x0 * y1 - x1 * y0 is -(a * x0 + b * y0).
struct EdgeLanes {
    __m256i a;
    __m256i b;
    __m256i c;
};

SETUP_AVX2 inline EdgeLanes edgeLanes(__m128i x0, __m128i y0, __m128i x1, __m128i y1) noexcept {
    const __m128i a = _mm_sub_epi32(y0, y1);
    const __m128i b = _mm_sub_epi32(x1, x0);
    const __m128i zero = _mm_setzero_si128();
    const __m128i topLeft =
        _mm_or_si128(_mm_cmpgt_epi32(a, zero),
                     _mm_and_si128(_mm_cmpeq_epi32(a, zero), _mm_cmpgt_epi32(b, zero)));
    // -1 off a top-left edge.
    const __m128i bias = _mm_xor_si128(topLeft, _mm_set1_epi32(-1));
    const __m256i c =
        _mm256_sub_epi64(_mm256_mul_epi32(_mm256_cvtepi32_epi64(x0), _mm256_cvtepi32_epi64(y1)),
                         _mm256_mul_epi32(_mm256_cvtepi32_epi64(x1), _mm256_cvtepi32_epi64(y0)));
    return {_mm256_cvtepi32_epi64(a), _mm256_cvtepi32_epi64(b),
            _mm256_add_epi64(c, _mm256_cvtepi32_epi64(bias))};
}

template <int T>
SETUP_AVX2 inline __m128 broadcastLane(__m128 v) noexcept {
    return _mm_shuffle_ps(v, v, _MM_SHUFFLE(T, T, T, T));
}

template <std::size_t Offset>
SETUP_AVX2 inline unsigned char* at(Triangle& t) noexcept {
    return reinterpret_cast<unsigned char*>(&t) + Offset;
}

static_assert(offsetof(Triangle, edge) == 0 && sizeof(Triangle::edge) == 9 * sizeof(std::int64_t));
static_assert(offsetof(Triangle, minX) == 72 && offsetof(Triangle, maxX) == 76 &&
              offsetof(Triangle, minY) == 80 && offsetof(Triangle, maxY) == 84);
static_assert(offsetof(Triangle, y0) == offsetof(Triangle, x0) + sizeof(float));
static_assert(offsetof(Triangle, vq0) == offsetof(Triangle, z0) + 3 * sizeof(float) &&
              offsetof(Triangle, vq) == offsetof(Triangle, z) + 3 * sizeof(Gradient) &&
              offsetof(Triangle, corner1) == offsetof(Triangle, vq) + sizeof(Gradient) &&
              offsetof(Triangle, corner2) == offsetof(Triangle, corner1) + sizeof(CornerValues));
static_assert(offsetof(ScreenVertex, vq) == offsetof(ScreenVertex, z) + 3 * sizeof(float));

// Triangles [0, count) of `corners`, count 1 to 4; the kept ones go to out[0], out[1], ...
SETUP_AVX2 inline std::size_t setUpFour(const ScreenVertex* const* corners, std::size_t count,
                                        Cull cull, const Scissor& scissor, Triangle* out) noexcept {
    // Lanes past the last triangle repeat the first; they are never kept.
    const ScreenVertex* corner[3][4];
    for (int t = 0; t < 4; ++t) {
        const std::size_t k = static_cast<std::size_t>(t) < count ? 3 * t : 0;
        corner[0][t] = corners[k];
        corner[1][t] = corners[k + 1];
        corner[2][t] = corners[k + 2];
    }
    const __m128 scale = _mm_set1_ps(static_cast<float>(kSubpixelScale));
    const CornerLanes p0 = snapCorner(corner[0], scale);
    const CornerLanes p1 = snapCorner(corner[1], scale);
    const CornerLanes p2 = snapCorner(corner[2], scale);

    const __m128i minX = _mm_min_epi32(_mm_min_epi32(p0.x, p1.x), p2.x);
    const __m128i maxX = _mm_max_epi32(_mm_max_epi32(p0.x, p1.x), p2.x);
    const __m128i minY = _mm_min_epi32(_mm_min_epi32(p0.y, p1.y), p2.y);
    const __m128i maxY = _mm_max_epi32(_mm_max_epi32(p0.y, p1.y), p2.y);
    const __m128i outside =
        _mm_or_si128(_mm_cmpgt_epi32(_mm_max_epi32(maxX, maxY), _mm_set1_epi32(kLaneLimit - 1)),
                     _mm_cmpgt_epi32(_mm_set1_epi32(1 - kLaneLimit), _mm_min_epi32(minX, minY)));
    if (_mm_movemask_ps(_mm_castsi128_ps(outside))) {
        std::size_t kept = 0;
        for (std::size_t t = 0; t < count; ++t) {
            const ScreenVertex* const* c = corners + 3 * t;
            kept += setupTriangle(*c[0], *c[1], *c[2], cull, scissor, out[kept]);
        }
        return kept;
    }

    // Corners 1 and 2 from corner 0, and twice the signed area in subpixels squared, positive
    // when clockwise on screen.
    const __m128i rx1 = _mm_sub_epi32(p1.x, p0.x);
    const __m128i ry1 = _mm_sub_epi32(p1.y, p0.y);
    const __m128i rx2 = _mm_sub_epi32(p2.x, p0.x);
    const __m128i ry2 = _mm_sub_epi32(p2.y, p0.y);
    const __m256d area =
        _mm256_sub_pd(_mm256_mul_pd(_mm256_cvtepi32_pd(rx1), _mm256_cvtepi32_pd(ry2)),
                      _mm256_mul_pd(_mm256_cvtepi32_pd(rx2), _mm256_cvtepi32_pd(ry1)));
    const int zero = _mm256_movemask_pd(_mm256_cmp_pd(area, _mm256_setzero_pd(), _CMP_EQ_OQ));
    // Sign bits; a zero area's does not matter, as it is dropped.
    const int negative = _mm256_movemask_pd(area);
    int culled = zero;
    if (cull == Cull::Clockwise) culled |= ~negative;
    if (cull == Cull::CounterClockwise) culled |= negative;

    // The box in pixels, as setupTriangle rounds it, inside the scissor.
    const __m128i boxMinX = _mm_max_epi32(
        _mm_set1_epi32(scissor.left),
        _mm_srai_epi32(_mm_add_epi32(minX, _mm_set1_epi32(kSubpixelScale - 1)), kSubpixelBits));
    const __m128i boxMaxX =
        _mm_min_epi32(_mm_set1_epi32(scissor.right - 1), _mm_srai_epi32(maxX, kSubpixelBits));
    const __m128i boxMinY = _mm_max_epi32(
        _mm_set1_epi32(scissor.top),
        _mm_srai_epi32(_mm_add_epi32(minY, _mm_set1_epi32(kSubpixelScale - 1)), kSubpixelBits));
    const __m128i boxMaxY =
        _mm_min_epi32(_mm_set1_epi32(scissor.bottom - 1),
                      _mm_srai_epi32(_mm_sub_epi32(maxY, _mm_set1_epi32(1)), kSubpixelBits));
    const __m128i empty =
        _mm_or_si128(_mm_cmpgt_epi32(boxMinX, boxMaxX), _mm_cmpgt_epi32(boxMinY, boxMaxY));
    const int kept = ~(culled | _mm_movemask_ps(_mm_castsi128_ps(empty))) & ((1 << count) - 1);
    if (!kept) return 0;

    // Clockwise: corners 1 and 2 trade places where the area is negative.
    const __m128 swap = _mm256_cvtpd_ps(area);
    const auto pick = [swap](__m128i ifClockwise, __m128i otherwise) SETUP_AVX2 {
        return _mm_castps_si128(
            _mm_blendv_ps(_mm_castsi128_ps(ifClockwise), _mm_castsi128_ps(otherwise), swap));
    };
    const __m128i x1 = pick(p1.x, p2.x);
    const __m128i y1 = pick(p1.y, p2.y);
    const __m128i x2 = pick(p2.x, p1.x);
    const __m128i y2 = pick(p2.y, p1.y);
    const EdgeLanes e0 = edgeLanes(p0.x, p0.y, x1, y1);
    const EdgeLanes e1 = edgeLanes(x1, y1, x2, y2);
    const EdgeLanes e2 = edgeLanes(x2, y2, p0.x, p0.y);
    const Columns edges01 = transpose(e0.a, e0.b, e0.c, e1.a);
    const Columns edges12 = transpose(e1.b, e1.c, e2.a, e2.b);
    const __m128i lastLow = _mm256_castsi256_si128(e2.c);
    const __m128i lastHigh = _mm256_extracti128_si256(e2.c, 1);

    const __m128i box01 = _mm_unpacklo_epi32(boxMinX, boxMaxX);
    const __m128i box23 = _mm_unpackhi_epi32(boxMinX, boxMaxX);
    const __m128i boxY01 = _mm_unpacklo_epi32(boxMinY, boxMaxY);
    const __m128i boxY23 = _mm_unpackhi_epi32(boxMinY, boxMaxY);
    const __m128i box[4] = {_mm_unpacklo_epi64(box01, boxY01), _mm_unpackhi_epi64(box01, boxY01),
                            _mm_unpacklo_epi64(box23, boxY23), _mm_unpackhi_epi64(box23, boxY23)};

    // The planes go through the snapped positions (see setupTriangle), in pixels.
    const __m128 toPixels = _mm_set1_ps(1.0f / kSubpixelScale);
    const __m128 x0 = _mm_mul_ps(_mm_cvtepi32_ps(p0.x), toPixels);
    const __m128 y0 = _mm_mul_ps(_mm_cvtepi32_ps(p0.y), toPixels);
    const __m128 origin01 = _mm_unpacklo_ps(x0, y0);
    const __m128 origin23 = _mm_unpackhi_ps(x0, y0);
    const __m128 stepX1 = _mm_mul_ps(_mm_cvtepi32_ps(pick(rx1, rx2)), toPixels);
    const __m128 stepY1 = _mm_mul_ps(_mm_cvtepi32_ps(pick(ry1, ry2)), toPixels);
    const __m128 stepX2 = _mm_mul_ps(_mm_cvtepi32_ps(pick(rx2, rx1)), toPixels);
    const __m128 stepY2 = _mm_mul_ps(_mm_cvtepi32_ps(pick(ry2, ry1)), toPixels);
    const __m128 invArea = _mm256_cvtpd_ps(
        _mm256_div_pd(_mm256_set1_pd(static_cast<double>(kSubpixelScale) * kSubpixelScale),
                      _mm256_andnot_pd(_mm256_set1_pd(-0.0), area)));

    std::size_t written = 0;
    const auto write = [&]<int T>() SETUP_AVX2 {
        if (!(kept & (1 << T))) return;
        Triangle& o = out[written++];
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(at<0>(o)), edges01.column[T]);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(at<32>(o)), edges12.column[T]);
        const __m128i last = T < 2 ? lastLow : lastHigh;
        if constexpr (T % 2 == 0) {
            _mm_storel_epi64(reinterpret_cast<__m128i*>(at<64>(o)), last);
        } else {
            _mm_storeh_pd(reinterpret_cast<double*>(at<64>(o)), _mm_castsi128_pd(last));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at<offsetof(Triangle, minX)>(o)), box[T]);
        const __m128 origin = T < 2 ? origin01 : origin23;
        if constexpr (T % 2 == 0) {
            _mm_storel_pi(reinterpret_cast<__m64*>(at<offsetof(Triangle, x0)>(o)), origin);
        } else {
            _mm_storeh_pi(reinterpret_cast<__m64*>(at<offsetof(Triangle, x0)>(o)), origin);
        }

        // The planes as setUp in TriangleSetup.cpp works them out, the same operations in the
        // same order.
        const bool clockwise = !(negative & (1 << T));
        const __m128 a0 = _mm_loadu_ps(&corner[0][T]->z);
        const __m128 a1 = _mm_loadu_ps(&corner[clockwise ? 1 : 2][T]->z);
        const __m128 a2 = _mm_loadu_ps(&corner[clockwise ? 2 : 1][T]->z);
        const __m128 dx1 = broadcastLane<T>(stepX1);
        const __m128 dy1 = broadcastLane<T>(stepY1);
        const __m128 dx2 = broadcastLane<T>(stepX2);
        const __m128 dy2 = broadcastLane<T>(stepY2);
        const __m128 inv = broadcastLane<T>(invArea);
        const __m128 da1 = _mm_sub_ps(a1, a0);
        const __m128 da2 = _mm_sub_ps(a2, a0);
        const __m128 dx = _mm_mul_ps(_mm_sub_ps(_mm_mul_ps(da1, dy2), _mm_mul_ps(da2, dy1)), inv);
        const __m128 dy = _mm_mul_ps(_mm_sub_ps(_mm_mul_ps(da2, dx1), _mm_mul_ps(da1, dx2)), inv);
        _mm_storeu_ps(reinterpret_cast<float*>(at<offsetof(Triangle, z0)>(o)), a0);
        _mm_storeu_ps(reinterpret_cast<float*>(at<offsetof(Triangle, z)>(o)),
                      _mm_unpacklo_ps(dx, dy));
        const __m128 at1 = _mm_add_ps(_mm_add_ps(a0, _mm_mul_ps(dx, dx1)), _mm_mul_ps(dy, dy1));
        const __m128 at2 = _mm_add_ps(_mm_add_ps(a0, _mm_mul_ps(dx, dx2)), _mm_mul_ps(dy, dy2));
        // Overlapping whole-lane stores, in this order, as setUp makes them.
        _mm_storeu_ps(reinterpret_cast<float*>(at<offsetof(Triangle, corner2) - sizeof(float)>(o)),
                      at2);
        _mm_storeu_ps(reinterpret_cast<float*>(at<offsetof(Triangle, corner1) - sizeof(float)>(o)),
                      at1);
        _mm_storeu_ps(reinterpret_cast<float*>(at<offsetof(Triangle, uq)>(o)),
                      _mm_unpackhi_ps(dx, dy));
    };
    write.template operator()<0>();
    write.template operator()<1>();
    write.template operator()<2>();
    write.template operator()<3>();
    return written;
}

__attribute__((target("avx2"))) std::size_t setupTrianglesAvx2(const ScreenVertex* const* corners,
                                                               std::size_t count, Cull cull,
                                                               const Scissor& scissor,
                                                               Triangle* out) noexcept {
    std::size_t kept = 0;
    for (std::size_t first = 0; first < count; first += 4) {
        kept += setUpFour(corners + 3 * first, std::min<std::size_t>(4, count - first), cull,
                          scissor, out + kept);
    }
    return kept;
}

}  // namespace

SetupTrianglesFunction selectAvx2SetupTriangles() noexcept {
    return __builtin_cpu_supports("avx2") ? &setupTrianglesAvx2 : nullptr;
}

#else

SetupTrianglesFunction selectAvx2SetupTriangles() noexcept {
    return nullptr;
}

#endif

}  // namespace platform::d3d9
