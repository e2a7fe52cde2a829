// VertexFormat.h: reads a flexible vertex format code into the layout the vertex stage needs.
#pragma once

#include <optional>

#include <d3d9types.h>

#include "d3d9/VertexProcessing.h"

namespace platform::d3d9 {

// The layout of `fvf` with texture coordinates taken from set `texCoordIndex`, or nothing for a
// format this device cannot draw: no untransformed XYZ position, pre-transformed (XYZRHW) or
// blended positions, or vertex colours (the device has no Gouraud colour path).
std::optional<VertexLayout> decodeVertexFormat(DWORD fvf, DWORD texCoordIndex) noexcept;

// Bytes a vertex of `fvf` takes, whether it can be drawn or not; 0 for a malformed code.
unsigned vertexSize(DWORD fvf) noexcept;

}  // namespace platform::d3d9
