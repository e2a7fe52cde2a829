#include "d3d9/Clipper.h"

namespace platform::d3d9 {

namespace {

ClipVertex lerp(const ClipVertex& a, const ClipVertex& b, float t) noexcept {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t,
            a.w + (b.w - a.w) * t, a.u + (b.u - a.u) * t, a.v + (b.v - a.v) * t};
}

// The crossing point is always computed from the inside vertex toward the outside one, so the
// two triangles sharing an edge get bit-identical points whatever their windings.
template <ClipPlane P>
ClipVertex crossing(const ClipVertex& inside, float dIn, const ClipVertex& outside,
                    float dOut) noexcept {
    ClipVertex r = lerp(inside, outside, dIn / (dIn - dOut));
    // Rounding may leave the new point a hair outside; a second pass must not cut it again.
    if (planeDistance<P>(r) < 0.0f) {
        if constexpr (P == ClipPlane::Near) r.z = 0.0f;
        if constexpr (P == ClipPlane::Far) r.z = r.w;
    }
    return r;
}

template <ClipPlane P>
int clipAgainst(const ClipVertex* in, int count, ClipVertex* out) noexcept {
    int written = 0;
    for (int i = 0; i < count; ++i) {
        const ClipVertex& a = in[i];
        const ClipVertex& b = in[i + 1 == count ? 0 : i + 1];
        const float da = planeDistance<P>(a);
        const float db = planeDistance<P>(b);
        if (da >= 0.0f) out[written++] = a;
        if ((da >= 0.0f) != (db >= 0.0f)) {
            out[written++] = da >= 0.0f ? crossing<P>(a, da, b, db) : crossing<P>(b, db, a, da);
        }
    }
    return written;
}

template <ClipPlane P>
void clipIfNeeded(std::uint8_t planes, ClipVertex*& in, ClipVertex*& spare, int& count) noexcept {
    if (count == 0 || !(planes & (1u << static_cast<unsigned>(P)))) return;
    count = clipAgainst<P>(in, count, spare);
    ClipVertex* done = spare;
    spare = in;
    in = done;
}

}  // namespace

int clipTriangle(const ClipVertex (&triangle)[3], std::uint8_t planes, ClipVertex* out) noexcept {
    ClipVertex bufferA[kMaxClipVertices];
    ClipVertex bufferB[kMaxClipVertices];
    bufferA[0] = triangle[0];
    bufferA[1] = triangle[1];
    bufferA[2] = triangle[2];
    ClipVertex* in = bufferA;
    ClipVertex* spare = bufferB;
    int count = 3;
    // PositiveW first: the other planes' distances scale with w and mean little behind the eye.
    clipIfNeeded<ClipPlane::PositiveW>(planes, in, spare, count);
    clipIfNeeded<ClipPlane::Near>(planes, in, spare, count);
    clipIfNeeded<ClipPlane::Far>(planes, in, spare, count);
    clipIfNeeded<ClipPlane::Left>(planes, in, spare, count);
    clipIfNeeded<ClipPlane::Right>(planes, in, spare, count);
    clipIfNeeded<ClipPlane::Bottom>(planes, in, spare, count);
    clipIfNeeded<ClipPlane::Top>(planes, in, spare, count);
    for (int i = 0; i < count; ++i) out[i] = in[i];
    return count;
}

}  // namespace platform::d3d9
