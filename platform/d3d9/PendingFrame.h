// PendingFrame.h: the clears and draws a device has accepted but not yet carried out. A draw's
// vertex stage and triangle assembly run when it is called (so the buffers it read may change
// at once); its pixels wait here with the state they need until the frame is drawn in one go:
// the back buffer is cut into stripes of rows, and each stripe runs every clear and draw in the
// order they were called, so the picture does not depend on how many threads share the work.
// Storage grows to the largest frame seen and is then reused: a steady frame allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <variant>
#include <vector>

#include "d3d9/ComRef.h"
#include "d3d9/DrawCounters.h"
#include "d3d9/FrameBuffer.h"
#include "d3d9/Pipeline.h"
#include "d3d9/Texture.h"
#include "d3d9/ThreadPool.h"

namespace platform::d3d9 {

// Where a draw being recorded writes its vertex stage's output and its assembled triangles.
struct DrawSlot {
    ClipVertex* clip;
    ScreenVertex* screen;
    std::uint8_t* codes;
    std::uint32_t* corners;  // vertex numbers from the draw's own first vertex
};

// What a recorded draw's pixels depend on besides its triangles.
struct DrawState {
    PixelState pixel;
    RasterLoop loop;
    Cull cull;
    Scissor scissor;
    ViewportTransform viewport;
    ComRef<Texture> texture;  // keeps the sampled levels alive until the draw is done
};

// Called on a drawing thread once rows top..bottom of the frame are finished, while they are
// still in that thread's caches.
struct RowsFinished {
    void (*run)(void* context, int top, int bottom) noexcept = nullptr;
    void* context = nullptr;
};

class PendingFrame {
public:
    PendingFrame(FrameBuffer& frame, unsigned threads);

    bool empty() const noexcept { return commands_.empty(); }
    // False when a draw this large (or a clear, with zeros) must wait for the pending ones to
    // be drawn first: the frame holds a bounded amount.
    bool fits(std::size_t vertices, std::size_t triangles) const noexcept;
    // Room for a draw of `vertices` and `triangles` after the pending ones. Throws
    // std::bad_alloc when it cannot grow; nothing recorded is lost then.
    DrawSlot reserve(std::size_t vertices, std::size_t triangles);
    // Records the draw written to the last reserve()'s slot. Large draws find the stripes of
    // their triangles on the pool.
    void addDraw(DrawState state, std::size_t vertices, std::size_t triangles, ThreadPool& pool);
    // Records a fill of `rect` (inside the back buffer) with D3DCLEAR_TARGET / D3DCLEAR_ZBUFFER.
    void addClear(const Scissor& rect, DWORD flags, std::uint32_t colour, std::uint16_t depth);

    // Draws everything recorded, then holds nothing. When something was, `finished` has been
    // called for every row of the frame, and the result is true.
    bool draw(ThreadPool& pool, DrawCounters& counters, RowsFinished finished = {}) noexcept;

private:
    struct Clear {
        Scissor rect;
        DWORD flags;
        std::uint32_t colour;
        std::uint16_t depth;
    };
    struct Draw {
        DrawState state;
        std::size_t firstVertex;
        std::size_t firstTriangle;
        std::size_t triangles;
        std::size_t firstBlock;  // of the spans' blocks
    };

    TriangleBatch batchOf(const Draw& draw) const noexcept;
    void runStripe(int stripe, DrawCounters& counters, RowsFinished finished) noexcept;

    FrameBuffer& frame_;
    Stripes stripes_;
    std::vector<std::variant<Clear, Draw>> commands_;
    std::size_t vertices_ = 0;   // of the recorded draws
    std::size_t triangles_ = 0;  // of the recorded draws
    std::size_t blocks_ = 0;     // of the recorded draws' spans
    std::vector<ClipVertex> clip_;
    std::vector<ScreenVertex> screen_;
    std::vector<std::uint8_t> codes_;
    std::vector<std::uint32_t> corners_;
    std::vector<StripeSpan> spans_;
    std::vector<StripeSpan> blockSpans_;
};

}  // namespace platform::d3d9
