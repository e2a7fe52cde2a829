#include "d3d9/RasterizerAvx2.h"

#include "d3d9/Magnification.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#endif

namespace platform::d3d9 {

#if defined(__x86_64__) || defined(__i386__)

namespace {

#define D3D9_AVX2 __attribute__((target("avx2"), always_inline))

// What the lanes look up by mip level (see LevelLayout), sixteen entries in two registers.
struct Entries {
    __m256i low;   // levels 0-7
    __m256i high;  // levels 8-15
};

struct LevelTable {
    Entries width;
    Entries height;
    Entries offset;
};

D3D9_AVX2 inline Entries load2(const std::int32_t (&entries)[kMaxMipLevels]) {
    static_assert(kMaxMipLevels == 16);
    return {_mm256_load_si256(reinterpret_cast<const __m256i*>(entries)),
            _mm256_load_si256(reinterpret_cast<const __m256i*>(entries + 8))};
}

// table[level] in each lane, from a sixteen-entry table held in two registers.
D3D9_AVX2 inline __m256i lookUp(const Entries& table, __m256i level) {
    const __m256i high = _mm256_cmpgt_epi32(level, _mm256_set1_epi32(7));
    return _mm256_blendv_epi8(_mm256_permutevar8x32_epi32(table.low, level),
                              _mm256_permutevar8x32_epi32(table.high, level), high);
}

// The triangle's gradients and the sampler's constants, broadcast: what the coordinates need.
struct Gradients {
    __m256 uqdx, vqdx, qdx, uqdy, vqdy, qdy;
    __m256 width0, height0;
};

// The first level's sides when both are powers of two: what sampling it with masks and shifts in
// place of wrapping compares and multiplies needs.
struct PowerOfTwoLevel {
    __m256 scaleU, scaleV;  // 256 x the sides: texel coordinates in 1/256 texels
    __m256i maskX, maskY;   // the sides minus one
    __m128i rowShift;       // log2 of the width
    __m256i offset;
    // For the window of texels, which addresses its rows from scalars:
    bool windowed;   // at least sixteen texels wide
    int lastWindow;  // the last x where nine texels of a row start
    int lastY;       // maskY's lanes
    int shift;       // rowShift's count
    int firstTexel;  // offset's lanes
};

// The draw's constants: what sampling the queued pixels needs.
struct DrawLanes {
    LevelTable table;
    __m256 firstLevel, lastLevel;
    __m256i firstIndex, lastIndex;
    __m256i firstWidth, firstHeight, firstOffset;  // of the first level, in every lane
    bool firstPowerOfTwo;
    PowerOfTwoLevel first;  // with firstPowerOfTwo only
    __m256i diffuse;  // the modulating colour per 16-bit channel, 255 counted as 256
    MagnificationBound magnification;
    __m256 bias;  // the sampler's level-of-detail bias
};

// floorToInt's rounding toward minus infinity, kept in float: the texel coordinate's whole part
// and its fraction both come from it. Out-of-range lanes and NaN reach the integer conversion
// as they would in the scalar code, and convert alike.
D3D9_AVX2 inline __m256 floor8(__m256 x) { return _mm256_floor_ps(x); }

D3D9_AVX2 inline __m256 wrapUnit8(__m256 u) {
    const __m256 inside = _mm256_and_ps(_mm256_cmp_ps(u, _mm256_set1_ps(-1.0e6f), _CMP_GT_OQ),
                                        _mm256_cmp_ps(u, _mm256_set1_ps(1.0e6f), _CMP_LT_OQ));
    return _mm256_and_ps(_mm256_sub_ps(u, floor8(u)), inside);
}

// Eight texels' channels widened to 16 bits in place, with masks and shifts rather than byte
// unpacks, which would all queue for the one port that shuffles: `even` holds each texel's
// blue and red, `odd` its green and alpha.
struct Wide {
    __m256i even, odd;
};

D3D9_AVX2 inline Wide widen(__m256i texels) {
    return {_mm256_and_si256(texels, _mm256_set1_epi16(0x00FF)), _mm256_srli_epi16(texels, 8)};
}

D3D9_AVX2 inline __m256i narrow(const Wide& channels) {
    return _mm256_or_si256(channels.even, _mm256_slli_epi16(channels.odd, 8));
}

// Eight 8-bit fractions, one a texel, as 128 x the fraction in both halves of the texel's 32
// bits: what lerp16 multiplies both of its widened registers by.
D3D9_AVX2 inline __m256i weights(__m256i f) {
    return _mm256_or_si256(_mm256_slli_epi32(f, 7), _mm256_slli_epi32(f, 23));
}

// lerpTexel's (a*(256-f) + b*f) >> 8, as a + floor((b-a)*f / 256): the high half of the product
// of 2(b-a) and 128f, both inside 16 signed bits. The result is again 8 bits a channel, kept
// widened, so the next blend takes it without a narrowing and a widening.
D3D9_AVX2 inline __m256i lerp16(__m256i a, __m256i b, __m256i weight) {
    const __m256i difference = _mm256_sub_epi16(b, a);
    return _mm256_add_epi16(
        a, _mm256_mulhi_epi16(_mm256_add_epi16(difference, difference), weight));
}

D3D9_AVX2 inline Wide lerpWide(const Wide& a, const Wide& b, __m256i weight) {
    return {lerp16(a.even, b.even, weight), lerp16(a.odd, b.odd, weight)};
}

// lerpTexel on eight texel pairs.
D3D9_AVX2 inline __m256i lerpTexels(__m256i a, __m256i b, __m256i f) {
    return narrow(lerpWide(widen(a), widen(b), weights(f)));
}

// Bilinear: the two rows blended across with fx, then together with fy.
D3D9_AVX2 inline __m256i bilinear(__m256i topLeft, __m256i topRight, __m256i bottomLeft,
                                  __m256i bottomRight, __m256i fx, __m256i fy) {
    const __m256i across = weights(fx);
    return narrow(lerpWide(lerpWide(widen(topLeft), widen(topRight), across),
                           lerpWide(widen(bottomLeft), widen(bottomRight), across), weights(fy)));
}

D3D9_AVX2 inline __m256i gatherTexels(const std::uint32_t* base, __m256i index) {
    return _mm256_i32gather_epi32(reinterpret_cast<const int*>(base), index, 4);
}

// The texel pairs (row[x], row[x + 1]) of eight lanes, as two registers of eight first and eight
// second texels: four 64-bit loads a register pair in place of eight 32-bit ones.
D3D9_AVX2 inline void gatherPairs(const std::uint32_t* base, __m256i index, __m256i& first,
                                  __m256i& second) {
    // Lanes 0, 1, 4, 5 and 2, 3, 6, 7, so that the shuffles below put all eight back in order.
    const __m128i a = _mm256_castsi256_si128(
        _mm256_permutevar8x32_epi32(index, _mm256_setr_epi32(0, 1, 4, 5, 0, 0, 0, 0)));
    const __m128i b = _mm256_castsi256_si128(
        _mm256_permutevar8x32_epi32(index, _mm256_setr_epi32(2, 3, 6, 7, 0, 0, 0, 0)));
    const auto* at = reinterpret_cast<const long long*>(base);
    const __m256 pa = _mm256_castsi256_ps(_mm256_i32gather_epi64(at, a, 4));
    const __m256 pb = _mm256_castsi256_ps(_mm256_i32gather_epi64(at, b, 4));
    first = _mm256_castps_si256(_mm256_shuffle_ps(pa, pb, _MM_SHUFFLE(2, 0, 2, 0)));
    second = _mm256_castps_si256(_mm256_shuffle_ps(pa, pb, _MM_SHUFFLE(3, 1, 3, 1)));
}

// The bilinear blend of the texel pairs (x0, x1) on rows row0 and row1 (offsets of their first
// texels from `base`), weighed by the 8-bit fractions fx and fy.
D3D9_AVX2 inline __m256i filterTexels(const std::uint32_t* base, __m256i x0, __m256i x1,
                                      __m256i row0, __m256i row1, __m256i fx, __m256i fy,
                                      bool sideBySide) {
    if (sideBySide) {
        __m256i topLeft, topRight, bottomLeft, bottomRight;
        gatherPairs(base, _mm256_add_epi32(row0, x0), topLeft, topRight);
        gatherPairs(base, _mm256_add_epi32(row1, x0), bottomLeft, bottomRight);
        return bilinear(topLeft, topRight, bottomLeft, bottomRight, fx, fy);
    }
    return bilinear(gatherTexels(base, _mm256_add_epi32(row0, x0)),
                    gatherTexels(base, _mm256_add_epi32(row0, x1)),
                    gatherTexels(base, _mm256_add_epi32(row1, x0)),
                    gatherTexels(base, _mm256_add_epi32(row1, x1)), fx, fy);
}

// sampleLinear with each lane's level given by its width, height and offset from level 0, for
// coordinates already wrapped to the unit square.
D3D9_AVX2 inline __m256i sampleLinear8(const std::uint32_t* base, __m256i width, __m256i height,
                                       __m256i offset, __m256 u, __m256 v) {
    const __m256 half = _mm256_set1_ps(0.5f);
    const __m256 s = _mm256_sub_ps(_mm256_mul_ps(u, _mm256_cvtepi32_ps(width)), half);
    const __m256 t = _mm256_sub_ps(_mm256_mul_ps(v, _mm256_cvtepi32_ps(height)), half);
    const __m256 sFloor = floor8(s);
    const __m256 tFloor = floor8(t);
    __m256i x0 = _mm256_cvttps_epi32(sFloor);
    __m256i y0 = _mm256_cvttps_epi32(tFloor);
    const __m256 scale = _mm256_set1_ps(256.0f);
    const __m256i fx = _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_sub_ps(s, sFloor), scale));
    const __m256i fy = _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_sub_ps(t, tFloor), scale));
    const __m256i zero = _mm256_setzero_si256();
    const __m256i one = _mm256_set1_epi32(1);
    x0 = _mm256_add_epi32(x0, _mm256_and_si256(_mm256_cmpgt_epi32(zero, x0), width));
    y0 = _mm256_add_epi32(y0, _mm256_and_si256(_mm256_cmpgt_epi32(zero, y0), height));
    __m256i x1 = _mm256_add_epi32(x0, one);
    __m256i y1 = _mm256_add_epi32(y0, one);
    x1 = _mm256_and_si256(x1, _mm256_cmpgt_epi32(width, x1));
    y1 = _mm256_and_si256(y1, _mm256_cmpgt_epi32(height, y1));
    const __m256i row0 = _mm256_add_epi32(offset, _mm256_mullo_epi32(y0, width));
    const __m256i row1 = _mm256_add_epi32(offset, _mm256_mullo_epi32(y1, width));
    // Unless a lane's pair wraps around the row's end, each pair lies side by side.
    const bool sideBySide = _mm256_testc_si256(_mm256_cmpeq_epi32(x1, _mm256_add_epi32(x0, one)),
                                               _mm256_set1_epi32(-1));
    return filterTexels(base, x0, x1, row0, row1, fx, fy, sideBySide);
}

