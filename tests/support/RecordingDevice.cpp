#include "RecordingDevice.h"

#include <algorithm>
#include <cstdio>

namespace test {
namespace {

std::string hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

std::string color(const D3DCOLORVALUE& c) {
    char text[128];
    std::snprintf(text, sizeof text, "(%g %g %g %g)", static_cast<double>(c.r), static_cast<double>(c.g),
                  static_cast<double>(c.b), static_cast<double>(c.a));
    return text;
}

}  // namespace

std::string formatMatrix(const D3DMATRIX& matrix) {
    std::string text = "{";
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            text += number(matrix.m[row][col]);
            if (col < 3) text += ' ';
        }
        if (row < 3) text += '|';
    }
    return text + "}";
}

// What every resource of this device shares: a name, a reference count, memory.
class RecordingDevice::Resource {
public:
    Resource(RecordingDevice& device, std::string name, D3DRESOURCETYPE type)
        : device_(device), name_(std::move(name)), type_(type) {}
    virtual ~Resource() = default;
    virtual const void* face() const = 0;  // the interface pointer callers hold

    ULONG addRef() { return ++references_; }
    ULONG release() {
        if (references_ == 0) {
            device_.countOverRelease();
            device_.record(name_ + ".Release() past zero");
            return 0;
        }
        device_.record(name_ + ".Release()");
        return --references_;
    }
    bool live() const { return references_ > 0; }
    const std::string& name() const { return name_; }

    HRESULT lock(std::vector<BYTE>& bytes, UINT offset, UINT size, void** data, DWORD flags,
                 const char* refusal) {
        device_.record(name_ + ".Lock(" + std::to_string(offset) + ", " + std::to_string(size) +
                       ", " + hex(flags) + ")");
        if (!data) return D3DERR_INVALIDCALL;
        *data = nullptr;
        if (device_.isRefused(refusal)) return D3DERR_INVALIDCALL;
        if (offset > bytes.size() || size > bytes.size() - offset) return D3DERR_INVALIDCALL;
        *data = bytes.data() + offset;
        return D3D_OK;
    }
    HRESULT unlock() {
        device_.record(name_ + ".Unlock()");
        return D3D_OK;
    }

    RecordingDevice& device_;
    std::string name_;
    D3DRESOURCETYPE type_;
    ULONG references_ = 1;
};

namespace {

template <class Interface>
class ResourceOf : public Interface, public RecordingDevice::Resource {
public:
    using Resource::Resource;
    const void* face() const override { return static_cast<const Interface*>(this); }
    ULONG AddRef() noexcept override { return addRef(); }
    ULONG Release() noexcept override { return release(); }
    HRESULT GetDevice(IDirect3DDevice9** ppDevice) noexcept override {
        if (!ppDevice) return D3DERR_INVALIDCALL;
        device_.AddRef();
        *ppDevice = &device_;
        return D3D_OK;
    }
    D3DRESOURCETYPE GetType() noexcept override { return type_; }
};

class MemoryVertexBuffer final : public ResourceOf<IDirect3DVertexBuffer9> {
public:
    MemoryVertexBuffer(RecordingDevice& device, std::string name, UINT length, DWORD fvf)
        : ResourceOf(device, std::move(name), D3DRTYPE_VERTEXBUFFER), bytes_(length), fvf_(fvf) {}
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) noexcept override {
        return lock(bytes_, offset, size, data, flags, "VertexBufferLock");
    }
    HRESULT Unlock() noexcept override { return unlock(); }
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) noexcept override {
        if (!desc) return D3DERR_INVALIDCALL;
        *desc = {D3DFMT_UNKNOWN, D3DRTYPE_VERTEXBUFFER, 0, D3DPOOL_DEFAULT,
                 static_cast<UINT>(bytes_.size()), fvf_};
        return D3D_OK;
    }
    std::vector<BYTE> bytes_;
    DWORD fvf_;
};

