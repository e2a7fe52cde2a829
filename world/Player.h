// Player.h: the user's avatar: a position with a heading about y, and the world matrix it is
// drawn with. Moved and turned by the view once per frame, stepped toward clicked ground points.
#pragma once

#include <d3dx9.h>

class CCamera;
class CCube;

class CPlayer {
public:
    CPlayer();
    ~CPlayer();

    // Only stores the device and the cube; the scale lasts until the first move.
    HRESULT Init(IDirect3DDevice9* pd3dDevice, const D3DXVECTOR3* pPos, CCube* pCube,
                 const D3DXVECTOR3* pScale);
    // Leaves the bare identity: Strafe and Turn, which always follow, complete the matrix.
    void MoveForward(float distance);
    void Strafe(float distance);
    void Turn(float angle);
    // One step of exactly one unit toward the point raised by one unit; the heading stays.
    void WalkToward(D3DXVECTOR3 point);
    D3DXVECTOR3* GetPosition();

    void Render();
    // Turns the world matrix by the inverse of the camera's rotation about y.
    void FaceCamera(CCamera* pCamera);

    IDirect3DDevice9* m_pd3dDevice;  // borrowed from the view
    D3DXMATRIXA16 m_matWorld;
    D3DXVECTOR3 m_vLook;
    D3DXVECTOR3 m_vMoveDir;
    D3DXVECTOR3 m_vRight;
    D3DXVECTOR3 m_vPos;
    float m_fYaw;  // radians, never wrapped; 0 faces +z, positive turns toward +x
    float m_fRadius;
    CCube* m_pCube;  // borrowed
};