// A power-of-two level's texel pairs for eight lanes: the first texel's column and row, and the
// 8-bit fractions toward the second.
struct TexelLanes {
    __m256i x0, y0, fx, fy;
};

D3D9_AVX2 inline TexelLanes texelLanesOf(const PowerOfTwoLevel& level, __m256i s, __m256i t) {
    const __m256i fraction = _mm256_set1_epi32(0xFF);
    return {_mm256_and_si256(_mm256_srai_epi32(s, 8), level.maskX),
            _mm256_and_si256(_mm256_srai_epi32(t, 8), level.maskY), _mm256_and_si256(s, fraction),
            _mm256_and_si256(t, fraction)};
}

// sampleLinear8's coordinates on a level whose sides are powers of two, with the same result:
// there u * width is exact, so (u * width - 0.5) * 256, the coordinate in 1/256 texels, is
// u * 256 width - 128 rounded once; its floor holds the texel in the bits above the eighth and,
// below them, the fraction the float path truncates to 8 bits. Wrapping is then a mask, even for
// NaN or huge stale lanes, whose conversion gives 0x80000000. `Scaled`: u and v come multiplied
// by 256 x the sides already.
template <bool Scaled>
D3D9_AVX2 inline TexelLanes texelLanes(const PowerOfTwoLevel& level, __m256 u, __m256 v) {
    const __m256 centre = _mm256_set1_ps(128.0f);
    const __m256 s = _mm256_sub_ps(Scaled ? u : _mm256_mul_ps(u, level.scaleU), centre);
    const __m256 t = _mm256_sub_ps(Scaled ? v : _mm256_mul_ps(v, level.scaleV), centre);
    // With no sign bit set, truncation is the floor (and converts NaN and huge values alike):
    // nearly every group takes that branch, and the loop no longer waits on the rounding.
    if (_mm256_movemask_ps(_mm256_or_ps(s, t)) == 0) {
        return texelLanesOf(level, _mm256_cvttps_epi32(s), _mm256_cvttps_epi32(t));
    }
    return texelLanesOf(level, _mm256_cvttps_epi32(floor8(s)), _mm256_cvttps_epi32(floor8(t)));
}

// The bilinear samples of `at` with a gather per texel or texel pair.
D3D9_AVX2 inline __m256i gatherPowerOfTwo8(const std::uint32_t* base, const PowerOfTwoLevel& level,
                                           const TexelLanes& at) {
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i x1 = _mm256_and_si256(_mm256_add_epi32(at.x0, one), level.maskX);
    const __m256i y1 = _mm256_and_si256(_mm256_add_epi32(at.y0, one), level.maskY);
    const __m256i row0 = _mm256_add_epi32(level.offset, _mm256_sll_epi32(at.y0, level.rowShift));
    const __m256i row1 = _mm256_add_epi32(level.offset, _mm256_sll_epi32(y1, level.rowShift));
    const __m256i atRowEnd = _mm256_cmpeq_epi32(at.x0, level.maskX);
    return filterTexels(base, at.x0, x1, row0, row1, at.fx, at.fy,
                        _mm256_testz_si256(atRowEnd, atRowEnd));
}

// Eight texels from `row` on, in the order `index` picks them.
D3D9_AVX2 inline __m256i permuted(const std::uint32_t* row, __m256i index) {
    return _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row)),
                                       index);
}

// Where a group's window of texels starts: three texels left of its first lane's, on that
// lane's row of texels.
struct WindowOrigin {
    int left;
    int top;
};

// Magnified, the texel pairs of the `wanted` lanes mostly lie on one pair of rows, within eight
// texels of the first lane's: then four loads (each row's eight first texels of a pair and
// the eight beside them) and four permutes fetch them. False, with `texels` untouched, where
// they do not. `dx` holds each lane's texel less `origin.left`.
D3D9_AVX2 inline bool windowPowerOfTwo8(const std::uint32_t* base, const PowerOfTwoLevel& level,
                                        const TexelLanes& at, __m256i wanted, WindowOrigin origin,
                                        __m256i dx, __m256i top, __m256i& texels) {
    // Where the window leaves the row the gathers take over.
    if (static_cast<unsigned>(origin.left) > static_cast<unsigned>(level.lastWindow)) return false;
    // dx in 0..7, and the first lane's row.
    const __m256i outside = _mm256_or_si256(_mm256_srli_epi32(dx, 3), _mm256_xor_si256(at.y0, top));
    if (!_mm256_testz_si256(outside, wanted)) return false;
    const std::uint32_t* upper =
        base + level.firstTexel + origin.left + (origin.top << level.shift);
    const std::uint32_t* lower = base + level.firstTexel + origin.left +
                                 (((origin.top + 1) & level.lastY) << level.shift);
    texels = bilinear(permuted(upper, dx), permuted(upper + 1, dx), permuted(lower, dx),
                      permuted(lower + 1, dx), at.fx, at.fy);
    return true;
}

// The window of the first lane's texel. Each lane's offset in it comes from that texel in the
// vector registers, not from `left`: the permutes need not wait for a round trip.
D3D9_AVX2 inline bool windowPowerOfTwo8(const std::uint32_t* base, const PowerOfTwoLevel& level,
                                        const TexelLanes& at, __m256i wanted, __m256i& texels) {
    const WindowOrigin origin{_mm256_cvtsi256_si32(at.x0) - 3, _mm256_cvtsi256_si32(at.y0)};
    const __m256i dx =
        _mm256_add_epi32(_mm256_sub_epi32(at.x0, _mm256_broadcastd_epi32(
                                                     _mm256_castsi256_si128(at.x0))),
                         _mm256_set1_epi32(3));
    return windowPowerOfTwo8(base, level, at, wanted, origin, dx,
                             _mm256_broadcastd_epi32(_mm256_castsi256_si128(at.y0)), texels);
}

// The window at an origin found ahead, whose loads need not wait for the lanes' coordinates.
D3D9_AVX2 inline bool windowPowerOfTwo8(const std::uint32_t* base, const PowerOfTwoLevel& level,
                                        const TexelLanes& at, __m256i wanted, WindowOrigin origin,
                                        __m256i& texels) {
    return windowPowerOfTwo8(base, level, at, wanted, origin,
                             _mm256_sub_epi32(at.x0, _mm256_set1_epi32(origin.left)),
                             _mm256_set1_epi32(origin.top), texels);
}

// sampleLinear8 on a level whose sides are powers of two, with the same result; `wanted` marks
// the lanes whose samples count, and `origin`, where given, where the window is known to start.
template <bool Scaled>
D3D9_AVX2 inline __m256i sampleLinearPowerOfTwo8(const std::uint32_t* base,
                                                 const PowerOfTwoLevel& level, __m256 u,
                                                 __m256 v, __m256i wanted,
                                                 const WindowOrigin* origin = nullptr) {
    const TexelLanes at = texelLanes<Scaled>(level, u, v);
    __m256i texels;
    if (level.windowed && (origin ? windowPowerOfTwo8(base, level, at, wanted, *origin, texels)
                                  : windowPowerOfTwo8(base, level, at, wanted, texels))) {
        return texels;
    }
    return gatherPowerOfTwo8(base, level, at);
}