class MemoryIndexBuffer final : public ResourceOf<IDirect3DIndexBuffer9> {
public:
    MemoryIndexBuffer(RecordingDevice& device, std::string name, UINT length, D3DFORMAT format)
        : ResourceOf(device, std::move(name), D3DRTYPE_INDEXBUFFER), bytes_(length),
          format_(format) {}
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) noexcept override {
        return lock(bytes_, offset, size, data, flags, "IndexBufferLock");
    }
    HRESULT Unlock() noexcept override { return unlock(); }
    HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) noexcept override {
        if (!desc) return D3DERR_INVALIDCALL;
        *desc = {format_, D3DRTYPE_INDEXBUFFER, 0, D3DPOOL_DEFAULT,
                 static_cast<UINT>(bytes_.size())};
        return D3D_OK;
    }
    std::vector<BYTE> bytes_;
    D3DFORMAT format_;
};

struct PixelLevel {
    UINT width;
    UINT height;
    std::vector<DWORD> pixels;

    HRESULT lock(D3DLOCKED_RECT* locked, const RECT* rect) {
        if (!locked) return D3DERR_INVALIDCALL;
        RECT whole{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
        const RECT& r = rect ? *rect : whole;
        if (r.left < 0 || r.top < 0 || r.right > whole.right || r.bottom > whole.bottom ||
            r.left >= r.right || r.top >= r.bottom)
            return D3DERR_INVALIDCALL;
        locked->Pitch = static_cast<INT>(width * sizeof(DWORD));
        locked->pBits = pixels.data() + static_cast<size_t>(r.top) * width + r.left;
        return D3D_OK;
    }
};

PixelLevel makeLevel(UINT width, UINT height) {
    return {width, height, std::vector<DWORD>(static_cast<size_t>(width) * height)};
}

class MemoryTexture final : public ResourceOf<IDirect3DTexture9> {
public:
    MemoryTexture(RecordingDevice& device, std::string name, UINT width, UINT height, UINT levels,
                  D3DFORMAT format)
        : ResourceOf(device, std::move(name), D3DRTYPE_TEXTURE), format_(format) {
        for (UINT level = 0; levels == 0 || level < levels; ++level) {
            levels_.push_back(makeLevel(width, height));
            if (width == 1 && height == 1) break;
            width = std::max(1u, width / 2);
            height = std::max(1u, height / 2);
        }
    }
    DWORD GetLevelCount() noexcept override { return static_cast<DWORD>(levels_.size()); }
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) noexcept override {
        if (!desc || level >= levels_.size()) return D3DERR_INVALIDCALL;
        *desc = {format_, D3DRTYPE_SURFACE, 0, D3DPOOL_MANAGED, D3DMULTISAMPLE_NONE, 0,
                 levels_[level].width, levels_[level].height};
        return D3D_OK;
    }
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect,
                     DWORD) noexcept override {
        if (level >= levels_.size()) return D3DERR_INVALIDCALL;
        return levels_[level].lock(locked, rect);
    }
    HRESULT UnlockRect(UINT level) noexcept override {
        return level < levels_.size() ? D3D_OK : D3DERR_INVALIDCALL;
    }
    std::vector<PixelLevel> levels_;
    D3DFORMAT format_;
};

class MemorySurface final : public ResourceOf<IDirect3DSurface9> {
public:
    MemorySurface(RecordingDevice& device, UINT width, UINT height)
        : ResourceOf(device, "backbuffer", D3DRTYPE_SURFACE), level_(makeLevel(width, height)) {}
    HRESULT GetDesc(D3DSURFACE_DESC* desc) noexcept override {
        if (!desc) return D3DERR_INVALIDCALL;
        *desc = {D3DFMT_X8R8G8B8, D3DRTYPE_SURFACE, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT,
                 D3DMULTISAMPLE_NONE, 0, level_.width, level_.height};
        return D3D_OK;
    }
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD) noexcept override {
        return level_.lock(locked, rect);
    }
    HRESULT UnlockRect() noexcept override { return D3D_OK; }
    PixelLevel level_;
};

}  // namespace

