// Rasterizer.h: the pixel loop. It walks a set-up triangle row by row, finds each row's covered
// span exactly from the edge functions, and tests depth, samples, modulates and writes each
// pixel. One instance per depth mode, filter set and texture presence, picked once per draw.
#pragma once

#include <cstdint>

#include <d3d9types.h>

#include "d3d9/Sampler.h"
#include "d3d9/TriangleSetup.h"

namespace platform::d3d9 {

enum class DepthMode {
    Off,             // no test, no write (D3DRS_ZENABLE FALSE or no depth buffer)
    LessEqualWrite,  // Direct3D's default: LESSEQUAL with writes
    Generic,         // any other function or write setting
};

struct PixelState {
    std::uint32_t* colour;  // the back buffer
    std::uint16_t* depth;   // the depth buffer, or null with DepthMode::Off
    int pitch;              // pixels, both buffers
    DepthMode depthMode;
    D3DCMPFUNC depthFunc;   // DepthMode::Generic only
    bool depthWrite;        // DepthMode::Generic only
    bool textured;          // false: every pixel takes the diffuse colour
    Filter mag;
    Filter min;
    MipFilter mip;
    SamplerSetup sampler;
    bool modulate;          // false when the diffuse colour is opaque white
    std::uint32_t diffuse;  // A8R8G8B8
};

// Draws the triangle's rows from yBegin to yEnd, both inclusive and inside its box.
using RasterFunction = void (*)(const Triangle&, const PixelState&, int yBegin, int yEnd);

RasterFunction selectRasterFunction(const PixelState& state) noexcept;

// The covered pixels [xBegin, xEnd] of row y; false when none.
bool rowSpan(const Triangle& t, int y, int& xBegin, int& xEnd) noexcept;

// Depth in 0..1 to the 16-bit buffer's scale.
inline std::uint16_t depthValue(float z) noexcept {
    if (!(z > 0.0f)) return 0;
    if (z >= 1.0f) return 0xFFFF;
    return static_cast<std::uint16_t>(z * 65535.0f + 0.5f);
}

}  // namespace platform::d3d9