D3D9_AVX2 inline __m256i sampleLinear8(const std::uint32_t* base, const LevelTable& table,
                                       __m256i level, __m256 u, __m256 v) {
    return sampleLinear8(base, lookUp(table.width, level), lookUp(table.height, level),
                         lookUp(table.offset, level), u, v);
}

// fastLog2 and levelOfDetail, lane by lane.
D3D9_AVX2 inline __m256 levelOfDetail8(__m256 rho2, __m256 bias) {
    const __m256i bits = _mm256_castps_si256(rho2);
    const __m256 exponent = _mm256_cvtepi32_ps(_mm256_sub_epi32(
        _mm256_and_si256(_mm256_srli_epi32(bits, 23), _mm256_set1_epi32(0xFF)),
        _mm256_set1_epi32(127)));
    const __m256 mantissa = _mm256_castsi256_ps(
        _mm256_or_si256(_mm256_and_si256(bits, _mm256_set1_epi32(0x007FFFFF)),
                        _mm256_set1_epi32(0x3F800000)));
    const __m256 t = _mm256_sub_ps(mantissa, _mm256_set1_ps(1.0f));
    const __m256 log2 = _mm256_add_ps(
        exponent, _mm256_mul_ps(t, _mm256_sub_ps(_mm256_set1_ps(1.3398500f),
                                                 _mm256_mul_ps(_mm256_set1_ps(0.3398500f), t))));
    __m256 lod = _mm256_add_ps(_mm256_mul_ps(_mm256_set1_ps(0.5f), log2), bias);
    const __m256 notHuge = _mm256_cmp_ps(rho2, _mm256_set1_ps(1.0e20f), _CMP_LT_OQ);
    lod = _mm256_blendv_ps(_mm256_set1_ps(64.0f), lod, notHuge);
    const __m256 notTiny = _mm256_cmp_ps(rho2, _mm256_set1_ps(1.0e-20f), _CMP_GT_OQ);
    return _mm256_blendv_ps(_mm256_set1_ps(-64.0f), lod, notTiny);
}

// d(a)/dx of a = (a/w) / (1/w), in texels of a side `size` long.
D3D9_AVX2 inline __m256 derivative8(__m256 dAttribute, __m256 value, __m256 dq, __m256 r,
                                    __m256 size) {
    return _mm256_mul_ps(_mm256_mul_ps(_mm256_sub_ps(dAttribute, _mm256_mul_ps(value, dq)), r),
                         size);
}

// Texture coordinates of eight pixels, not yet wrapped, and the squared length of their longer
// step in level-0 texels, which gives the level of detail: the first half of TextureShade. The
// queue holds them so, and the wrapping and the logarithm run once per eight queued pixels, not
// once per group however few of its lanes are inside.
struct Coordinates {
    __m256 u, v, rho2;
};

D3D9_AVX2 inline Coordinates coordinates8(const Gradients& c, __m256 q, __m256 uq, __m256 vq) {
    const __m256 r = _mm256_div_ps(_mm256_set1_ps(1.0f), q);
    const __m256 u = _mm256_mul_ps(uq, r);
    const __m256 v = _mm256_mul_ps(vq, r);
    const __m256 dudx = derivative8(c.uqdx, u, c.qdx, r, c.width0);
    const __m256 dvdx = derivative8(c.vqdx, v, c.qdx, r, c.height0);
    const __m256 dudy = derivative8(c.uqdy, u, c.qdy, r, c.width0);
    const __m256 dvdy = derivative8(c.vqdy, v, c.qdy, r, c.height0);
    const __m256 alongX = _mm256_add_ps(_mm256_mul_ps(dudx, dudx), _mm256_mul_ps(dvdx, dvdx));
    const __m256 alongY = _mm256_add_ps(_mm256_mul_ps(dudy, dudy), _mm256_mul_ps(dvdy, dvdy));
    return {u, v, _mm256_max_ps(alongY, alongX)};
}

// The coordinates of a triangle magnified throughout, sampled from the first level with the
// magnification filter as any level <= 0 is: the step is not needed.
D3D9_AVX2 inline Coordinates magnifiedCoordinates8(__m256 q, __m256 uq, __m256 vq) {
    const __m256 r = _mm256_div_ps(_mm256_set1_ps(1.0f), q);
    return {_mm256_mul_ps(uq, r), _mm256_mul_ps(vq, r), _mm256_setzero_ps()};
}

// The modulation and the opaque alpha of the written pixel.
template <bool Modulate>
D3D9_AVX2 inline __m256i finishTexels(__m256i texel, const DrawLanes& c) {
    if constexpr (Modulate) {
        const __m256i zero = _mm256_setzero_si256();
        const __m256i low =
            _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(texel, zero), c.diffuse), 8);
        const __m256i high =
            _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(texel, zero), c.diffuse), 8);
        texel = _mm256_packus_epi16(low, high);
    }
    return _mm256_or_si256(texel, _mm256_set1_epi32(static_cast<int>(0xFF000000u)));
}

// Eight magnified pixels: the first level, one bilinear sample each, then the modulation.
// `Scaled`: a power-of-two first level's u and v come multiplied by 256 x its sides.
template <bool Modulate, bool Scaled = false>
D3D9_AVX2 inline __m256i sampleMagnified8(const std::uint32_t* base, const DrawLanes& c, __m256 u,
                                          __m256 v, __m256i wanted,
                                          const WindowOrigin* origin = nullptr) {
    return finishTexels<Modulate>(
        c.firstPowerOfTwo ? sampleLinearPowerOfTwo8<Scaled>(base, c.first, u, v, wanted, origin)
                          : sampleLinear8(base, c.firstWidth, c.firstHeight, c.firstOffset, u, v),
        c);
}

// The second half: sampleTexture with linear filters, then the modulation.
template <bool Modulate>
D3D9_AVX2 inline __m256i sample8(const std::uint32_t* base, const DrawLanes& c, __m256 u,
                                 __m256 v, __m256 lod) {
    if (_mm256_movemask_ps(_mm256_cmp_ps(lod, _mm256_setzero_ps(), _CMP_GT_OQ)) == 0) {
        return sampleMagnified8<Modulate>(base, c, u, v, _mm256_set1_epi32(-1));
    }
    // The level pair and the blend between them, as sampleTexture picks them: magnified lanes
    // and lanes past the chain's end read one level with no blend.
    const __m256 clamped = _mm256_max_ps(lod, c.firstLevel);
    const __m256 pastEnd = _mm256_cmp_ps(clamped, c.lastLevel, _CMP_GE_OQ);
    const __m256 magnified = _mm256_cmp_ps(lod, _mm256_setzero_ps(), _CMP_LE_OQ);
    const __m256i whole = _mm256_cvttps_epi32(clamped);
    __m256i fraction = _mm256_cvttps_epi32(
        _mm256_mul_ps(_mm256_sub_ps(clamped, _mm256_cvtepi32_ps(whole)), _mm256_set1_ps(256.0f)));
    __m256i level = _mm256_castps_si256(_mm256_blendv_ps(
        _mm256_castsi256_ps(whole), _mm256_castsi256_ps(c.lastIndex), pastEnd));
    level = _mm256_castps_si256(_mm256_blendv_ps(_mm256_castsi256_ps(level),
                                                 _mm256_castsi256_ps(c.firstIndex), magnified));
    fraction = _mm256_andnot_si256(_mm256_castps_si256(_mm256_or_ps(pastEnd, magnified)), fraction);

    __m256i texel = sampleLinear8(base, c.table, level, u, v);
    if (!_mm256_testz_si256(fraction, fraction)) {
        const __m256i next = _mm256_min_epi32(_mm256_add_epi32(level, _mm256_set1_epi32(1)),
                                              c.lastIndex);
        texel = lerpTexels(texel, sampleLinear8(base, c.table, next, u, v), fraction);
    }
    return finishTexels<Modulate>(texel, c);
}

// For each 8-bit mask, the lanes it selects in order, three bits each: the permutation that
// packs them to the bottom.
struct PackTable {
    constexpr PackTable() {
        for (unsigned mask = 0; mask < 256; ++mask) {
            std::uint32_t packed = 0;
            int count = 0;
            for (unsigned lane = 0; lane < 8; ++lane) {
                if (mask & (1u << lane)) packed |= lane << (3 * count++);
            }
            lanes[mask] = packed;
        }
    }
    std::uint32_t lanes[256] = {};
};
constexpr PackTable kPack;

