#include "d3d9/RenderStates.h"

#include <bit>

namespace platform::d3d9 {

namespace {

DWORD floatBits(float value) noexcept { return std::bit_cast<DWORD>(value); }

// States this header names no enumerator for, by number, with their defaults.
constexpr DWORD kLastPixel = 16;
constexpr DWORD kFogColor = 34;
constexpr DWORD kFogStart = 36;
constexpr DWORD kFogEnd = 37;
constexpr DWORD kFogDensity = 38;
constexpr DWORD kStencilFail = 53;
constexpr DWORD kStencilFunc = 56;
constexpr DWORD kStencilMask = 58;
constexpr DWORD kStencilWriteMask = 59;
constexpr DWORD kClipping = 136;
constexpr DWORD kLocalViewer = 142;
constexpr DWORD kSpecularMaterialSource = 146;
constexpr DWORD kPointSize = 154;
constexpr DWORD kPointSizeMin = 155;
constexpr DWORD kPointScaleA = 158;
constexpr DWORD kMultisampleAntialias = 161;
constexpr DWORD kMultisampleMask = 162;
constexpr DWORD kPointSizeMax = 166;
constexpr DWORD kBlendOp = 171;
constexpr DWORD kPositionDegree = 172;
constexpr DWORD kNormalDegree = 173;
constexpr DWORD kMinTessellationLevel = 178;
constexpr DWORD kMaxTessellationLevel = 179;
constexpr DWORD kAdaptiveTessZ = 182;
constexpr DWORD kCcwStencilFail = 186;
constexpr DWORD kCcwStencilFunc = 189;
constexpr DWORD kColorWriteEnable1 = 190;
constexpr DWORD kBlendFactor = 193;
constexpr DWORD kSrcBlendAlpha = 207;
constexpr DWORD kDestBlendAlpha = 208;
constexpr DWORD kBlendOpAlpha = 209;

constexpr DWORD kBlendZero = 1;
constexpr DWORD kBlendOne = 2;
constexpr DWORD kStencilKeep = 1;
constexpr DWORD kBlendOpAdd = 1;
constexpr DWORD kDegreeLinear = 1;
constexpr DWORD kDegreeCubic = 3;

constexpr DWORD kTssColorArg0 = 26;
constexpr DWORD kTssAlphaArg0 = 27;
constexpr DWORD kTssResultArg = 28;

}  // namespace

RenderStateBlock defaultRenderStates(bool depthBuffer) noexcept {
    RenderStateBlock s{};
    s[D3DRS_ZENABLE] = depthBuffer ? D3DZB_TRUE : D3DZB_FALSE;
    s[D3DRS_FILLMODE] = D3DFILL_SOLID;
    s[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
    s[D3DRS_ZWRITEENABLE] = TRUE;
    s[kLastPixel] = TRUE;
    s[D3DRS_SRCBLEND] = kBlendOne;
    s[D3DRS_DESTBLEND] = kBlendZero;
    s[D3DRS_CULLMODE] = D3DCULL_CCW;
    s[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    s[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    s[kFogColor] = 0;
    s[kFogStart] = floatBits(0.0f);
    s[kFogEnd] = floatBits(1.0f);
    s[kFogDensity] = floatBits(1.0f);
    s[kStencilFail] = kStencilKeep;
    s[kStencilFail + 1] = kStencilKeep;  // D3DRS_STENCILZFAIL
    s[kStencilFail + 2] = kStencilKeep;  // D3DRS_STENCILPASS
    s[kStencilFunc] = D3DCMP_ALWAYS;
    s[kStencilMask] = 0xFFFFFFFF;
    s[kStencilWriteMask] = 0xFFFFFFFF;
    s[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFF;
    s[kClipping] = TRUE;
    s[D3DRS_LIGHTING] = TRUE;
    s[D3DRS_AMBIENT] = 0;
    s[D3DRS_COLORVERTEX] = TRUE;
    s[kLocalViewer] = TRUE;
    s[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    s[kSpecularMaterialSource] = D3DMCS_COLOR2;
    s[D3DRS_AMBIENTMATERIALSOURCE] = D3DMCS_MATERIAL;
    s[kPointSize] = floatBits(1.0f);
    s[kPointSizeMin] = floatBits(1.0f);
    s[kPointScaleA] = floatBits(1.0f);
    s[kMultisampleAntialias] = TRUE;
    s[kMultisampleMask] = 0xFFFFFFFF;
    s[kPointSizeMax] = floatBits(64.0f);
    s[D3DRS_COLORWRITEENABLE] = 0x0000000F;
    s[kBlendOp] = kBlendOpAdd;
    s[kPositionDegree] = kDegreeCubic;
    s[kNormalDegree] = kDegreeLinear;
    s[kMinTessellationLevel] = floatBits(1.0f);
    s[kMaxTessellationLevel] = floatBits(1.0f);
    s[kAdaptiveTessZ] = floatBits(1.0f);
    s[kCcwStencilFail] = kStencilKeep;
    s[kCcwStencilFail + 1] = kStencilKeep;
    s[kCcwStencilFail + 2] = kStencilKeep;
    s[kCcwStencilFunc] = D3DCMP_ALWAYS;
    for (DWORD i = 0; i < 3; ++i) s[kColorWriteEnable1 + i] = 0x0000000F;
    s[kBlendFactor] = 0xFFFFFFFF;
    s[kSrcBlendAlpha] = kBlendOne;
    s[kDestBlendAlpha] = kBlendZero;
    s[kBlendOpAlpha] = kBlendOpAdd;
    return s;
}

TextureStageBlock defaultTextureStageStates() noexcept {
    TextureStageBlock block{};
    for (DWORD stage = 0; stage < kTextureStageCount; ++stage) {
        auto& s = block[stage];
        s[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        s[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        s[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        s[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        s[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        s[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        s[D3DTSS_TEXCOORDINDEX] = stage;
        s[kTssColorArg0] = D3DTA_CURRENT;
        s[kTssAlphaArg0] = D3DTA_CURRENT;
        s[kTssResultArg] = D3DTA_CURRENT;
    }
    return block;
}

SamplerBlock defaultSamplerStates() noexcept {
    SamplerBlock block{};
    for (auto& s : block) {
        s[D3DSAMP_ADDRESSU] = D3DTADDRESS_WRAP;
        s[D3DSAMP_ADDRESSV] = D3DTADDRESS_WRAP;
        s[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
        s[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
        s[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        s[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
        s[D3DSAMP_MAXANISOTROPY] = 1;
    }
    return block;
}

}  // namespace platform::d3d9