RecordingDevice::RecordingDevice(UINT backBufferWidth, UINT backBufferHeight)
    : backBufferWidth_(backBufferWidth),
      backBufferHeight_(backBufferHeight),
      backBuffer_(std::make_unique<MemorySurface>(*this, backBufferWidth, backBufferHeight)),
      viewport_{0, 0, backBufferWidth, backBufferHeight, 0.0f, 1.0f} {
    // The defaults Direct3D 9 gives the states the program reads back.
    renderStates_[D3DRS_ZENABLE] = D3DZB_TRUE;
    renderStates_[D3DRS_ZWRITEENABLE] = TRUE;
    renderStates_[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    renderStates_[D3DRS_CULLMODE] = D3DCULL_CCW;
    renderStates_[D3DRS_LIGHTING] = TRUE;
}

RecordingDevice::~RecordingDevice() = default;

template <class T>
T* RecordingDevice::adopt(std::unique_ptr<T> resource) {
    T* raw = resource.get();
    resources_.push_back(std::move(resource));
    return raw;
}

const RecordingDevice::Resource* RecordingDevice::find(const void* resource) const {
    for (const auto& candidate : resources_)
        if (candidate->face() == resource) return candidate.get();
    return nullptr;
}

std::string RecordingDevice::nameOf(const void* resource) const {
    if (!resource) return "null";
    const Resource* found = find(resource);
    return found ? found->name() : "foreign";
}

int RecordingDevice::liveResources() const {
    return static_cast<int>(std::count_if(resources_.begin(), resources_.end(),
                                          [](const auto& r) { return r->live(); }));
}

namespace {

template <class T>
const T* asTexture(const RecordingDevice::Resource* resource) {
    return dynamic_cast<const T*>(resource);
}

}  // namespace

std::vector<DWORD> RecordingDevice::texturePixels(IDirect3DBaseTexture9* texture) const {
    const auto* found = asTexture<MemoryTexture>(find(static_cast<IDirect3DTexture9*>(texture)));
    return found ? found->levels_[0].pixels : std::vector<DWORD>{};
}

UINT RecordingDevice::textureWidth(IDirect3DBaseTexture9* texture) const {
    const auto* found = asTexture<MemoryTexture>(find(static_cast<IDirect3DTexture9*>(texture)));
    return found ? found->levels_[0].width : 0;
}

UINT RecordingDevice::textureHeight(IDirect3DBaseTexture9* texture) const {
    const auto* found = asTexture<MemoryTexture>(find(static_cast<IDirect3DTexture9*>(texture)));
    return found ? found->levels_[0].height : 0;
}

HRESULT RecordingDevice::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage,
                                       D3DFORMAT Format, D3DPOOL Pool,
                                       IDirect3DTexture9** ppTexture, HANDLE*) noexcept {
    const std::string name = "tex" + std::to_string(++createdByKind_["tex"]);
    record("CreateTexture(" + std::to_string(Width) + ", " + std::to_string(Height) + ", " +
           std::to_string(Levels) + ", " + hex(Usage) + ", " + std::to_string(Format) + ", " +
           std::to_string(Pool) + ") -> " + name);
    if (!ppTexture) return D3DERR_INVALIDCALL;
    *ppTexture = nullptr;
    if (isRefused("CreateTexture") || Width == 0 || Height == 0) return D3DERR_INVALIDCALL;
    *ppTexture = adopt(std::make_unique<MemoryTexture>(*this, name, Width, Height, Levels, Format));
    return D3D_OK;
}

HRESULT RecordingDevice::CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                            IDirect3DVertexBuffer9** ppVertexBuffer,
                                            HANDLE* pSharedHandle) noexcept {
    const std::string name = "vb" + std::to_string(++createdByKind_["vb"]);
    record("CreateVertexBuffer(" + std::to_string(Length) + ", " + hex(Usage) + ", " + hex(FVF) +
           ", " + std::to_string(Pool) + (pSharedHandle ? ", handle" : ", null") + ") -> " + name);
    if (!ppVertexBuffer) return D3DERR_INVALIDCALL;
    *ppVertexBuffer = nullptr;
    if (isRefused("CreateVertexBuffer") || Length == 0) return D3DERR_INVALIDCALL;
    *ppVertexBuffer = adopt(std::make_unique<MemoryVertexBuffer>(*this, name, Length, FVF));
    return D3D_OK;
}

HRESULT RecordingDevice::CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format,
                                           D3DPOOL Pool, IDirect3DIndexBuffer9** ppIndexBuffer,
                                           HANDLE* pSharedHandle) noexcept {
    const std::string name = "ib" + std::to_string(++createdByKind_["ib"]);
    record("CreateIndexBuffer(" + std::to_string(Length) + ", " + hex(Usage) + ", " +
           std::to_string(Format) + ", " + std::to_string(Pool) +
           (pSharedHandle ? ", handle" : ", null") + ") -> " + name);
    if (!ppIndexBuffer) return D3DERR_INVALIDCALL;
    *ppIndexBuffer = nullptr;
    if (isRefused("CreateIndexBuffer") || Length == 0) return D3DERR_INVALIDCALL;
    *ppIndexBuffer = adopt(std::make_unique<MemoryIndexBuffer>(*this, name, Length, Format));
    return D3D_OK;
}

