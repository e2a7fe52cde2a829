// RenderStates.h: the state blocks a device keeps, with Direct3D 9's documented defaults.
#pragma once

#include <array>

#include <d3d9types.h>

namespace platform::d3d9 {

constexpr DWORD kRenderStateCount = 256;
constexpr DWORD kTextureStageCount = 8;
constexpr DWORD kTextureStageStateCount = 33;  // D3DTSS_CONSTANT is 32
constexpr DWORD kSamplerCount = 16;
constexpr DWORD kSamplerStateCount = 14;       // D3DSAMP_DMAPOFFSET is 13

using RenderStateBlock = std::array<DWORD, kRenderStateCount>;
using TextureStageBlock = std::array<std::array<DWORD, kTextureStageStateCount>, kTextureStageCount>;
using SamplerBlock = std::array<std::array<DWORD, kSamplerStateCount>, kSamplerCount>;

// D3DRS_ZENABLE starts TRUE only on a device made with an automatic depth buffer.
RenderStateBlock defaultRenderStates(bool depthBuffer) noexcept;
TextureStageBlock defaultTextureStageStates() noexcept;
SamplerBlock defaultSamplerStates() noexcept;

}  // namespace platform::d3d9
