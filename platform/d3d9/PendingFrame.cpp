#include "d3d9/PendingFrame.h"

#include "d3d9/PixelFill.h"

#include <algorithm>

namespace platform::d3d9 {

namespace {

// Stripes per thread: enough that a thread held up (or given the rows where the ground is dense)
// leaves its share to the others, few enough that each stripe's pass over the recorded
// triangles stays cheap. One thread draws the frame as one stripe: no triangle is set up twice.
constexpr int kStripesPerThread = 4;
constexpr int kMinStripeRows = 8;
// Triangles a chunk of the pass that marks each triangle's stripes; a draw of fewer marks them
// on the calling thread.
constexpr std::size_t kSpanChunkTriangles = 2048;
// What a frame holds before a further draw waits for the pending ones: several times the
// largest scene this device is made for, and a few tens of megabytes.
constexpr std::size_t kMaxPendingVertices = std::size_t{1} << 20;
constexpr std::size_t kMaxPendingTriangles = std::size_t{1} << 20;
constexpr std::size_t kMaxPendingCommands = std::size_t{1} << 16;

Stripes stripesOf(int height, unsigned threads) {
    const int perFrame = static_cast<int>(threads) * kStripesPerThread;
    const int rows = threads <= 1 ? std::max(height, 1)
                                  : std::max(kMinStripeRows, (height + perFrame - 1) / perFrame);
    return {0, height - 1, rows, std::max(1, (height + rows - 1) / rows)};
}

// Grows `v` to at least `size` elements, to twice the need so that many small draws in the
// first frames do not regrow it each time.
template <class T>
void growTo(std::vector<T>& v, std::size_t size) {
    if (v.size() < size) v.resize(std::max(size, 2 * v.size()));
}

}  // namespace

PendingFrame::PendingFrame(FrameBuffer& frame, unsigned threads)
    : frame_(frame), stripes_(stripesOf(frame.height, threads)) {}

bool PendingFrame::fits(std::size_t vertices, std::size_t triangles) const noexcept {
    return empty() || (vertices_ + vertices <= kMaxPendingVertices &&
                       triangles_ + triangles <= kMaxPendingTriangles &&
                       commands_.size() < kMaxPendingCommands);
}

DrawSlot PendingFrame::reserve(std::size_t vertices, std::size_t triangles) {
    growTo(clip_, vertices_ + vertices);
    growTo(screen_, vertices_ + vertices);
    growTo(codes_, vertices_ + vertices);
    growTo(corners_, 3 * (triangles_ + triangles));
    growTo(spans_, triangles_ + triangles);
    growTo(blockSpans_, blocks_ + (triangles + kSpanBlock - 1) / kSpanBlock);
    // A command per draw at most, and the first frame's draws should not regrow it each time.
    if (commands_.size() == commands_.capacity()) commands_.reserve(2 * commands_.size() + 16);
    return {clip_.data() + vertices_, screen_.data() + vertices_, codes_.data() + vertices_,
            corners_.data() + 3 * triangles_};
}

TriangleBatch PendingFrame::batchOf(const Draw& draw) const noexcept {
    const DrawState& s = draw.state;
    return {clip_.data() + draw.firstVertex,
            screen_.data() + draw.firstVertex,
            codes_.data() + draw.firstVertex,
            corners_.data() + 3 * draw.firstTriangle,
            draw.triangles,
            s.cull,
            s.scissor,
            s.viewport,
            &s.pixel,
            s.loop};
}

void PendingFrame::addDraw(DrawState state, std::size_t vertices, std::size_t triangles,
                           ThreadPool& pool) {
    // Capacity was reserved: this neither allocates nor throws.
    commands_.emplace_back(Draw{std::move(state), vertices_, triangles_, triangles, blocks_});
    Draw& draw = std::get<Draw>(commands_.back());
    vertices_ += vertices;
    triangles_ += triangles;
    blocks_ += (triangles + kSpanBlock - 1) / kSpanBlock;
    if (stripes_.count == 1) return;  // the one stripe takes every triangle
    const TriangleBatch batch = batchOf(draw);
    StripeSpan* spans = spans_.data() + draw.firstTriangle;
    StripeSpan* blocks = blockSpans_.data() + draw.firstBlock;
    static_assert(kSpanChunkTriangles % kSpanBlock == 0);
    auto findSpans = [&](unsigned chunk) {
        const std::size_t begin = std::size_t{chunk} * kSpanChunkTriangles;
        findStripeSpans(batch, stripes_, begin, std::min(begin + kSpanChunkTriangles, triangles),
                        spans, blocks);
    };
    pool.run(static_cast<unsigned>((triangles + kSpanChunkTriangles - 1) / kSpanChunkTriangles),
             findSpans);
}

void PendingFrame::addClear(const Scissor& rect, DWORD flags, std::uint32_t colour,
                            std::uint16_t depth) {
    if (commands_.size() == commands_.capacity()) commands_.reserve(2 * commands_.size() + 16);
    commands_.emplace_back(Clear{rect, flags, colour, depth});
}

void PendingFrame::runStripe(int stripe, DrawCounters& counters, RowsFinished finished) noexcept {
    const int top = stripes_.top + stripe * stripes_.rows;
    const int bottom = std::min(top + stripes_.rows - 1, stripes_.bottom);
    PixelQueue queue;
    for (const auto& command : commands_) {
        if (const Draw* draw = std::get_if<Draw>(&command)) {
            const bool one = stripes_.count == 1;
            drawStripe(batchOf(*draw), stripes_, stripe,
                       one ? nullptr : spans_.data() + draw->firstTriangle,
                       one ? nullptr : blockSpans_.data() + draw->firstBlock, queue);
            continue;
        }
        const Clear& clear = std::get<Clear>(command);
        const auto count = static_cast<std::size_t>(clear.rect.right - clear.rect.left);
        for (int y = std::max(top, clear.rect.top); y <= std::min(bottom, clear.rect.bottom - 1);
             ++y) {
            const std::size_t row = static_cast<std::size_t>(y) * frame_.width + clear.rect.left;
            if (clear.flags & D3DCLEAR_TARGET) {
                fillPixels(frame_.colour->data() + row, count, clear.colour);
            }
            if (clear.flags & D3DCLEAR_ZBUFFER) {
                fillPixels(frame_.depth.data() + row, count, clear.depth);
            }
        }
    }
    counters.add(queue.triangles, queue.shaded);
    if (finished.run) finished.run(finished.context, top, bottom);
}

bool PendingFrame::draw(ThreadPool& pool, DrawCounters& counters, RowsFinished finished) noexcept {
    if (commands_.empty()) return false;
    auto stripe = [&](unsigned index) { runStripe(static_cast<int>(index), counters, finished); };
    pool.run(static_cast<unsigned>(stripes_.count), stripe);
    commands_.clear();  // lets go of the draws' textures; keeps the capacity
    vertices_ = 0;
    triangles_ = 0;
    blocks_ = 0;
    return true;
}

}  // namespace platform::d3d9