HRESULT RecordingDevice::GetBackBuffer(UINT, UINT, D3DBACKBUFFER_TYPE,
                                       IDirect3DSurface9** ppBackBuffer) noexcept {
    record("GetBackBuffer()");
    if (!ppBackBuffer) return D3DERR_INVALIDCALL;
    auto* surface = static_cast<MemorySurface*>(backBuffer_.get());
    surface->AddRef();
    *ppBackBuffer = surface;
    return D3D_OK;
}

HRESULT RecordingDevice::CreateOffscreenPlainSurface(UINT, UINT, D3DFORMAT, D3DPOOL,
                                                     IDirect3DSurface9** ppSurface,
                                                     HANDLE*) noexcept {
    record("CreateOffscreenPlainSurface()");
    if (ppSurface) *ppSurface = nullptr;
    return D3DERR_INVALIDCALL;
}

HRESULT RecordingDevice::GetRenderTargetData(IDirect3DSurface9*, IDirect3DSurface9*) noexcept {
    record("GetRenderTargetData()");
    return D3DERR_INVALIDCALL;
}

HRESULT RecordingDevice::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color,
                               float Z, DWORD Stencil) noexcept {
    record("Clear(" + std::to_string(Count) + ", " + (pRects ? "rects" : "null") + ", " +
           hex(Flags) + ", " + hex(Color) + ", " + number(Z) + ", " + std::to_string(Stencil) +
           ")");
    return D3D_OK;
}

HRESULT RecordingDevice::BeginScene() noexcept {
    record("BeginScene()");
    return isRefused("BeginScene") ? D3DERR_INVALIDCALL : D3D_OK;
}

HRESULT RecordingDevice::EndScene() noexcept {
    record("EndScene()");
    return D3D_OK;
}

HRESULT RecordingDevice::Present(const RECT* pSourceRect, const RECT* pDestRect,
                                 HWND hDestWindowOverride, const RGNDATA* pDirtyRegion) noexcept {
    const bool allNull = !pSourceRect && !pDestRect && !hDestWindowOverride && !pDirtyRegion;
    record(allNull ? "Present()" : "Present(with arguments)");
    return D3D_OK;
}

HRESULT RecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE State,
                                      const D3DMATRIX* pMatrix) noexcept {
    if (!pMatrix) return D3DERR_INVALIDCALL;
    record("SetTransform(" + std::to_string(State) + ", " + formatMatrix(*pMatrix) + ")");
    transforms_[State] = *pMatrix;
    return D3D_OK;
}

HRESULT RecordingDevice::GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) noexcept {
    record("GetTransform(" + std::to_string(State) + ")");
    if (!pMatrix) return D3DERR_INVALIDCALL;
    const auto found = transforms_.find(State);
    if (found != transforms_.end()) {
        *pMatrix = found->second;
    } else {
        *pMatrix = D3DMATRIX{{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}};
    }
    return D3D_OK;
}

HRESULT RecordingDevice::SetViewport(const D3DVIEWPORT9* pViewport) noexcept {
    if (!pViewport) return D3DERR_INVALIDCALL;
    record("SetViewport(" + std::to_string(pViewport->X) + ", " + std::to_string(pViewport->Y) +
           ", " + std::to_string(pViewport->Width) + ", " + std::to_string(pViewport->Height) +
           ")");
    viewport_ = *pViewport;
    return D3D_OK;
}

HRESULT RecordingDevice::GetDeviceCaps(D3DCAPS9* pCaps) noexcept {
    record("GetDeviceCaps()");
    if (!pCaps || isRefused("GetDeviceCaps")) return D3DERR_INVALIDCALL;
    *pCaps = caps_;
    return D3D_OK;
}

HRESULT RecordingDevice::GetViewport(D3DVIEWPORT9* pViewport) noexcept {
    record("GetViewport()");
    if (!pViewport) return D3DERR_INVALIDCALL;
    *pViewport = viewport_;
    return D3D_OK;
}

