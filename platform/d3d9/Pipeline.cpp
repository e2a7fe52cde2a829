#include "d3d9/Pipeline.h"

#include <algorithm>
#include <cmath>

namespace platform::d3d9 {

namespace {

// Conservative: may say yes for a triangle that then covers none of the rows.
bool mayTouchRows(const RowRange& rows, const ScreenVertex& a, const ScreenVertex& b,
                  const ScreenVertex& c) noexcept {
    return std::max({a.y, b.y, c.y}) + 1.0f >= static_cast<float>(rows.top) &&
           std::min({a.y, b.y, c.y}) - 1.0f <= static_cast<float>(rows.bottom);
}

// Rasters a set-up triangle's rows inside `rows`.
void raster(const Triangle& t, const TriangleBatch& batch, const RowRange& rows,
            PixelQueue& queue) noexcept {
    const int top = std::max(t.minY, rows.top);
    const int bottom = std::min(t.maxY, rows.bottom);
    if (top > bottom) return;
    batch.loop.raster(t, *batch.pixel, top, bottom, queue);
    ++queue.triangles;
}

// Triangles inside every plane wait here to be set up in runs and then rastered, in their
// order: a run's set-ups overlap one another instead of each waiting on the mispredicted
// branches of the pixel loop before it, and the pixel loop reads each triangle long after its
// stores have left for the cache. No test of the rows first: the stripe's spans have made it
// already, and the raster keeps to the rows.
class SetUpRun {
public:
    static constexpr std::size_t kTriangles = 64;

    void add(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
             const TriangleBatch& batch, const RowRange& rows, PixelQueue& queue) noexcept {
        const ScreenVertex** corners = corners_ + 3 * count_;
        corners[0] = &a;
        corners[1] = &b;
        corners[2] = &c;
        if (++count_ == kTriangles) draw(batch, rows, queue);
    }

    // Out of line: the loop over a stripe's triangles stays small, with no call per triangle.
    __attribute__((noinline)) void draw(const TriangleBatch& batch, const RowRange& rows,
                                        PixelQueue& queue) noexcept {
        const std::size_t kept =
            setupTriangles(corners_, count_, batch.cull, batch.scissor, triangles_);
        for (std::size_t k = 0; k < kept; ++k) raster(triangles_[k], batch, rows, queue);
        count_ = 0;
    }

private:
    const ScreenVertex* corners_[3 * kTriangles];
    std::size_t count_ = 0;
    Triangle triangles_[kTriangles];
};

bool finite(const ScreenVertex& v) noexcept {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.q) &&
           std::isfinite(v.uq) && std::isfinite(v.vq);
}

void drawClipped(const std::uint32_t* corner, std::uint8_t planes, const TriangleBatch& batch,
                 const RowRange& rows, PixelQueue& queue) noexcept {
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
        Triangle t;
        if (mayTouchRows(rows, screen[0], screen[i], screen[i + 1]) &&
            setupTriangle(screen[0], screen[i], screen[i + 1], batch.cull, batch.scissor, t)) {
            raster(t, batch, rows, queue);
        }
    }
}

// The clip planes a triangle's corners lie beyond: all three (`outside`) and any (`crossed`).
struct CornerCodes {
    std::uint8_t outside;
    std::uint8_t crossed;
};

CornerCodes cornerCodes(const TriangleBatch& batch, const std::uint32_t* corner) noexcept {
    const std::uint8_t c0 = batch.codes[corner[0]];
    const std::uint8_t c1 = batch.codes[corner[1]];
    const std::uint8_t c2 = batch.codes[corner[2]];
    return {static_cast<std::uint8_t>(c0 & c1 & c2), static_cast<std::uint8_t>(c0 | c1 | c2)};
}

