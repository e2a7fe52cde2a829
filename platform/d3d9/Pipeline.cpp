#include "d3d9/Pipeline.h"

#include <algorithm>
#include <cmath>

namespace platform::d3d9 {

namespace {

bool ownsBand(const RowSet& rows, int band) noexcept {
    return static_cast<unsigned>(band) % rows.parts == rows.part;
}

// Conservative: may say yes for a triangle that then covers none of the part's rows.
bool mayTouchOwnedRows(const RowSet& rows, float minY, float maxY) noexcept {
    if (rows.parts == 1) return true;
    const int first = std::max(0, static_cast<int>(std::floor(minY)) - 1) >> rows.bandShift;
    const int last = std::max(0, static_cast<int>(std::ceil(maxY)) + 1) >> rows.bandShift;
    if (last - first + 1 >= static_cast<int>(rows.parts)) return true;
    for (int band = first; band <= last; ++band) {
        if (ownsBand(rows, band)) return true;
    }
    return false;
}

void rasterOwnedRows(const Triangle& t, const TriangleBatch& batch, const RowSet& rows) noexcept {
    if (rows.parts == 1) {
        batch.raster(t, *batch.pixel, t.minY, t.maxY);
        return;
    }
    int band = t.minY >> rows.bandShift;
    band += static_cast<int>((rows.part + rows.parts - static_cast<unsigned>(band) % rows.parts) %
                             rows.parts);
    for (; (band << rows.bandShift) <= t.maxY; band += static_cast<int>(rows.parts)) {
        const int yBegin = std::max(t.minY, band << rows.bandShift);
        const int yEnd = std::min(t.maxY, ((band + 1) << rows.bandShift) - 1);
        batch.raster(t, *batch.pixel, yBegin, yEnd);
    }
}

void drawScreenTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                        const TriangleBatch& batch, const RowSet& rows) noexcept {
    if (!mayTouchOwnedRows(rows, std::min({a.y, b.y, c.y}), std::max({a.y, b.y, c.y}))) return;
    Triangle t;
    if (setupTriangle(a, b, c, batch.cull, batch.scissor, t)) rasterOwnedRows(t, batch, rows);
}

bool finite(const ScreenVertex& v) noexcept {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.q) &&
           std::isfinite(v.uq) && std::isfinite(v.vq);
}

void drawClipped(const std::uint32_t* corner, std::uint8_t planes, const TriangleBatch& batch,
                 const RowSet& rows) noexcept {
    const ClipVertex triangle[3] = {batch.clip[corner[0]], batch.clip[corner[1]],
                                    batch.clip[corner[2]]};
    ClipVertex polygon[kMaxClipVertices];
    const int count = clipTriangle(triangle, planes, polygon);
    if (count < 3) return;
    ScreenVertex screen[kMaxClipVertices];
    for (int i = 0; i < count; ++i) {
        screen[i] = project(polygon[i], batch.viewport);
        if (!finite(screen[i])) return;
    }
    for (int i = 1; i + 1 < count; ++i) {
        drawScreenTriangle(screen[0], screen[i], screen[i + 1], batch, rows);
    }
}

}  // namespace

void drawBatch(const TriangleBatch& batch, const RowSet& rows) noexcept {
    for (std::size_t i = 0; i < batch.triangleCount; ++i) {
        const std::uint32_t* corner = batch.corners + 3 * i;
        const std::uint8_t c0 = batch.codes[corner[0]];
        const std::uint8_t c1 = batch.codes[corner[1]];
        const std::uint8_t c2 = batch.codes[corner[2]];
        if (c0 & c1 & c2) continue;  // wholly outside one plane
        const std::uint8_t planes = c0 | c1 | c2;
        if (planes != 0) {
            drawClipped(corner, planes, batch, rows);
            continue;
        }
        drawScreenTriangle(batch.screen[corner[0]], batch.screen[corner[1]],
                           batch.screen[corner[2]], batch, rows);
    }
}

}  // namespace platform::d3d9