// The queue held in registers while a triangle is walked: writing it to memory and reading it
// back at once would stall on every group of eight.
struct Lanes {
    __m256 u, v, rho2;
    __m256i pixel;
    int count;
};

D3D9_AVX2 inline Lanes loadLanes(const PixelQueue& queue) {
    return {_mm256_load_ps(queue.u), _mm256_load_ps(queue.v), _mm256_load_ps(queue.rho2),
            _mm256_load_si256(reinterpret_cast<const __m256i*>(queue.pixel)), queue.count};
}

D3D9_AVX2 inline void storeLanes(const Lanes& lanes, PixelQueue& queue) {
    _mm256_store_ps(queue.u, lanes.u);
    _mm256_store_ps(queue.v, lanes.v);
    _mm256_store_ps(queue.rho2, lanes.rho2);
    _mm256_store_si256(reinterpret_cast<__m256i*>(queue.pixel), lanes.pixel);
    queue.count = lanes.count;
}

// Samples the first `count` pixels of `lanes` and writes them.
template <bool Modulate>
D3D9_AVX2 inline void drain(const Lanes& lanes, int count, const PixelState& s,
                            const DrawLanes& c) {
    const __m256i colour =
        sample8<Modulate>(s.sampler.levels[0].texels, c, wrapUnit8(lanes.u), wrapUnit8(lanes.v),
                          levelOfDetail8(lanes.rho2, c.bias));
    // One plain store a pixel, in queue order, as a pixel queued twice needs: the eight come
    // from several rows of small triangles, and a masked store per run of neighbours is a long
    // microcoded sequence on some processors. A full queue, the common case, unrolled.
    alignas(32) std::uint32_t texels[8];
    alignas(32) std::int32_t pixels[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(texels), colour);
    _mm256_store_si256(reinterpret_cast<__m256i*>(pixels), lanes.pixel);
    if (count == 8) {
        for (int i = 0; i < 8; ++i) s.colour[pixels[i]] = texels[i];
        return;
    }
    for (int i = 0; i < count; ++i) s.colour[pixels[i]] = texels[i];
}

// Appends the lanes of `at` and `pixel` that `mask` selects, in lane order, and samples the
// queue's eight when it fills. Lanes past the count hold stale values; the sampler keeps any
// float, NaN included, inside the texture.
template <bool Modulate>
D3D9_AVX2 inline void push(Lanes& lanes, int mask, const Coordinates& at, __m256i pixel,
                           const PixelState& s, const DrawLanes& c) {
    const __m256i shifts = _mm256_setr_epi32(0, 3, 6, 9, 12, 15, 18, 21);
    const __m256i order = _mm256_srlv_epi32(_mm256_set1_epi32(static_cast<int>(kPack.lanes[mask])),
                                            shifts);  // permutevar reads the low three bits
    // Queue lane j takes new pixel j - count, or, past the eighth, j + 8 - count: the same
    // modulo 8, so one shuffle serves the lanes that fill the queue and those left over.
    const __m256i laneIndex = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i count = _mm256_set1_epi32(lanes.count);
    const __m256i from = _mm256_permutevar8x32_epi32(order, _mm256_sub_epi32(laneIndex, count));
    const __m256 take = _mm256_castsi256_ps(
        _mm256_cmpgt_epi32(laneIndex, _mm256_sub_epi32(count, _mm256_set1_epi32(1))));
    const __m256 u = _mm256_permutevar8x32_ps(at.u, from);
    const __m256 v = _mm256_permutevar8x32_ps(at.v, from);
    const __m256 rho2 = _mm256_permutevar8x32_ps(at.rho2, from);
    const __m256i index = _mm256_permutevar8x32_epi32(pixel, from);
    lanes.u = _mm256_blendv_ps(lanes.u, u, take);
    lanes.v = _mm256_blendv_ps(lanes.v, v, take);
    lanes.rho2 = _mm256_blendv_ps(lanes.rho2, rho2, take);
    lanes.pixel = _mm256_castps_si256(
        _mm256_blendv_ps(_mm256_castsi256_ps(lanes.pixel), _mm256_castsi256_ps(index), take));
    lanes.count += __builtin_popcount(static_cast<unsigned>(mask));
    if (lanes.count < 8) return;
    drain<Modulate>(lanes, 8, s, c);
    lanes = {u, v, rho2, index, lanes.count - 8};
}

// depthValue, lane by lane, as clamps: z <= 0 rounds to at most 0.5 and so to 0, z >= 1 to at
// least 65535.5, and max gives its second operand, 0, for NaN.
D3D9_AVX2 inline __m256i depthValue8(__m256 z) {
    const __m256 scaled =
        _mm256_add_ps(_mm256_mul_ps(z, _mm256_set1_ps(65535.0f)), _mm256_set1_ps(0.5f));
    return _mm256_cvttps_epi32(_mm256_min_ps(_mm256_max_ps(scaled, _mm256_setzero_ps()),
                                             _mm256_set1_ps(65535.0f)));
}

// Depth-tests eight pixels whose stored depths are `old` (`live` marks those in the span), and
// returns those that pass; `updated` gets the depths to store back, packed to 16 bits.
D3D9_AVX2 inline __m256i testDepthLanes(__m128i old, __m256i live, __m256 z, __m128i& updated) {
    const __m256i stored = _mm256_cvtepu16_epi32(old);
    const __m256i value = depthValue8(z);
    const __m256i visible = _mm256_andnot_si256(_mm256_cmpgt_epi32(value, stored), live);
    const __m256i blended = _mm256_blendv_epi8(stored, value, visible);
    updated = _mm256_castsi256_si128(
        _mm256_permute4x64_epi64(_mm256_packus_epi32(blended, blended), 0x08));
    return visible;
}

// The depth test of eight pixels from `depth`, written back. With `whole` the eight lie inside
// the row, and the lanes outside the span are read and written back unchanged: the row is this
// thread's alone.
D3D9_AVX2 inline __m256i testDepthAt(std::uint16_t* lanes, __m256i live, __m256 z) {
    __m128i updated;
    const __m256i visible =
        testDepthLanes(_mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes)), live, z, updated);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), updated);
    return visible;
}

D3D9_AVX2 inline __m256i testDepth8(std::uint16_t* depth, bool whole, int count, __m256i live,
                                    __m256 z) {
    if (whole) return testDepthAt(depth, live, z);
    alignas(16) std::uint16_t edge[8] = {};
    std::memcpy(edge, depth, sizeof(std::uint16_t) * count);
    const __m256i visible = testDepthAt(edge, live, z);
    std::memcpy(depth, edge, sizeof(std::uint16_t) * count);
    return visible;
}

// As testDepthAt for four pixels from `upper` in lanes 0-3 and four from `lower` in lanes 4-7.
D3D9_AVX2 inline __m256i testDepthPairAt(std::uint16_t* upper, std::uint16_t* lower, __m256i live,
                                         __m256 z) {
    __m128i updated;
    const __m256i visible =
        testDepthLanes(_mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(upper)),
                                          _mm_loadl_epi64(reinterpret_cast<const __m128i*>(lower))),
                       live, z, updated);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(upper), updated);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(lower), _mm_unpackhi_epi64(updated, updated));
    return visible;
}

// testDepth8 on two rows' spans of `count` and `lowerCount` pixels; `whole` as there, for the
// four pixels from each span's start.
D3D9_AVX2 inline __m256i testDepthPair(std::uint16_t* upper, std::uint16_t* lower, bool whole,
                                       int count, int lowerCount, __m256i live, __m256 z) {
    if (whole) return testDepthPairAt(upper, lower, live, z);
    alignas(16) std::uint16_t edge[8] = {};
    std::memcpy(edge, upper, sizeof(std::uint16_t) * count);
    std::memcpy(edge + 4, lower, sizeof(std::uint16_t) * lowerCount);
    const __m256i visible = testDepthPairAt(edge, edge + 4, live, z);
    std::memcpy(upper, edge, sizeof(std::uint16_t) * count);
    std::memcpy(lower, edge + 4, sizeof(std::uint16_t) * lowerCount);
    return visible;
}

// Writes the `visible` lanes of `texels` to the pixels from `colour`. With `whole` they all lie
// inside the row, as in testDepth8: the others are read and written back unchanged, cheaper
// than a masked store, which some processors run as a long microcoded sequence.
D3D9_AVX2 inline void storeColour8(std::uint32_t* colour, bool whole, __m256i visible,
                                   __m256i texels) {
    auto* at = reinterpret_cast<__m256i*>(colour);
    if (!whole) {
        _mm256_maskstore_epi32(reinterpret_cast<int*>(colour), visible, texels);
        return;
    }
    _mm256_storeu_si256(at, _mm256_blendv_epi8(_mm256_loadu_si256(at), texels, visible));
}

D3D9_AVX2 inline void storeColour4(std::uint32_t* colour, bool whole, __m128i visible,
                                   __m128i texels) {
    auto* at = reinterpret_cast<__m128i*>(colour);
    if (!whole) {
        _mm_maskstore_epi32(reinterpret_cast<int*>(colour), visible, texels);
        return;
    }
    _mm_storeu_si128(at, _mm_blendv_epi8(_mm_loadu_si128(at), texels, visible));
}

