// Pipeline.h: one draw's triangles from the vertex stage's output to the pixel loop: trivial
// rejection, clipping of the triangles that cross a plane, set-up with culling and raster. A
// draw can be split across threads into stripes of rows: each triangle is first assigned the
// stripes it may touch, then each stripe is drawn by one thread, in the draw's triangle order, so
// the picture does not depend on the split.
#pragma once

#include <cstddef>
#include <cstdint>

#include "d3d9/Rasterizer.h"
#include "d3d9/VertexProcessing.h"

namespace platform::d3d9 {

// The rows top..bottom, both inclusive, that one call draws.
struct RowRange {
    int top;
    int bottom;
};

struct TriangleBatch {
    const ClipVertex* clip;
    const ScreenVertex* screen;  // valid where codes are 0
    const std::uint8_t* codes;
    const std::uint32_t* corners;  // three vertex slots a triangle, in the draw's winding
    std::size_t triangleCount;
    Cull cull;
    Scissor scissor;
    ViewportTransform viewport;
    const PixelState* pixel;
    RasterLoop loop;
};

// A split draw: `count` stripes of `rows` rows each from row `top` (the last may be shorter).
struct Stripes {
    int top;
    int bottom;  // the last row, inclusive
    int rows;
    int count;
};

// The stripes a triangle may touch, first to last; first > last when it touches none.
struct StripeSpan {
    std::uint16_t first;
    std::uint16_t last;
};

// Triangles a block: blocks[b] holds the spans of triangles [b * kSpanBlock, (b + 1) *
// kSpanBlock), so that a stripe passes over the blocks that miss it in one step. A mesh's
// neighbouring triangles mostly lie in the same few stripes.
constexpr std::size_t kSpanBlock = 64;

// Finds the spans of triangles [begin, end), and of their blocks; begin is a multiple of
// kSpanBlock. Triangles that need clipping may touch any stripe.
void findStripeSpans(const TriangleBatch& batch, const Stripes& stripes, std::size_t begin,
                     std::size_t end, StripeSpan* spans, StripeSpan* blocks) noexcept;

// Draws one stripe's rows of every triangle whose span holds it (of every triangle when
// `spans` and `blocks` are null), in the draw's order, and leaves `queue` empty, with its counts
// grown by what was drawn.
void drawStripe(const TriangleBatch& batch, const Stripes& stripes, int stripe,
                const StripeSpan* spans, const StripeSpan* blocks, PixelQueue& queue) noexcept;

}  // namespace platform::d3d9
