// Camera.h: a look-at view (eye, target, up) with the matrices built from it, and a key-driven
// walker (a yaw with its forward and side vectors) that moves the eye.
#pragma once

#include <d3dx9math.h>

class CCamera {
public:
    // Degenerate until the first SetView: up (0, 0, 0) gives a look-at matrix that cannot be
    // inverted.
    CCamera();

    // Each argument may be the address of the camera's own eye, target or up.
    D3DXMATRIXA16* SetView(const D3DXVECTOR3* pvEye, const D3DXVECTOR3* pvAt,
                           const D3DXVECTOR3* pvUp);
    D3DXMATRIXA16* GetViewMatrix() { return &m_matView; }
    void UpdateView();

    // Turn the view direction; the target then lies one unit from the eye.
    void Pitch(float angle);
    void Yaw(float angle);
    // Move eye and target together by exactly the distance.
    void MoveRight(float distance);
    void MoveUp(float distance);
    void MoveForward(float distance);
    void MoveTo(const D3DXVECTOR3* pvPoint);

    // The walker moves the eye without rebuilding the view: the view matrix is left as the
    // identity (or, after WalkTurn, the bare rotation) until the next SetView.
    void WalkForward(float distance);
    void WalkSide(float distance);
    void Rise(float distance);
    void WalkTurn(float angle);

    D3DXVECTOR3 m_vRight;  // up x view direction, not normalised
    D3DXMATRIXA16 m_matView;
    D3DXMATRIXA16 m_matBillboard;  // inverse view without translation: orientation in the world
    D3DXVECTOR3 m_vEye;
    D3DXVECTOR3 m_vAt;
    D3DXVECTOR3 m_vUp;
    D3DXVECTOR3 m_vViewDir;
    float m_fWalkYaw;
    D3DXVECTOR3 m_vWalkLook;
    D3DXVECTOR3 m_vWalkSide;

private:
    void Turn(const D3DXVECTOR3& axis, float angle);
    void Shift(const D3DXVECTOR3& axis, float distance);
};
