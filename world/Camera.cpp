#include "Camera.h"

CCamera::CCamera() {
    D3DXMatrixIdentity(&m_matView);
    D3DXMatrixIdentity(&m_matBillboard);
    const D3DXVECTOR3 eye(0.0f, 0.0f, 0.0f);
    const D3DXVECTOR3 at(0.0f, 0.0f, -1.0f);
    const D3DXVECTOR3 up(0.0f, 0.0f, 0.0f);
    SetView(&eye, &at, &up);
    m_fWalkYaw = 0.0f;
    m_vWalkLook = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    m_vWalkSide = D3DXVECTOR3(1.0f, 0.0f, 0.0f);
}

D3DXMATRIXA16* CCamera::SetView(const D3DXVECTOR3* pvEye, const D3DXVECTOR3* pvAt,
                                const D3DXVECTOR3* pvUp) {
    m_vEye = *pvEye;
    m_vAt = *pvAt;
    m_vUp = *pvUp;
    const D3DXVECTOR3 toTarget = m_vAt - m_vEye;
    D3DXVec3Normalize(&m_vViewDir, &toTarget);
    D3DXVec3Cross(&m_vRight, &m_vUp, &m_vViewDir);
    D3DXMatrixLookAtLH(&m_matView, &m_vEye, &m_vAt, &m_vUp);
    // A degenerate view cannot be inverted; the billboard then keeps no usable value.
    D3DXMatrixInverse(&m_matBillboard, nullptr, &m_matView);
    m_matBillboard._41 = 0.0f;
    m_matBillboard._42 = 0.0f;
    m_matBillboard._43 = 0.0f;
    return &m_matView;
}

void CCamera::UpdateView() { D3DXMatrixLookAtLH(&m_matView, &m_vEye, &m_vAt, &m_vUp); }

void CCamera::Turn(const D3DXVECTOR3& axis, float angle) {
    D3DXMATRIXA16 rotation;
    D3DXMatrixRotationAxis(&rotation, &axis, angle);
    D3DXVECTOR3 direction;
    D3DXVec3TransformCoord(&direction, &m_vViewDir, &rotation);
    const D3DXVECTOR3 eye = m_vEye;
    const D3DXVECTOR3 at = m_vEye + direction;
    const D3DXVECTOR3 up = m_vUp;
    SetView(&eye, &at, &up);
}

void CCamera::Pitch(float angle) { Turn(m_vRight, angle); }

void CCamera::Yaw(float angle) { Turn(m_vUp, angle); }

void CCamera::Shift(const D3DXVECTOR3& axis, float distance) {
    D3DXVECTOR3 offset;
    D3DXVec3Normalize(&offset, &axis);
    offset *= distance;
    const D3DXVECTOR3 eye = m_vEye + offset;
    const D3DXVECTOR3 at = m_vAt + offset;
    const D3DXVECTOR3 up = m_vUp;
    SetView(&eye, &at, &up);
}

void CCamera::MoveRight(float distance) { Shift(m_vRight, distance); }

void CCamera::MoveUp(float distance) { Shift(m_vUp, distance); }

void CCamera::MoveForward(float distance) { Shift(m_vViewDir, distance); }

void CCamera::MoveTo(const D3DXVECTOR3* pvPoint) {
    const D3DXVECTOR3 delta = *pvPoint - m_vEye;
    m_vEye = *pvPoint;
    m_vAt += delta;
    SetView(&m_vEye, &m_vAt, &m_vUp);
}

void CCamera::WalkForward(float distance) {
    m_vEye += m_vWalkLook * distance;
    D3DXMatrixIdentity(&m_matView);
}

void CCamera::WalkSide(float distance) {
    m_vEye += m_vWalkSide * distance;
    D3DXMatrixIdentity(&m_matView);
}

void CCamera::Rise(float distance) {
    m_vEye.y += distance;
    m_vAt.y += distance;
    D3DXMatrixIdentity(&m_matView);
}

void CCamera::WalkTurn(float angle) {
    m_fWalkYaw += angle;
    D3DXMatrixRotationY(&m_matView, m_fWalkYaw);
    const D3DXVECTOR3 forward(0.0f, 0.0f, 1.0f);
    const D3DXVECTOR3 side(1.0f, 0.0f, 0.0f);
    D3DXVec3TransformCoord(&m_vWalkLook, &forward, &m_matView);
    D3DXVec3TransformCoord(&m_vWalkSide, &side, &m_matView);
}
