// The device's draw calls: validation of every vertex and index a draw reads, the vertex stage
// and triangle assembly (split across the device's threads when the draw is large enough to pay
// for it), and the hand-over of the triangles to the pending frame.
#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <new>
#include <optional>

#include "d3d9/Device.h"
#include "d3d9/VertexFormat.h"

namespace platform::d3d9 {

namespace {

// Vertices and triangles a chunk of the vertex stage and of triangle assembly with its index
// checks, when the device has more than one thread.
constexpr std::size_t kVertexChunk = 2048;
constexpr std::size_t kTriangleChunk = 4096;

// Vertices or indices a draw of `primitives` reads, or 0 for a type the device cannot draw.
std::uint64_t cornersRead(D3DPRIMITIVETYPE type, UINT primitives) noexcept {
    switch (type) {
        case D3DPT_TRIANGLELIST: return std::uint64_t{primitives} * 3;
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN: return std::uint64_t{primitives} + 2;
        default: return 0;
    }
}

std::uint32_t channel(float value) noexcept {
    if (!(value > 0.0f)) return 0;
    if (value >= 1.0f) return 255;
    return static_cast<std::uint32_t>(value * 255.0f + 0.5f);
}

std::uint32_t packColour(float r, float g, float b, float a) noexcept {
    return (channel(a) << 24) | (channel(r) << 16) | (channel(g) << 8) | channel(b);
}

Filter filterOf(DWORD value) noexcept {
    return value == D3DTEXF_NONE || value == D3DTEXF_POINT ? Filter::Point : Filter::Linear;
}

MipFilter mipFilterOf(DWORD value) noexcept {
    if (value == D3DTEXF_NONE) return MipFilter::None;
    if (value == D3DTEXF_POINT) return MipFilter::Point;
    return MipFilter::Linear;
}

// Index k less `minIndex`: the vertex slot it names. One below minIndex wraps past any slot
// transformed, as that range ends inside 32 bits.
template <class Index>
std::uint32_t slotOf(const std::uint8_t* indices, std::size_t k, std::uint32_t minIndex) noexcept {
    Index read;
    std::memcpy(&read, indices + sizeof(Index) * k, sizeof(Index));
    return std::uint32_t{read} - minIndex;
}

// A list's corners [begin, end), each slotOf its index; false when one is not below
// `vertices`. A loop the compiler vectorises.
template <class Index>
bool listCorners(const std::uint8_t* indices, std::size_t begin, std::size_t end,
                 std::uint32_t minIndex, std::uint32_t vertices,
                 std::uint32_t* __restrict corners) noexcept {
    std::uint32_t outside = 0;
    for (std::size_t k = begin; k < end; ++k) {
        const std::uint32_t slot = slotOf<Index>(indices, k, minIndex);
        outside |= slot >= vertices;
        corners[k] = slot;
    }
    return !outside;
}

}  // namespace

Scissor Device::scissor() const noexcept {
    return {static_cast<int>(viewport_.X), static_cast<int>(viewport_.Y),
            static_cast<int>(viewport_.X + viewport_.Width),
            static_cast<int>(viewport_.Y + viewport_.Height)};
}

// Stage 0 reduced to what the formats this device draws allow: no vertex colour, so the diffuse
// colour is one value for the whole draw and the stage is either that colour or the texel
// modulated by it. With lighting off it is opaque white. With lighting on and no lights (this
// device has none) Direct3D gives emissive + ambient material x D3DRS_AMBIENT, alpha from the
// diffuse material: black for the default material.
PixelState Device::pixelState() const noexcept {
    PixelState s{};
    s.colour = frame_->colour->data();
    s.pitch = frame_->width;
    const bool depthOn = !frame_->depth.empty() && renderStates_[D3DRS_ZENABLE] != D3DZB_FALSE;
    if (!depthOn) {
        s.depthMode = DepthMode::Off;
    } else {
        s.depth = frame_->depth.data();
        s.depthFunc = static_cast<D3DCMPFUNC>(renderStates_[D3DRS_ZFUNC]);
        s.depthWrite = renderStates_[D3DRS_ZWRITEENABLE] != FALSE;
        s.depthMode = s.depthFunc == D3DCMP_LESSEQUAL && s.depthWrite ? DepthMode::LessEqualWrite
                                                                      : DepthMode::Generic;
    }

    std::uint32_t diffuse = 0xFFFFFFFFu;
    if (renderStates_[D3DRS_LIGHTING]) {
        const DWORD ambient = renderStates_[D3DRS_AMBIENT];
        const auto global = [ambient](int shift) { return ((ambient >> shift) & 0xFF) / 255.0f; };
        const D3DMATERIAL9& m = material_;
        diffuse = packColour(m.Emissive.r + m.Ambient.r * global(16),
                             m.Emissive.g + m.Ambient.g * global(8),
                             m.Emissive.b + m.Ambient.b * global(0), m.Diffuse.a);
    }
    const auto& stage = stageStates_[0];
    const auto argument = [&](DWORD arg) -> std::optional<std::uint32_t> {
        switch (arg & 0xF) {
            case D3DTA_TEXTURE: return std::nullopt;
            case D3DTA_TFACTOR: return renderStates_[D3DRS_TEXTUREFACTOR];
            default: return diffuse;  // diffuse, and current: at stage 0 that is diffuse too
        }
    };
    const Texture* texture = textures_[0].get();
    s.diffuse = diffuse;
    s.textured = false;
    if (texture && stage[D3DTSS_COLOROP] != D3DTOP_DISABLE) {
        const auto arg1 = argument(stage[D3DTSS_COLORARG1]);
        const auto arg2 = argument(stage[D3DTSS_COLORARG2]);
        switch (stage[D3DTSS_COLOROP]) {
            case D3DTOP_SELECTARG1:
                s.textured = !arg1;
                s.diffuse = arg1 ? *arg1 : 0xFFFFFFFFu;
                break;
            case D3DTOP_SELECTARG2:
                s.textured = !arg2;
                s.diffuse = arg2 ? *arg2 : 0xFFFFFFFFu;
                break;
            default:  // MODULATE, and the other operations drawn as it
                s.textured = !arg1 || !arg2;
                s.diffuse = arg1 ? *arg1 : arg2 ? *arg2 : 0xFFFFFFFFu;
                break;
        }
    }
    s.modulate = (s.diffuse & 0x00FFFFFFu) != 0x00FFFFFFu;
    if (s.textured) {
        const auto& sampler = samplerStates_[0];
        const auto& levels = texture->levels();
        s.mag = filterOf(sampler[D3DSAMP_MAGFILTER]);
        s.min = filterOf(sampler[D3DSAMP_MINFILTER]);
        s.mip = mipFilterOf(sampler[D3DSAMP_MIPFILTER]);
        s.sampler.levels = levels.data();
        s.sampler.levelCount = static_cast<int>(levels.size());
        s.sampler.firstLevel =
            static_cast<int>(std::min<DWORD>(sampler[D3DSAMP_MAXMIPLEVEL], levels.size() - 1));
        s.sampler.lodBias = std::bit_cast<float>(sampler[D3DSAMP_MIPMAPLODBIAS]);
        if (!(s.sampler.lodBias > -16.0f && s.sampler.lodBias < 16.0f)) s.sampler.lodBias = 0.0f;
        s.sampler.width0 = static_cast<float>(levels[0].width);
        s.sampler.height0 = static_cast<float>(levels[0].height);
        s.layout = layoutOf(s.sampler);
    }
    return s;
}

HRESULT Device::streamVertices(VertexLayout& layout, const std::uint8_t*& firstVertex,
                               std::uint64_t& vertexCount) const noexcept {
    if (!inScene_ || !stream_.buffer) return D3DERR_INVALIDCALL;
    const auto decoded = decodeVertexFormat(fvf_, stageStates_[0][D3DTSS_TEXCOORDINDEX]);
    if (!decoded || stream_.stride < decoded->size) return D3DERR_INVALIDCALL;
    layout = *decoded;
    const BufferStorage& storage = stream_.buffer->storage();
    if (stream_.offset >= storage.size()) return D3DERR_INVALIDCALL;
    const std::uint64_t bytes = storage.size() - stream_.offset;
    firstVertex = storage.data() + stream_.offset;
    // The last vertex needs only its own size, not a whole stride, after it.
    vertexCount = bytes < layout.size ? 0 : (bytes - layout.size) / stream_.stride + 1;
    return D3D_OK;
}

HRESULT Device::reserveDraw(std::size_t vertices, std::size_t triangles) noexcept {
    if (!pending_.fits(vertices, triangles)) finishDrawing();
    try {
        slot_ = pending_.reserve(vertices, triangles);
        return D3D_OK;
    } catch (const std::bad_alloc&) {
    }
    if (pending_.empty()) return E_OUTOFMEMORY;
    // The room the pending draws hold may be enough once they are drawn.
    finishDrawing();
    try {
        slot_ = pending_.reserve(vertices, triangles);
        return D3D_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// Every second triangle of a strip has its first two corners swapped, as Direct3D does, so all
// triangles of a strip keep the first one's winding.
template <class Slot>
void Device::assembleTriangles(D3DPRIMITIVETYPE type, std::size_t begin, std::size_t end,
                               Slot slot) noexcept {
    std::uint32_t* out = slot_.corners + 3 * begin;
    for (std::size_t t = begin; t < end; ++t, out += 3) {
        switch (type) {
            case D3DPT_TRIANGLESTRIP:
                out[0] = slot(t % 2 == 0 ? t : t + 1);
                out[1] = slot(t % 2 == 0 ? t + 1 : t);
                out[2] = slot(t + 2);
                break;
            case D3DPT_TRIANGLEFAN:
                out[0] = slot(0);
                out[1] = slot(t + 1);
                out[2] = slot(t + 2);
                break;
            default:
                out[0] = slot(3 * t);
                out[1] = slot(3 * t + 1);
                out[2] = slot(3 * t + 2);
                break;
        }
    }
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex,
                              UINT PrimitiveCount) noexcept {
    VertexLayout layout;
    const std::uint8_t* first;
    std::uint64_t available;
    if (HRESULT hr = streamVertices(layout, first, available); FAILED(hr)) return hr;
    const std::uint64_t count = cornersRead(PrimitiveType, PrimitiveCount);
    if (count == 0 || PrimitiveCount == 0 || PrimitiveCount > kMaxPrimitiveCount ||
        StartVertex + count > available) {
        return D3DERR_INVALIDCALL;
    }
    if (HRESULT hr = reserveDraw(count, PrimitiveCount); FAILED(hr)) return hr;
    return drawTriangles(layout, first + std::size_t{StartVertex} * stream_.stride, count,
                         PrimitiveCount, [&](std::size_t begin, std::size_t end) {
                             assembleTriangles(PrimitiveType, begin, end, [](std::size_t k) {
                                 return static_cast<std::uint32_t>(k);
                             });
                             return true;
                         });
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex,
                                     UINT MinVertexIndex, UINT NumVertices, UINT StartIndex,
                                     UINT PrimitiveCount) noexcept {
    VertexLayout layout;
    const std::uint8_t* first;
    std::uint64_t available;
    if (HRESULT hr = streamVertices(layout, first, available); FAILED(hr)) return hr;
    if (!indices_) return D3DERR_INVALIDCALL;
    const std::uint64_t count = cornersRead(PrimitiveType, PrimitiveCount);
    const BufferStorage& storage = indices_->storage();
    const UINT indexSize = indices_->indexSize();
    // The vertex stage transforms [MinVertexIndex, MinVertexIndex + NumVertices) from the base;
    // that range must lie in the buffer and every index inside it.
    const std::int64_t firstVertex = std::int64_t{BaseVertexIndex} + MinVertexIndex;
    if (count == 0 || PrimitiveCount == 0 || PrimitiveCount > kMaxPrimitiveCount ||
        NumVertices == 0 || std::uint64_t{MinVertexIndex} + NumVertices - 1 > kMaxVertexIndex ||
        firstVertex < 0 || static_cast<std::uint64_t>(firstVertex) + NumVertices > available ||
        (std::uint64_t{StartIndex} + count) * indexSize > storage.size()) {
        return D3DERR_INVALIDCALL;
    }
    if (HRESULT hr = reserveDraw(NumVertices, PrimitiveCount); FAILED(hr)) return hr;
    const std::uint8_t* indexData = storage.data() + std::size_t{StartIndex} * indexSize;
    // Each corner's index is read once, as the triangles are assembled: one outside the range
    // transformed refuses the draw. One loop for each index size, with no test of it per index.
    const auto assembleWith = [&]<class Index>(std::size_t begin, std::size_t end, Index) {
        if (PrimitiveType == D3DPT_TRIANGLELIST) {
            return listCorners<Index>(indexData, 3 * begin, 3 * end, MinVertexIndex, NumVertices,
                                      slot_.corners);
        }
        bool outside = false;
        assembleTriangles(PrimitiveType, begin, end, [&](std::size_t k) {
            const std::uint32_t slot = slotOf<Index>(indexData, k, MinVertexIndex);
            outside |= slot >= NumVertices;
            return slot;
        });
        return !outside;
    };
    const auto assemble = [&](std::size_t begin, std::size_t end) {
        return indexSize == 4 ? assembleWith(begin, end, std::uint32_t{})
                              : assembleWith(begin, end, std::uint16_t{});
    };
    return drawTriangles(layout, first + static_cast<std::size_t>(firstVertex) * stream_.stride,
                         NumVertices, PrimitiveCount, assemble);
}

template <class Assemble>
HRESULT Device::drawTriangles(const VertexLayout& layout, const std::uint8_t* first,
                              std::size_t count, std::size_t triangles,
                              Assemble assemble) noexcept {
    const D3DMATRIX worldViewProjection =
        multiply(multiply(transforms_[2], transforms_[0]), transforms_[1]);
    const ViewportTransform viewport = viewportTransform(viewport_);
    // The vertex stage and triangle assembly, independent of each other, as one job. Both
    // counts are at least 1.
    const bool split = pool_.size() > 1;
    const std::size_t vertexChunk = split ? kVertexChunk : count;
    const std::size_t triangleChunk = split ? kTriangleChunk : triangles;
    const auto vertexChunks = static_cast<unsigned>((count + vertexChunk - 1) / vertexChunk);
    const auto triangleChunks =
        static_cast<unsigned>((triangles + triangleChunk - 1) / triangleChunk);
    std::atomic<bool> refused{false};
    auto prepare = [&](unsigned chunk) {
        if (chunk < vertexChunks) {
            const std::size_t begin = std::size_t{chunk} * vertexChunk;
            const std::size_t end = std::min(begin + vertexChunk, count);
            processVertices(first + begin * stream_.stride, stream_.stride, end - begin, layout,
                            worldViewProjection, viewport, slot_.clip + begin,
                            slot_.screen + begin, slot_.codes + begin);
            return;
        }
        const std::size_t begin = std::size_t{chunk - vertexChunks} * triangleChunk;
        if (!assemble(begin, std::min(begin + triangleChunk, triangles))) {
            refused.store(true, std::memory_order_relaxed);
        }
    };
    if (vertexChunks + triangleChunks <= 2) {
        // One chunk of each: not worth waking the workers.
        for (unsigned chunk = 0; chunk < vertexChunks + triangleChunks; ++chunk) prepare(chunk);
    } else {
        pool_.run(vertexChunks + triangleChunks, prepare);
    }
    if (refused.load(std::memory_order_relaxed)) return D3DERR_INVALIDCALL;

    Cull cull = Cull::None;
    if (renderStates_[D3DRS_CULLMODE] == D3DCULL_CW) cull = Cull::Clockwise;
    if (renderStates_[D3DRS_CULLMODE] == D3DCULL_CCW) cull = Cull::CounterClockwise;
    DrawState state{pixelState(), {}, cull, scissor(), viewport, ComRef<Texture>()};
    state.loop = selectRasterLoop(state.pixel);
    if (state.pixel.textured) state.texture = ComRef<Texture>::share(textures_[0].get());
    pending_.addDraw(std::move(state), count, triangles, pool_);
    return D3D_OK;
}

DrawCounts drawCounts(IDirect3DDevice9* device) noexcept {
    auto* software = dynamic_cast<Device*>(device);
    if (!software) return {0, 0};
    software->finishDrawing();
    return {software->counters_.triangles.load(), software->counters_.pixels.load()};
}

}  // namespace platform::d3d9