template <bool Modulate>
D3D9_AVX2 inline DrawLanes drawLanes(const PixelState& s) {
    DrawLanes c;
    c.table = {load2(s.layout.width), load2(s.layout.height), load2(s.layout.offset)};
    const int last = s.sampler.levelCount - 1;
    c.magnification = magnificationBoundOf(s.sampler);
    c.bias = _mm256_set1_ps(s.sampler.lodBias);
    c.firstLevel = _mm256_set1_ps(static_cast<float>(s.sampler.firstLevel));
    c.lastLevel = _mm256_set1_ps(static_cast<float>(last));
    c.firstIndex = _mm256_set1_epi32(s.sampler.firstLevel);
    c.lastIndex = _mm256_set1_epi32(last);
    c.firstWidth = _mm256_set1_epi32(s.layout.width[s.sampler.firstLevel]);
    c.firstHeight = _mm256_set1_epi32(s.layout.height[s.sampler.firstLevel]);
    c.firstOffset = _mm256_set1_epi32(s.layout.offset[s.sampler.firstLevel]);
    const int width = s.layout.width[s.sampler.firstLevel];
    const int height = s.layout.height[s.sampler.firstLevel];
    // 256 x the side must stay exact in float and its coordinates inside an int.
    c.firstPowerOfTwo = std::has_single_bit(static_cast<unsigned>(width)) &&
                        std::has_single_bit(static_cast<unsigned>(height)) && width <= 8192 &&
                        height <= 8192;
    if (c.firstPowerOfTwo) {
        c.first.scaleU = _mm256_set1_ps(256.0f * static_cast<float>(width));
        c.first.scaleV = _mm256_set1_ps(256.0f * static_cast<float>(height));
        c.first.maskX = _mm256_set1_epi32(width - 1);
        c.first.maskY = _mm256_set1_epi32(height - 1);
        c.first.rowShift = _mm_cvtsi32_si128(std::countr_zero(static_cast<unsigned>(width)));
        c.first.offset = c.firstOffset;
        c.first.windowed = width >= 16;
        c.first.lastWindow = width - 9;
        c.first.lastY = height - 1;
        c.first.shift = std::countr_zero(static_cast<unsigned>(width));
        c.first.firstTexel = s.layout.offset[s.sampler.firstLevel];
    }
    if constexpr (Modulate) {
        // Blue, green, red, alpha: a texel's bytes in memory.
        alignas(32) std::int16_t channels[16];
        for (int i = 0; i < 16; ++i) {
            const auto d = static_cast<std::int16_t>((s.diffuse >> (8 * (i % 4))) & 0xFF);
            channels[i] = static_cast<std::int16_t>(d + (d >> 7));
        }
        c.diffuse = _mm256_load_si256(reinterpret_cast<const __m256i*>(channels));
    }
    return c;
}

// drawLanes once a draw: kept in the queue from the draw's first triangle until the flush.
template <bool Modulate>
D3D9_AVX2 inline const DrawLanes& drawLanesOf(const PixelState& s, PixelQueue& queue) {
    static_assert(sizeof(DrawLanes) <= sizeof(queue.derived) && alignof(DrawLanes) <= 32);
    if (queue.derivedFor != &s) {
        ::new (queue.derived) DrawLanes(drawLanes<Modulate>(s));
        queue.derivedFor = &s;
    }
    return *std::launder(reinterpret_cast<const DrawLanes*>(queue.derived));
}

// An attribute plane at (fx, fy) from its start, as rowStart computes it.
D3D9_AVX2 inline __m256 plane8(__m256 start, __m256 dx, __m256 dy, __m256 fx, __m256 fy) {
    return _mm256_add_ps(_mm256_add_ps(start, _mm256_mul_ps(dx, fx)), _mm256_mul_ps(dy, fy));
}

// Rows a walk by RowMasks takes at most.
constexpr int kMaskedRows = 64;
// The widest box it takes.
constexpr int kMaskedWidth = 32;

// E(x, y) of an edge at the centre of pixel (x, y).
inline std::int64_t edgeAt(const EdgeFunction& e, int x, int y) noexcept {
    return e.a * (std::int64_t{x} << kSubpixelBits) + e.b * (std::int64_t{y} << kSubpixelBits) +
           e.c;
}

// Whether rows yBegin..yEnd of `t` keep every edge function's value, at every pixel of the
// widest box RowMasks takes, inside 32 bits. Steps of at most 2^22 a pixel, at most 96 pixels
// and rows of them from the start: every value stays under 2^30 when the start's are under 2^28.
inline bool edgesFit32(const Triangle& t, int yBegin, int yEnd) noexcept {
    static_assert(kMaskedWidth + kMaskedRows <= 96);
    constexpr std::int64_t kMaxStep = std::int64_t{1} << 14;
    constexpr std::int64_t kMaxStart = std::int64_t{1} << 28;
    if (yEnd - yBegin >= kMaskedRows) return false;
    bool small = true;
    for (const EdgeFunction& e : t.edge) {
        const std::int64_t start = edgeAt(e, t.minX, yBegin);
        small &= e.a >= -kMaxStep && e.a <= kMaxStep && e.b >= -kMaxStep && e.b <= kMaxStep &&
                 start >= -kMaxStart && start <= kMaxStart;
    }
    return small;
}

// RowWalker's spans for a triangle at most 8 x Vectors pixels wide whose edges fit 32 bits
// (edgesFit32), from its three edge functions evaluated at the pixels of each row from the box's
// left: no divisions to start, and a few vector operations a row.
template <int Vectors>
class RowMasks {
public:
    static constexpr int kWidth = 8 * Vectors;
    static_assert(kWidth <= kMaskedWidth);

    // Works out the masks of rows y..yEnd at once, in a loop that keeps the edge functions in
    // registers: walked row by row along with the pixels, they would go through memory.
    D3D9_AVX2 RowMasks(const Triangle& t, int y, int yEnd) noexcept {
        const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
        __m256i values[Vectors][3];
        __m256i rowSteps[3];
        for (int i = 0; i < 3; ++i) {
            const EdgeFunction& e = t.edge[i];
            const auto start = static_cast<std::int32_t>(edgeAt(e, t.minX, y));
            const auto step = static_cast<std::int32_t>(e.a * kSubpixelScale);
            const __m256i first = _mm256_add_epi32(
                _mm256_set1_epi32(start), _mm256_mullo_epi32(_mm256_set1_epi32(step), lane));
            for (int v = 0; v < Vectors; ++v) {
                values[v][i] = _mm256_add_epi32(first, _mm256_set1_epi32(8 * v * step));
            }
            rowSteps[i] = _mm256_set1_epi32(static_cast<std::int32_t>(e.b * kSubpixelScale));
        }
        const auto inBox = static_cast<unsigned>((std::uint64_t{1} << (t.maxX - t.minX + 1)) - 1);
        for (int row = 0; row <= yEnd - y; ++row) {
            unsigned outside = 0;
            for (int v = 0; v < Vectors; ++v) {
                const __m256i any =
                    _mm256_or_si256(_mm256_or_si256(values[v][0], values[v][1]), values[v][2]);
                outside |= static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(any)))
                           << (8 * v);
                for (int i = 0; i < 3; ++i) {
                    values[v][i] = _mm256_add_epi32(values[v][i], rowSteps[i]);
                }
            }
            // Inside lanes are those where no edge function is negative, and they lie side by
            // side; a row with none gets begin > end.
            const unsigned inside = ~outside & inBox;
            begin_[row] = t.minX + std::countr_zero(inside);
            end_[row] = t.minX + 31 - std::countl_zero(inside);
        }
    }

    // As RowWalker::next.
    bool next(int& xBegin, int& xEnd) noexcept {
        xBegin = begin_[row_];
        xEnd = end_[row_];
        ++row_;
        return xBegin <= xEnd;
    }

    // The first pixel of each row from y on.
    const int* begins() const noexcept { return begin_; }

private:
    int begin_[kMaskedRows];  // each row's first and last covered pixel
    int end_[kMaskedRows];
    int row_ = 0;
};

// `low` in lanes 0-3, `high` in lanes 4-7.
D3D9_AVX2 inline __m256i halves(std::int32_t low, std::int32_t high) {
    return _mm256_set_m128i(_mm_set1_epi32(high), _mm_set1_epi32(low));
}

// rows[0] in lanes 0-3, rows[1] in lanes 4-7.
D3D9_AVX2 inline __m256 pairOf(const float* rows) {
    return _mm256_set_m128(_mm_broadcast_ss(rows + 1), _mm_broadcast_ss(rows));
}

// The attribute planes at the first pixel of each lane's row span.
struct Starts {
    __m256 z, q, uq, vq;
};

