// DemoScene.h: the benchmark's scene, built through the program's own Direct3D 9 interfaces: a
// 128 x 128-vertex textured ground seen from above and 31 cubes with a texture per face, all
// textures trilinear with full mip chains. Everything is made once; drawing a frame allocates
// nothing.
#pragma once

#include <d3d9.h>
#include <d3dx9math.h>

#include <vector>

#include "d3d9/ComRef.h"

namespace bench {

using platform::ComRef;

// Which draws a frame issues, to split its cost.
enum class Parts { All, Ground, Cubes, None };

class DemoScene {
public:
    // Creates the buffers and textures on `device` and sets the states and the camera for a back
    // buffer of width x height. Throws std::runtime_error when the device refuses a call.
    DemoScene(IDirect3DDevice9& device, int width, int height);

    // Clear, BeginScene, the draws, EndScene. Returns the first failure, D3D_OK otherwise.
    HRESULT drawFrame(Parts parts);

private:
    struct CubePlacement {
        float x;
        float z;
        float angle;  // about y, radians
    };

    static std::vector<CubePlacement> placeCubes();
    void makeGround();
    void makeCube();
    void makeTextures();
    void setStates(int width, int height);

    IDirect3DDevice9& device_;
    ComRef<IDirect3DVertexBuffer9> groundVertices_;
    ComRef<IDirect3DIndexBuffer9> groundIndices_;
    ComRef<IDirect3DVertexBuffer9> cubeVertices_;
    ComRef<IDirect3DTexture9> groundTexture_;
    ComRef<IDirect3DTexture9> faceTextures_[6];
    std::vector<D3DXMATRIX> cubeWorlds_;
};

}  // namespace bench