// Inlined into drawStripe's loops, so a triangle that only joins the run costs no call.
__attribute__((always_inline)) inline void drawTriangle(const TriangleBatch& batch, std::size_t i,
                                                        const RowRange& rows, SetUpRun& run,
                                                        PixelQueue& queue) noexcept {
    const std::uint32_t* corner = batch.corners + 3 * i;
    const CornerCodes codes = cornerCodes(batch, corner);
    if (codes.outside) return;  // wholly outside one plane
    if (codes.crossed) {
        run.draw(batch, rows, queue);  // the triangles before it come first
        drawClipped(corner, codes.crossed, batch, rows, queue);
        return;
    }
    run.add(batch.screen[corner[0]], batch.screen[corner[1]], batch.screen[corner[2]], batch, rows,
            queue);
}

// The stripe holding row y, for y within the stripes' rows.
int stripeOf(const Stripes& stripes, int y) noexcept {
    return (y - stripes.top) / stripes.rows;
}

void findTriangleSpans(const TriangleBatch& batch, const Stripes& stripes, std::size_t begin,
                       std::size_t end, StripeSpan* spans) noexcept {
    constexpr StripeSpan kNone{1, 0};
    const StripeSpan all{0, static_cast<std::uint16_t>(stripes.count - 1)};
    for (std::size_t i = begin; i < end; ++i) {
        const std::uint32_t* corner = batch.corners + 3 * i;
        const CornerCodes codes = cornerCodes(batch, corner);
        if (codes.outside) {
            spans[i] = kNone;
            continue;
        }
        if (codes.crossed) {
            spans[i] = all;
            continue;
        }
        const float y0 = batch.screen[corner[0]].y;
        const float y1 = batch.screen[corner[1]].y;
        const float y2 = batch.screen[corner[2]].y;
        // A row of margin either side covers the snapping to subpixels.
        const float top = std::min({y0, y1, y2}) - 1.0f;
        const float bottom = std::max({y0, y1, y2}) + 1.0f;
        if (!(bottom >= static_cast<float>(stripes.top) &&
              top <= static_cast<float>(stripes.bottom))) {
            spans[i] = kNone;
            continue;
        }
        const int first =
            top <= static_cast<float>(stripes.top) ? 0 : stripeOf(stripes, static_cast<int>(top));
        const int last = bottom >= static_cast<float>(stripes.bottom)
                             ? stripes.count - 1
                             : stripeOf(stripes, static_cast<int>(bottom));
        spans[i] = {static_cast<std::uint16_t>(first), static_cast<std::uint16_t>(last)};
    }
}

bool holds(const StripeSpan& span, std::uint16_t stripe) noexcept {
    return span.first <= stripe && stripe <= span.last;
}

}  // namespace

void findStripeSpans(const TriangleBatch& batch, const Stripes& stripes, std::size_t begin,
                     std::size_t end, StripeSpan* spans, StripeSpan* blocks) noexcept {
    findTriangleSpans(batch, stripes, begin, end, spans);
    for (std::size_t block = begin; block < end; block += kSpanBlock) {
        StripeSpan all = spans[block];
        for (std::size_t i = block + 1; i < std::min(block + kSpanBlock, end); ++i) {
            all.first = std::min(all.first, spans[i].first);
            all.last = std::max(all.last, spans[i].last);
        }
        blocks[block / kSpanBlock] = all;
    }
}

void drawStripe(const TriangleBatch& batch, const Stripes& stripes, int stripe,
                const StripeSpan* spans, const StripeSpan* blocks, PixelQueue& queue) noexcept {
    const int top = stripes.top + stripe * stripes.rows;
    const RowRange rows{top, std::min(top + stripes.rows - 1, stripes.bottom)};
    const auto k = static_cast<std::uint16_t>(stripe);
    const std::size_t count = batch.triangleCount;
    SetUpRun run;
    if (!spans) {
        for (std::size_t i = 0; i < count; ++i) drawTriangle(batch, i, rows, run, queue);
    }
    for (std::size_t block = 0; spans && block < count; block += kSpanBlock) {
        if (!holds(blocks[block / kSpanBlock], k)) continue;
        for (std::size_t i = block; i < std::min(block + kSpanBlock, count); ++i) {
            if (holds(spans[i], k)) drawTriangle(batch, i, rows, run, queue);
        }
    }
    run.draw(batch, rows, queue);
    if (batch.loop.flush) batch.loop.flush(*batch.pixel, queue);
}

}  // namespace platform::d3d9
