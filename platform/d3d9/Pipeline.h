// Pipeline.h: one draw's triangles from the vertex stage's output to the pixel loop: trivial
// rejection, clipping of the triangles that cross a plane, set-up with culling and raster. A
// draw can be split across threads by rows; each part draws only its own rows, in the draw's
// triangle order, so the picture does not depend on the split.
#pragma once

#include <cstddef>
#include <cstdint>

#include "d3d9/Rasterizer.h"
#include "d3d9/VertexProcessing.h"

namespace platform::d3d9 {

// The rows one part owns: bands of 2^bandShift rows dealt out in turn to `parts` parts.
struct RowSet {
    int bandShift;
    unsigned parts;
    unsigned part;
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
    RasterFunction raster;
};

void drawBatch(const TriangleBatch& batch, const RowSet& rows) noexcept;

}  // namespace platform::d3d9
