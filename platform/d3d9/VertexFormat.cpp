#include "d3d9/VertexFormat.h"

namespace platform::d3d9 {

namespace {

constexpr DWORD kPositionXYZB1 = 0x006;
constexpr DWORD kPositionXYZB5 = 0x00E;
constexpr DWORD kPositionXYZW = 0x4002;

// Floats in texture-coordinate set `set`: the two size bits at 16 + 2*set; 0 means two.
unsigned texCoordFloats(DWORD fvf, unsigned set) noexcept {
    static constexpr unsigned kFloats[4] = {2, 3, 4, 1};
    return kFloats[(fvf >> (16 + 2 * set)) & 3];
}

unsigned positionBytes(DWORD fvf) noexcept {
    switch (fvf & D3DFVF_POSITION_MASK) {
        case D3DFVF_XYZ: return 12;
        case D3DFVF_XYZRHW: return 16;
        case kPositionXYZW: return 16;
        case 0: return 0;
        default: break;
    }
    const DWORD position = fvf & D3DFVF_POSITION_MASK;
    if (position >= kPositionXYZB1 && position <= kPositionXYZB5 && (position & 1) == 0) {
        return 12 + 4 * ((position - D3DFVF_XYZRHW) / 2);  // one float a blend weight
    }
    return 0;
}

}  // namespace

unsigned vertexSize(DWORD fvf) noexcept {
    unsigned size = positionBytes(fvf);
    if (size == 0) return 0;
    if (fvf & D3DFVF_NORMAL) size += 12;
    if (fvf & D3DFVF_PSIZE) size += 4;
    if (fvf & D3DFVF_DIFFUSE) size += 4;
    if (fvf & D3DFVF_SPECULAR) size += 4;
    const unsigned sets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (sets > 8) return 0;
    for (unsigned set = 0; set < sets; ++set) size += 4 * texCoordFloats(fvf, set);
    return size;
}

std::optional<VertexLayout> decodeVertexFormat(DWORD fvf, DWORD texCoordIndex) noexcept {
    const unsigned size = vertexSize(fvf);
    if (size == 0 || (fvf & D3DFVF_POSITION_MASK) != D3DFVF_XYZ) return std::nullopt;
    if (fvf & (D3DFVF_DIFFUSE | D3DFVF_SPECULAR)) return std::nullopt;
    unsigned offset = 12;
    if (fvf & D3DFVF_NORMAL) offset += 12;
    if (fvf & D3DFVF_PSIZE) offset += 4;
    const unsigned sets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    // Only the low bits name the set; the high ones ask for generated coordinates.
    const unsigned wanted = texCoordIndex & 0xFFFF;
    if (wanted >= sets) return VertexLayout{size, 0, false};
    for (unsigned set = 0; set < wanted; ++set) offset += 4 * texCoordFloats(fvf, set);
    // A one-float set has no v; the stage reads two floats, so it cannot be drawn here.
    if (texCoordFloats(fvf, wanted) < 2) return std::nullopt;
    return VertexLayout{size, offset, true};
}

}  // namespace platform::d3d9
