#include "Player.h"

#include <algorithm>
#include <cmath>

#include "Camera.h"
#include "Cube.h"
#include "Placement.h"

CPlayer::CPlayer()
    : m_pd3dDevice(nullptr), m_fRadius(0.0f), m_pCube(nullptr) {
    m_vLook = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    m_vPos = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    m_vRight = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    m_vMoveDir = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    m_fYaw = 0.0f;
    D3DXMatrixIdentity(&m_matWorld);
}

CPlayer::~CPlayer() {}

HRESULT CPlayer::Init(IDirect3DDevice9* pd3dDevice, const D3DXVECTOR3* pPos, CCube* pCube,
                      const D3DXVECTOR3* pScale) {
    m_pCube = pCube;
    m_pd3dDevice = pd3dDevice;
    m_vPos = *pPos;
    D3DXMatrixIdentity(&m_matWorld);
    SetScaledPlacement(m_matWorld, *pScale, *pPos);
    return S_OK;
}

void CPlayer::MoveForward(float distance) {
    m_vPos += m_vLook * distance;
    D3DXMatrixIdentity(&m_matWorld);
}

void CPlayer::Strafe(float distance) {
    m_vPos += m_vRight * distance;
    D3DXMatrixIdentity(&m_matWorld);
    SetTranslation(m_matWorld, m_vPos);
}

void CPlayer::Turn(float angle) {
    m_fYaw += angle;
    D3DXMatrixRotationY(&m_matWorld, m_fYaw);
    // Taken from the pure rotation, before the position enters the matrix: directions.
    const D3DXVECTOR3 forward(0.0f, 0.0f, 1.0f);
    const D3DXVECTOR3 side(1.0f, 0.0f, 0.0f);
    D3DXVec3TransformCoord(&m_vLook, &forward, &m_matWorld);
    D3DXVec3TransformCoord(&m_vRight, &side, &m_matWorld);
    SetTranslation(m_matWorld, m_vPos);
}

void CPlayer::WalkToward(D3DXVECTOR3 point) {
    const D3DXVECTOR3 target(point.x, point.y + 1.0f, point.z);
    const D3DXVECTOR3 toTarget = target - m_vPos;
    D3DXVec3Normalize(&m_vMoveDir, &toTarget);
    const D3DXVECTOR3 worldUp(0.0f, 1.0f, 0.0f);
    D3DXVec3Cross(&m_vRight, &worldUp, &m_vMoveDir);
    m_vPos += m_vMoveDir * 1.0f;

    // Rounding can push a unit dot product just past 1, where acos has no real value.
    const float cosine = std::clamp(D3DXVec3Dot(&m_vMoveDir, &m_vLook), -1.0f, 1.0f);
    const float angle = static_cast<float>(std::acos(static_cast<double>(cosine)));
    const float facing = point.x > m_vPos.x ? angle : -angle;

    D3DXMATRIXA16 rotation;
    D3DXMatrixRotationY(&rotation, facing);
    D3DXMatrixIdentity(&m_matWorld);
    D3DXMatrixMultiply(&m_matWorld, &m_matWorld, &rotation);
    SetTranslation(m_matWorld, m_vPos);
}

D3DXVECTOR3* CPlayer::GetPosition() { return &m_vPos; }

void CPlayer::Render() {
    m_fRadius = m_pCube->m_fRadius;
    m_pd3dDevice->SetTransform(D3DTS_WORLD, &m_matWorld);
    m_pCube->Draw();
}

void CPlayer::FaceCamera(CCamera* pCamera) {
    const D3DXMATRIXA16& view = *pCamera->GetViewMatrix();
    D3DXMATRIXA16 rotation;
    D3DXMatrixIdentity(&rotation);
    rotation._11 = view._11;
    rotation._13 = view._13;
    rotation._31 = view._31;
    rotation._33 = view._33;
    D3DXMatrixInverse(&rotation, nullptr, &rotation);
    D3DXMatrixMultiply(&m_matWorld, &rotation, &m_matWorld);
}
