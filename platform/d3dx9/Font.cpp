// D3DXCreateFontA and the font's text drawing. Each call locks the whole back buffer; the device
// has finished every draw issued before by the time the draw call returned, so the text lands on
// top of the frame.
#include "d3dx9/Font.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <utility>

#include "d3dx9/FontLayout.h"
#include "d3dx9/GlyphBlend.h"

namespace platform::d3dx9 {
namespace {

// Taller or wider than any back buffer the device makes; also keeps glyph sizes well inside int.
constexpr INT kMaxFontPixels = 8192;
// A height of 0 asks GDI for its default size; this is the usual one.
constexpr INT kDefaultCellHeight = 16;
// GDI draws bold from FW_SEMIBOLD up.
constexpr UINT kBoldWeight = 600;
constexpr UINT kHeaviestWeight = 1000;

INT clampToInt(std::int64_t value) noexcept {
    return static_cast<INT>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// The whole back buffer, locked while the object lives; no target when it cannot be locked or
// is not 32 bits per pixel.
class BackBufferLock {
public:
    explicit BackBufferLock(IDirect3DDevice9& device) noexcept {
        if (FAILED(device.GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, surface_.put())) ||
            !surface_)
            return;
        D3DSURFACE_DESC desc{};
        if (FAILED(surface_->GetDesc(&desc))) return;
        if (desc.Format != D3DFMT_X8R8G8B8 && desc.Format != D3DFMT_A8R8G8B8) return;
        if (desc.Width > INT_MAX / 4 || desc.Height > INT_MAX) return;
        D3DLOCKED_RECT locked{};
        if (FAILED(surface_->LockRect(&locked, nullptr, 0))) return;
        locked_ = true;
        if (!locked.pBits || locked.Pitch < static_cast<INT>(desc.Width * 4)) return;
        target_ = {static_cast<std::uint8_t*>(locked.pBits), locked.Pitch,
                   static_cast<int>(desc.Width), static_cast<int>(desc.Height)};
    }
    ~BackBufferLock() {
        if (locked_) surface_->UnlockRect();
    }
    BackBufferLock(const BackBufferLock&) = delete;
    BackBufferLock& operator=(const BackBufferLock&) = delete;

    const PixelTarget* target() const noexcept { return target_.bits ? &target_ : nullptr; }

private:
    ComRef<IDirect3DSurface9> surface_;
    bool locked_ = false;
    PixelTarget target_;
};

}  // namespace

Font::Font(ComRef<IDirect3DDevice9> device, std::unique_ptr<GlyphCache> glyphs) noexcept
    : device_(std::move(device)), glyphs_(std::move(glyphs)) {}

INT Font::DrawTextA(LPD3DXSPRITE, LPCSTR pString, INT Count, LPRECT pRect, DWORD Format,
                    D3DCOLOR Color) noexcept {
    if (!pString || !pRect || Count < -1) return 0;
    const std::string_view text(pString, Count == -1 ? std::strlen(pString)
                                                     : static_cast<std::size_t>(Count));
    if (text.empty()) return 0;
    try {
        return drawText(text, *pRect, Format, Color);
    } catch (...) {
        return 0;
    }
}

INT Font::drawText(std::string_view text, RECT& rect, DWORD format, D3DCOLOR colour) {
    const TextExtent extent = measureText(*glyphs_, text, format & DT_SINGLELINE);
    const std::int64_t height = extent.lines * glyphs_->cellHeight();
    if (format & DT_CALCRECT) {
        rect.right = clampToInt(std::int64_t{rect.left} + extent.width);
        rect.bottom = clampToInt(std::int64_t{rect.top} + height);
        return clampToInt(height);
    }
    std::int64_t top = rect.top;
    if (format & DT_BOTTOM)
        top = std::int64_t{rect.bottom} - height;
    else if (format & DT_VCENTER)
        top += (std::int64_t{rect.bottom} - rect.top - height) / 2;
    if (!drawLines(text, rect, top, format, colour)) return 0;
    // GDI's figure: from the rectangle's top down to the bottom of the text.
    return clampToInt(top - rect.top + height);
}

bool Font::drawLines(std::string_view text, const RECT& rect, std::int64_t top, DWORD format,
                     D3DCOLOR colour) {
    const BackBufferLock lock(*device_.get());
    const PixelTarget* target = lock.target();
    if (!target) return false;
    // blendGlyph keeps to the back buffer whatever the box.
    const ClipBox clip = format & DT_NOCLIP
                             ? ClipBox{0, 0, target->width, target->height}
                             : ClipBox{rect.left, rect.top, rect.right, rect.bottom};
    const std::int64_t cellHeight = glyphs_->cellHeight();
    const std::int64_t ascent = glyphs_->ascent();
    forEachLine(text, format & DT_SINGLELINE, [&](std::string_view line, std::int64_t index) {
        std::int64_t left = rect.left;
        if (format & (DT_CENTER | DT_RIGHT)) {
            const std::int64_t room =
                std::int64_t{rect.right} - rect.left - lineWidth(*glyphs_, line);
            left += format & DT_CENTER ? room / 2 : room;
        }
        const std::int64_t baseline = top + index * cellHeight + ascent;
        layoutLine(*glyphs_, line, [&](const Glyph& glyph, std::int64_t pen) {
            blendGlyph(glyph, left + pen + glyph.left, baseline - glyph.top, clip, *target, colour);
        });
    });
    return true;
}

}  // namespace platform::d3dx9

HRESULT D3DXCreateFontA(IDirect3DDevice9* pDevice, INT Height, UINT Width, UINT Weight, UINT,
                        BOOL Italic, DWORD, DWORD, DWORD, DWORD, LPCSTR pFaceName,
                        ID3DXFont** ppFont) {
    using namespace platform::d3dx9;
    if (!pDevice || !ppFont) return D3DERR_INVALIDCALL;
    if (Height < -kMaxFontPixels || Height > kMaxFontPixels ||
        Width > static_cast<UINT>(kMaxFontPixels))
        return D3DERR_INVALIDCALL;
    try {
        FontRequest request;
        if (pFaceName) request.family = pFaceName;
        request.weight = static_cast<int>(std::min(Weight, kHeaviestWeight));
        request.italic = Italic != FALSE;
        FaceSize size;
        size.height = Height == 0 ? kDefaultCellHeight : Height;
        size.width = Width;
        size.bold = Weight >= kBoldWeight;
        size.italic = request.italic;
        auto glyphs = GlyphCache::create(request, size);
        if (!glyphs) return E_FAIL;
        *ppFont = new Font(platform::ComRef<IDirect3DDevice9>::share(pDevice), std::move(glyphs));
        return D3D_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}