// The starts of a triangle's rows and the texel windows of their first groups, worked out
// ahead (see TriangleWalk::plan), by row from the walk's first.
struct RowPlan {
    alignas(32) float z[kMaskedRows];
    alignas(32) float q[kMaskedRows];
    alignas(32) float uq[kMaskedRows];
    alignas(32) float vq[kMaskedRows];
    alignas(32) std::int32_t left[kMaskedRows];
    alignas(32) std::int32_t top[kMaskedRows];
};

// A triangle's rows shaded in groups of eight pixels: a group holds a run of eight from one row,
// or two rows of at most four pixels each, which would otherwise leave half the lanes idle.
template <bool Depth, bool Modulate, bool Magnified, bool Wrap>
class TriangleWalk {
public:
    D3D9_AVX2 TriangleWalk(const Triangle& t, const PixelState& s, const DrawLanes& draw,
                           PixelQueue& queue)
        : s_(s), draw_(draw), base_(s.sampler.levels[0].texels), lanes_(loadLanes(queue)) {
        // Magnified inside the first copy of a power-of-two level, u/w and v/w come scaled by
        // 256 x its sides: powers of two, so every product and sum below rounds as before,
        // scaled, and the sampler's fixed-point coordinate leaves the divide one multiply sooner.
        const bool scaled = kScaled && draw_.firstPowerOfTwo;
        const float scaleU = scaled ? _mm256_cvtss_f32(draw_.first.scaleU) : 1.0f;
        const float scaleV = scaled ? _mm256_cvtss_f32(draw_.first.scaleV) : 1.0f;
        c_.uqdx = _mm256_set1_ps(t.uq.dx * scaleU);
        c_.vqdx = _mm256_set1_ps(t.vq.dx * scaleV);
        c_.qdx = _mm256_set1_ps(t.q.dx);
        c_.uqdy = _mm256_set1_ps(t.uq.dy * scaleU);
        c_.vqdy = _mm256_set1_ps(t.vq.dy * scaleV);
        c_.qdy = _mm256_set1_ps(t.q.dy);
        c_.width0 = _mm256_set1_ps(s.sampler.width0);
        c_.height0 = _mm256_set1_ps(s.sampler.height0);
        dz_ = _mm256_set1_ps(t.z.dx);
        dzdy_ = _mm256_set1_ps(t.z.dy);
        x0_ = _mm256_set1_ps(t.x0);
        y0_ = _mm256_set1_ps(t.y0);
        z0_ = _mm256_set1_ps(t.z0);
        q0_ = _mm256_set1_ps(t.q0);
        uq0_ = _mm256_set1_ps(t.uq0 * scaleU);
        vq0_ = _mm256_set1_ps(t.vq0 * scaleV);
        if (Magnified && lanes_.count > 0) {
            // Written at once below, this triangle's pixels must land after those still queued.
            drain<Modulate>(lanes_, lanes_.count, s, draw_);
            lanes_.count = 0;
        }
    }

    // Whether this walk can plan its rows: magnified inside the first copy of a power-of-two
    // level read through windows of texels.
    D3D9_AVX2 bool plans() const {
        return kScaled && draw_.firstPowerOfTwo && draw_.first.windowed;
    }

    // Works out the starts of `rows` rows from y, whose first pixels are `begins`, eight rows at
    // a time, and the windows of texels their first groups read: then no group waits for its
    // row's start, and the loads of its texels wait for nothing. The starts are those startsAt
    // gives; a window is only where the first lane's texel most likely lies, and the group
    // checks its lanes against it as ever.
    D3D9_AVX2 void plan(const int* begins, int y, int rows, RowPlan& plan) const {
        const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
        for (int r = 0; r < rows; r += 8) {
            const __m256i valid = _mm256_cmpgt_epi32(_mm256_set1_epi32(rows - r), lane);
            const __m256i first = _mm256_maskload_epi32(begins + r, valid);
            const Starts start = startsAt(
                first, _mm256_cvtepi32_ps(_mm256_add_epi32(_mm256_set1_epi32(y + r), lane)));
            _mm256_store_ps(plan.z + r, start.z);
            _mm256_store_ps(plan.q + r, start.q);
            _mm256_store_ps(plan.uq + r, start.uq);
            _mm256_store_ps(plan.vq + r, start.vq);
            const Coordinates at = magnifiedCoordinates8(start.q, start.uq, start.vq);
            const TexelLanes texel = texelLanes<kScaled>(draw_.first, at.u, at.v);
            _mm256_store_si256(reinterpret_cast<__m256i*>(plan.left + r),
                               _mm256_sub_epi32(texel.x0, _mm256_set1_epi32(3)));
            _mm256_store_si256(reinterpret_cast<__m256i*>(plan.top + r), texel.y0);
        }
    }

    // Row y's span, eight pixels at a time; `planned` holds its start and first window, or is null.
    D3D9_AVX2 void row(int y, int xBegin, int xEnd, const RowPlan* planned = nullptr,
                       int index = 0) {
        const __m256i first = _mm256_set1_epi32(xBegin);
        const __m256i end = _mm256_set1_epi32(xEnd + 1);
        const Starts start =
            planned ? Starts{_mm256_broadcast_ss(planned->z + index),
                             _mm256_broadcast_ss(planned->q + index),
                             _mm256_broadcast_ss(planned->uq + index),
                             _mm256_broadcast_ss(planned->vq + index)}
                    : startsAt(first, _mm256_set1_ps(static_cast<float>(y)));
        WindowOrigin origin{};
        const WindowOrigin* window = nullptr;
        if (planned) {
            origin = {planned->left[index], planned->top[index]};
            window = &origin;
        }
        const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(y) * s_.pitch;
        const __m256i rowIndex = _mm256_set1_epi32(static_cast<std::int32_t>(row));
        __m256i xLane = _mm256_add_epi32(first, _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
        __m256 k = _mm256_setr_ps(0, 1, 2, 3, 4, 5, 6, 7);
        for (int x = xBegin; x <= xEnd; x += 8,
                 xLane = _mm256_add_epi32(xLane, _mm256_set1_epi32(8)),
                 k = _mm256_add_ps(k, _mm256_set1_ps(8.0f))) {
            const int count = std::min(8, xEnd - x + 1);
            const __m256i live = _mm256_cmpgt_epi32(end, xLane);
            __m256i visible = live;
            if constexpr (Depth) {
                visible =
                    testDepth8(s_.depth + row + x, x + 8 <= s_.pitch, count, live, z(start, k));
            }
            __m256i texels;
            const bool shaded =
                shade(start, k, visible, _mm256_add_epi32(rowIndex, xLane), texels, window);
            window = nullptr;  // the row's further groups find theirs
            if (!shaded) continue;
            if constexpr (Magnified) {
                storeColour8(s_.colour + row + x, x + 8 <= s_.pitch, visible, texels);
            }
        }
    }

    // Rows y and y + 1, spans of at most four pixels each, in one group: lanes 0-3 and 4-7.
    // `planned` as for row, holding both rows.
    D3D9_AVX2 void rowPair(int y, int xBegin, int xEnd, int nextBegin, int nextEnd,
                           const RowPlan* planned = nullptr, int index = 0) {
        const __m256i first = halves(xBegin, nextBegin);
        const __m256i end = halves(xEnd + 1, nextEnd + 1);
        const Starts start =
            planned ? Starts{pairOf(planned->z + index), pairOf(planned->q + index),
                             pairOf(planned->uq + index), pairOf(planned->vq + index)}
                    : startsAt(first, _mm256_cvtepi32_ps(halves(y, y + 1)));
        WindowOrigin origin{};
        if (planned) origin = {planned->left[index], planned->top[index]};
        const std::ptrdiff_t upper = static_cast<std::ptrdiff_t>(y) * s_.pitch + xBegin;
        const std::ptrdiff_t lower = static_cast<std::ptrdiff_t>(y + 1) * s_.pitch + nextBegin;
        const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 0, 1, 2, 3);
        const __m256 k = _mm256_setr_ps(0, 1, 2, 3, 0, 1, 2, 3);
        const __m256i xLane = _mm256_add_epi32(first, lane);
        const __m256i live = _mm256_cmpgt_epi32(end, xLane);
        __m256i visible = live;
        if constexpr (Depth) {
            visible = testDepthPair(s_.depth + upper, s_.depth + lower,
                                    std::max(xBegin, nextBegin) + 4 <= s_.pitch, xEnd - xBegin + 1,
                                    nextEnd - nextBegin + 1, live, z(start, k));
        }
        const __m256i pixel = _mm256_add_epi32(
            halves(static_cast<std::int32_t>(upper), static_cast<std::int32_t>(lower)), lane);
        __m256i texels;
        if (!shade(start, k, visible, pixel, texels, planned ? &origin : nullptr)) return;
        if constexpr (Magnified) {
            const bool whole = std::max(xBegin, nextBegin) + 4 <= s_.pitch;
            storeColour4(s_.colour + upper, whole, _mm256_castsi256_si128(visible),
                         _mm256_castsi256_si128(texels));
            storeColour4(s_.colour + lower, whole, _mm256_extracti128_si256(visible, 1),
                         _mm256_extracti128_si256(texels, 1));
        }
    }