HRESULT RecordingDevice::SetMaterial(const D3DMATERIAL9* pMaterial) noexcept {
    if (!pMaterial) return D3DERR_INVALIDCALL;
    record("SetMaterial(diffuse " + color(pMaterial->Diffuse) + ", ambient " +
           color(pMaterial->Ambient) + ", specular " + color(pMaterial->Specular) +
           ", emissive " + color(pMaterial->Emissive) + ", power " + number(pMaterial->Power) +
           ")");
    material_ = *pMaterial;
    return D3D_OK;
}

HRESULT RecordingDevice::GetMaterial(D3DMATERIAL9* pMaterial) noexcept {
    if (!pMaterial) return D3DERR_INVALIDCALL;
    *pMaterial = material_;
    return D3D_OK;
}

HRESULT RecordingDevice::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) noexcept {
    record("SetRenderState(" + std::to_string(State) + ", " + std::to_string(Value) + ")");
    renderStates_[State] = Value;
    return D3D_OK;
}

HRESULT RecordingDevice::GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) noexcept {
    if (!pValue) return D3DERR_INVALIDCALL;
    *pValue = renderStates_[State];
    return D3D_OK;
}

HRESULT RecordingDevice::SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) noexcept {
    record("SetTexture(" + std::to_string(Stage) + ", " +
           nameOf(static_cast<IDirect3DTexture9*>(pTexture)) + ")");
    return D3D_OK;
}

HRESULT RecordingDevice::SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                              DWORD Value) noexcept {
    record("SetTextureStageState(" + std::to_string(Stage) + ", " + std::to_string(Type) + ", " +
           std::to_string(Value) + ")");
    stageStates_[{Stage, Type}] = Value;
    return D3D_OK;
}

HRESULT RecordingDevice::GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                              DWORD* pValue) noexcept {
    if (!pValue) return D3DERR_INVALIDCALL;
    *pValue = stageStates_[{Stage, Type}];
    return D3D_OK;
}

HRESULT RecordingDevice::SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type,
                                         DWORD Value) noexcept {
    record("SetSamplerState(" + std::to_string(Sampler) + ", " + std::to_string(Type) + ", " +
           std::to_string(Value) + ")");
    samplerStates_[{Sampler, Type}] = Value;
    return D3D_OK;
}

HRESULT RecordingDevice::GetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type,
                                         DWORD* pValue) noexcept {
    if (!pValue) return D3DERR_INVALIDCALL;
    *pValue = samplerStates_[{Sampler, Type}];
    return D3D_OK;
}

HRESULT RecordingDevice::SetFVF(DWORD FVF) noexcept {
    record("SetFVF(" + hex(FVF) + ")");
    return D3D_OK;
}

HRESULT RecordingDevice::SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData,
                                         UINT OffsetInBytes, UINT Stride) noexcept {
    record("SetStreamSource(" + std::to_string(StreamNumber) + ", " + nameOf(pStreamData) + ", " +
           std::to_string(OffsetInBytes) + ", " + std::to_string(Stride) + ")");
    return D3D_OK;
}

HRESULT RecordingDevice::SetIndices(IDirect3DIndexBuffer9* pIndexData) noexcept {
    record("SetIndices(" + nameOf(pIndexData) + ")");
    return D3D_OK;
}

HRESULT RecordingDevice::DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex,
                                       UINT PrimitiveCount) noexcept {
    record("DrawPrimitive(" + std::to_string(PrimitiveType) + ", " + std::to_string(StartVertex) +
           ", " + std::to_string(PrimitiveCount) + ")");
    return D3D_OK;
}

HRESULT RecordingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex,
                                              UINT MinVertexIndex, UINT NumVertices,
                                              UINT StartIndex, UINT PrimitiveCount) noexcept {
    record("DrawIndexedPrimitive(" + std::to_string(PrimitiveType) + ", " +
           std::to_string(BaseVertexIndex) + ", " + std::to_string(MinVertexIndex) + ", " +
           std::to_string(NumVertices) + ", " + std::to_string(StartIndex) + ", " +
           std::to_string(PrimitiveCount) + ")");
    return D3D_OK;
}

}  // namespace test