    D3D9_AVX2 void finish(PixelQueue& queue) {
        storeLanes(lanes_, queue);
        queue.shaded += shaded_;
    }

private:
    static constexpr bool kScaled = Magnified && !Wrap;

    // rowStart in every lane, from its row and the first pixel of its span.
    D3D9_AVX2 Starts startsAt(__m256i first, __m256 rowY) const {
        const __m256 fx = _mm256_sub_ps(_mm256_cvtepi32_ps(first), x0_);
        const __m256 fy = _mm256_sub_ps(rowY, y0_);
        return {Depth ? plane8(z0_, dz_, dzdy_, fx, fy) : _mm256_setzero_ps(),
                plane8(q0_, c_.qdx, c_.qdy, fx, fy), plane8(uq0_, c_.uqdx, c_.uqdy, fx, fy),
                plane8(vq0_, c_.vqdx, c_.vqdy, fx, fy)};
    }

    D3D9_AVX2 __m256 z(const Starts& start, __m256 k) const {
        return _mm256_add_ps(start.z, _mm256_mul_ps(dz_, k));
    }

    // Samples the `visible` lanes, k pixels from their spans' starts: magnified, into `texels`
    // for the caller to store; otherwise into the queue, for `pixel`. False where none is.
    D3D9_AVX2 bool shade(const Starts& start, __m256 k, __m256i visible, __m256i pixel,
                         __m256i& texels, const WindowOrigin* window) {
        const int mask = _mm256_movemask_ps(_mm256_castsi256_ps(visible));
        if (mask == 0) return false;
        shaded_ += static_cast<unsigned>(__builtin_popcount(static_cast<unsigned>(mask)));
        const __m256 q = _mm256_add_ps(start.q, _mm256_mul_ps(c_.qdx, k));
        const __m256 uq = _mm256_add_ps(start.uq, _mm256_mul_ps(c_.uqdx, k));
        const __m256 vq = _mm256_add_ps(start.vq, _mm256_mul_ps(c_.vqdx, k));
        Coordinates at = Magnified ? magnifiedCoordinates8(q, uq, vq) : coordinates8(c_, q, uq, vq);
        // Wrapped once here (or, queued, in the drain), where the scalar loop wraps in each
        // sample: the same value, and none to do where the triangle stays inside the unit square.
        if constexpr (Wrap && Magnified) {
            at.u = wrapUnit8(at.u);
            at.v = wrapUnit8(at.v);
        }
        if constexpr (Magnified) {
            texels =
                sampleMagnified8<Modulate, kScaled>(base_, draw_, at.u, at.v, visible, window);
        } else {
            push<Modulate>(lanes_, mask, at, pixel, s_, draw_);
        }
        return true;
    }

    const PixelState& s_;
    const DrawLanes& draw_;
    const std::uint32_t* base_;
    Gradients c_;
    __m256 dz_, dzdy_, x0_, y0_, z0_, q0_, uq0_, vq0_;
    Lanes lanes_;
    std::uint64_t shaded_ = 0;
};

// Not inlined: each walk gets registers and code of its own, and the tiny triangles' walk
// does not pay for the size of the others.
template <bool Depth, bool Modulate, bool Magnified, bool Wrap, class Rows>
__attribute__((target("avx2"), noinline)) void walkRows8(const Triangle& t, const PixelState& s,
                                                         Rows& rows, int yBegin, int yEnd,
                                                         PixelQueue& queue) noexcept {
    const DrawLanes& draw = drawLanesOf<Modulate>(s, queue);
    TriangleWalk<Depth, Modulate, Magnified, Wrap> walk(t, s, draw, queue);
    const RowPlan* planned = nullptr;
    [[maybe_unused]] RowPlan plan;
    if constexpr (Magnified && requires { rows.begins(); }) {
        if (walk.plans()) {
            walk.plan(rows.begins(), yBegin, yEnd - yBegin + 1, plan);
            planned = &plan;
        }
    }
    for (int y = yBegin; y <= yEnd; ++y) {
        int xBegin;
        int xEnd;
        if (!rows.next(xBegin, xEnd)) continue;
        if (xEnd - xBegin >= 4 || y == yEnd) {
            walk.row(y, xBegin, xEnd, planned, y - yBegin);
            continue;
        }
        int nextBegin;
        int nextEnd;
        const bool below = rows.next(nextBegin, nextEnd);
        ++y;
        if (below && nextEnd - nextBegin < 4) {
            walk.rowPair(y - 1, xBegin, xEnd, nextBegin, nextEnd, planned, y - 1 - yBegin);
            continue;
        }
        walk.row(y - 1, xBegin, xEnd, planned, y - 1 - yBegin);
        if (below) walk.row(y, nextBegin, nextEnd, planned, y - yBegin);
    }
    walk.finish(queue);
}

constexpr std::int64_t kBoundedBox = 32;  // pixels

template <bool Depth, bool Modulate, bool Magnified, class Rows>
D3D9_AVX2 inline void walkRowsWrapped(bool wrap, const Triangle& t, const PixelState& s,
                                      Rows& rows, int yBegin, int yEnd,
                                      PixelQueue& queue) noexcept {
    if (wrap) {
        walkRows8<Depth, Modulate, Magnified, true>(t, s, rows, yBegin, yEnd, queue);
    } else {
        walkRows8<Depth, Modulate, Magnified, false>(t, s, rows, yBegin, yEnd, queue);
    }
}

// Picks the walk with the bounds' answers; `rows` must be made before the bounds are asked.
template <bool Depth, bool Modulate, class Rows>
D3D9_AVX2 inline void walkRowsBounded(const Triangle& t, const PixelState& s, Rows& rows,
                                      int yBegin, int yEnd, PixelQueue& queue) noexcept {
    // The bounds cost about what a dozen pixels' level of detail and wrapping do: a triangle
    // whose box holds fewer than twice that takes the per-pixel path without asking.
    const auto box = std::int64_t{t.maxX - t.minX + 1} * (t.maxY - t.minY + 1);
    const bool worthBounding = box >= kBoundedBox;
    const bool wrap = !(worthBounding && insideUnitSquare(t));
    if (worthBounding && magnifiedEverywhere(t, drawLanesOf<Modulate>(s, queue).magnification)) {
        walkRowsWrapped<Depth, Modulate, true>(wrap, t, s, rows, yBegin, yEnd, queue);
    } else {
        walkRowsWrapped<Depth, Modulate, false>(wrap, t, s, rows, yBegin, yEnd, queue);
    }
}

// A group of eight lanes laid over a box `Width` pixels wide (4 or 8): lane l takes column
// l % Width of row l / Width. For each mask of the lanes inside the triangle, the `k` of each
// lane, four bits a lane: its distance from the first covered pixel of its row, which the row's
// span starts from.
template <int Width>
struct BoxSteps {
    constexpr BoxSteps() {
        for (unsigned mask = 0; mask < 256; ++mask) {
            std::uint32_t packed = 0;
            for (unsigned lane = 0; lane < 8; ++lane) {
                const unsigned row = (mask >> (lane / Width * Width)) & ((1u << Width) - 1);
                const unsigned first = row == 0 ? 0 : std::countr_zero(row);
                const unsigned column = lane % Width;
                packed |= (column >= first ? column - first : 0) << (4 * lane);
            }
            steps[mask] = packed;
        }
    }
    std::uint32_t steps[256] = {};
};
template <int Width>
constexpr BoxSteps<Width> kBoxSteps;

// The depth test of a group over a box's rows from `depth` (the box's left on the group's first
// row), `rows` of them inside the box. Lanes past the box are read and written back unchanged,
// as in testDepth8; with four pixels a row and one row left, the second row's lanes read and
// write the first row's, before its own lanes, whose update so lands last.
template <int Width>
D3D9_AVX2 inline __m256i testDepthBox(std::uint16_t* depth, std::ptrdiff_t pitch, int rows,
                                      __m256i live, __m256 z) {
    static_assert(Width == 4 || Width == 8);
    if constexpr (Width == 8) {
        return testDepthAt(depth, live, z);
    } else {
        std::uint16_t* lower = rows > 1 ? depth + pitch : depth;
        __m128i updated;
        const __m256i visible = testDepthLanes(
            _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(depth)),
                               _mm_loadl_epi64(reinterpret_cast<const __m128i*>(lower))),
            live, z, updated);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(lower), _mm_unpackhi_epi64(updated, updated));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(depth), updated);
        return visible;
    }
}

// The rows yBegin..yEnd of a triangle at most `Width` pixels wide, whose edge functions fit 32
// bits (see edgesFit32), `8 / Width` rows a group: a triangle of a few pixels takes one or
// two groups, with no walk of its rows and none of the row walk's branches on span widths. Each
// lane starts from its own row's span as the scalar loop does, and queues as TriangleWalk does.
// The box's left plus `Width` must lie inside the row: the depth test reads and writes that many
// pixels.
template <bool Depth, bool Modulate, int Width>
D3D9_AVX2 inline void walkBox8(const Triangle& t, const PixelState& s, int yBegin, int yEnd,
                               PixelQueue& queue) noexcept {
    constexpr int kRows = 8 / Width;
    const DrawLanes& draw = drawLanesOf<Modulate>(s, queue);
    const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i column = _mm256_and_si256(lane, _mm256_set1_epi32(Width - 1));
    const __m256i row = _mm256_srli_epi32(lane, std::countr_zero(unsigned{Width}));
    __m256i values[3];
    __m256i rowSteps[3];
    for (int i = 0; i < 3; ++i) {
        const EdgeFunction& e = t.edge[i];
        const auto start = static_cast<std::int32_t>(edgeAt(e, t.minX, yBegin));
        const auto step = static_cast<std::int32_t>(e.a * kSubpixelScale);
        const auto down = static_cast<std::int32_t>(e.b * kSubpixelScale);
        values[i] =
            _mm256_add_epi32(_mm256_set1_epi32(start),
                             _mm256_add_epi32(_mm256_mullo_epi32(_mm256_set1_epi32(step), column),
                                              _mm256_mullo_epi32(_mm256_set1_epi32(down), row)));
        rowSteps[i] = _mm256_set1_epi32(down * kRows);
    }
    const __m256i inBox = _mm256_cmpgt_epi32(_mm256_set1_epi32(t.maxX - t.minX + 1), column);
    const Gradients c{_mm256_set1_ps(t.uq.dx),          _mm256_set1_ps(t.vq.dx),
                      _mm256_set1_ps(t.q.dx),           _mm256_set1_ps(t.uq.dy),
                      _mm256_set1_ps(t.vq.dy),          _mm256_set1_ps(t.q.dy),
                      _mm256_set1_ps(s.sampler.width0), _mm256_set1_ps(s.sampler.height0)};
    const __m256 x0 = _mm256_set1_ps(t.x0);
    const __m256 y0 = _mm256_set1_ps(t.y0);
    // The lanes' columns from the box's left edge, and their pixels on the group's first row.
    const __m256i left = _mm256_add_epi32(_mm256_set1_epi32(t.minX), column);
    const __m256i offsets =
        _mm256_add_epi32(left, _mm256_mullo_epi32(row, _mm256_set1_epi32(s.pitch)));
    const __m256i shifts = _mm256_setr_epi32(0, 4, 8, 12, 16, 20, 24, 28);
    Lanes lanes = loadLanes(queue);
    unsigned shaded = 0;
    for (int y = yBegin; y <= yEnd; y += kRows) {
        const int rows = std::min(kRows, yEnd - y + 1);
        const __m256i any = _mm256_or_si256(_mm256_or_si256(values[0], values[1]), values[2]);
        const __m256i covered = _mm256_andnot_si256(
            _mm256_srai_epi32(any, 31),
            _mm256_and_si256(inBox, _mm256_cmpgt_epi32(_mm256_set1_epi32(rows), row)));
        for (int i = 0; i < 3; ++i) values[i] = _mm256_add_epi32(values[i], rowSteps[i]);
        int mask = _mm256_movemask_ps(_mm256_castsi256_ps(covered));
        if (mask == 0) continue;
        const __m256i steps = _mm256_and_si256(
            _mm256_srlv_epi32(_mm256_set1_epi32(static_cast<int>(kBoxSteps<Width>.steps[mask])),
                              shifts),
            _mm256_set1_epi32(0xF));
        const __m256 k = _mm256_cvtepi32_ps(steps);
        const __m256 fx = _mm256_sub_ps(_mm256_cvtepi32_ps(_mm256_sub_epi32(left, steps)), x0);
        const __m256 fy =
            _mm256_sub_ps(_mm256_cvtepi32_ps(_mm256_add_epi32(_mm256_set1_epi32(y), row)), y0);
        const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(y) * s.pitch;
        if constexpr (Depth) {
            const __m256 dz = _mm256_set1_ps(t.z.dx);
            const __m256 z =
                _mm256_add_ps(plane8(_mm256_set1_ps(t.z0), dz, _mm256_set1_ps(t.z.dy), fx, fy),
                              _mm256_mul_ps(dz, k));
            const __m256i visible =
                testDepthBox<Width>(s.depth + first + t.minX, s.pitch, rows, covered, z);
            mask = _mm256_movemask_ps(_mm256_castsi256_ps(visible));
            if (mask == 0) continue;
        }
        shaded += static_cast<unsigned>(__builtin_popcount(static_cast<unsigned>(mask)));
        const __m256 q = _mm256_add_ps(plane8(_mm256_set1_ps(t.q0), c.qdx, c.qdy, fx, fy),
                                       _mm256_mul_ps(c.qdx, k));
        const __m256 uq = _mm256_add_ps(plane8(_mm256_set1_ps(t.uq0), c.uqdx, c.uqdy, fx, fy),
                                        _mm256_mul_ps(c.uqdx, k));
        const __m256 vq = _mm256_add_ps(plane8(_mm256_set1_ps(t.vq0), c.vqdx, c.vqdy, fx, fy),
                                        _mm256_mul_ps(c.vqdx, k));
        const Coordinates at = coordinates8(c, q, uq, vq);
        const __m256i pixel =
            _mm256_add_epi32(_mm256_set1_epi32(static_cast<std::int32_t>(first)), offsets);
        push<Modulate>(lanes, mask, at, pixel, s, draw);
    }
    storeLanes(lanes, queue);
    queue.shaded += shaded;
}

template <bool Depth, bool Modulate>
__attribute__((target("avx2"))) void rasterRows8(const Triangle& t, const PixelState& s, int yBegin,
                                                 int yEnd, PixelQueue& queue) noexcept {
    // The walker first: the bound reads the box back in wider loads than set-up stored it
    // with, which wait until those stores have left for the cache.
    const int width = t.maxX - t.minX + 1;
    if (width > kMaskedWidth || !edgesFit32(t, yBegin, yEnd)) {
        RowWalker rows(t, yBegin);
        walkRowsBounded<Depth, Modulate>(t, s, rows, yBegin, yEnd, queue);
    } else if (width <= 8) {
        // A box too small to ask the bounds, unless it lies so near the row's end that a group
        // would reach past it. Rows of four serve the common widths; rows of two would halve
        // the groups of tall boxes, and cost more than that in the choice between three walks.
        const bool tiny = std::int64_t{width} * (t.maxY - t.minY + 1) < kBoundedBox;
        if (tiny && width <= 4 && t.minX + 4 <= s.pitch) {
            return walkBox8<Depth, Modulate, 4>(t, s, yBegin, yEnd, queue);
        }
        if (tiny && t.minX + 8 <= s.pitch) {
            return walkBox8<Depth, Modulate, 8>(t, s, yBegin, yEnd, queue);
        }
        RowMasks<1> rows(t, yBegin, yEnd);
        walkRowsBounded<Depth, Modulate>(t, s, rows, yBegin, yEnd, queue);
    } else if (width <= 16) {
        RowMasks<2> rows(t, yBegin, yEnd);
        walkRowsBounded<Depth, Modulate>(t, s, rows, yBegin, yEnd, queue);
    } else {
        RowMasks<4> rows(t, yBegin, yEnd);
        walkRowsBounded<Depth, Modulate>(t, s, rows, yBegin, yEnd, queue);
    }
}

template <bool Modulate>
__attribute__((target("avx2"))) void flush8(const PixelState& s, PixelQueue& queue) noexcept {
    if (queue.count > 0) {
        drain<Modulate>(loadLanes(queue), queue.count, s, drawLanesOf<Modulate>(s, queue));
    }
    queue.count = 0;
    queue.derivedFor = nullptr;
}

}  // namespace

RasterLoop selectAvx2RasterLoop(const PixelState& s) noexcept {
    static const bool supported = __builtin_cpu_supports("avx2");
    if (!supported || !s.textured || s.mag != Filter::Linear || s.min != Filter::Linear ||
        s.mip != MipFilter::Linear || !s.layout.oneBlock) {
        return {nullptr, nullptr};
    }
    const FlushFunction flush = s.modulate ? &flush8<true> : &flush8<false>;
    switch (s.depthMode) {
        case DepthMode::Off:
            return {s.modulate ? &rasterRows8<false, true> : &rasterRows8<false, false>, flush};
        case DepthMode::LessEqualWrite:
            return {s.modulate ? &rasterRows8<true, true> : &rasterRows8<true, false>, flush};
        case DepthMode::Generic: break;
    }
    return {nullptr, nullptr};
}

#else

RasterLoop selectAvx2RasterLoop(const PixelState&) noexcept { return {nullptr, nullptr}; }

#endif

}  // namespace platform::d3d9
