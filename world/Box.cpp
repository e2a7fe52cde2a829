#include "Box.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <windows.h>

#include "Cube.h"
#include "GridDistance.h"
#include "Placement.h"
#include "Player.h"

namespace {

constexpr int kKeyScatter = 0x4F;    // O
constexpr int kKeyKnockback = 0x4B;  // K
constexpr int kKeyGather = 0x50;     // P

constexpr UINT kRestTicks = 10;
constexpr UINT kWatchTicks = 700;
constexpr UINT kMoveTicks = 200;
constexpr UINT kSinkTicks = 400;

bool KeyHeld(int virtualKey) { return GetAsyncKeyState(virtualKey) != 0; }

float AnchorCoordinate() { return static_cast<float>(rand() % 600 - 300); }

}  // namespace

Box::Box()
    : m_pd3dDevice(nullptr),
      m_fHealth(100.0f),
      m_fYaw(0.0f),
      m_fRadius(-2.0f),  // below -sqrt(2): no contact before the first draw, wherever the centre
      m_vPos(0.0f, 0.0f, 0.0f),
      m_vDir(0.0f, 0.0f, 0.0f),
      m_vFwdRef(0.0f, 0.0f, 1.0f),
      m_vUp(0.0f, 0.0f, 0.0f),
      m_vRight(0.0f, 0.0f, 0.0f),
      m_vScale(0.0f, 0.0f, 0.0f),
      m_vCenter(0.0f, 0.0f, 0.0f),
      m_bPushable(TRUE),
      m_pCube(nullptr),
      m_pTarget(nullptr),
      m_nTimer(0) {
    m_vAnchor.z = AnchorCoordinate();  // z is drawn first
    m_vAnchor.x = AnchorCoordinate();
    m_vAnchor.y = 0.0f;
}

Box::~Box() {}

HRESULT Box::Init(IDirect3DDevice9* pd3dDevice, const D3DXVECTOR3* pPos,
                  const D3DXVECTOR3* pScale, CCube* pCube, CPlayer* pTarget) {
    m_pd3dDevice = pd3dDevice;
    m_pCube = pCube;
    m_pTarget = pTarget;
    m_vPos = *pPos;
    m_vScale = *pScale;
    D3DXMatrixIdentity(&m_matWorld);
    SetTranslation(m_matWorld, m_vPos);
    return S_OK;
}

void Box::FaceAndStep(const D3DXVECTOR3& reference, float step) {
    const D3DXVECTOR3 worldUp(0.0f, 1.0f, 0.0f);
    const D3DXVECTOR3 away = m_vPos - reference;
    D3DXVec3Normalize(&m_vDir, &away);
    D3DXVec3Cross(&m_vRight, &worldUp, &m_vDir);
    m_vPos += m_vDir * step;

    // Rounding can push a unit dot product just past 1, where acos has no real value.
    const float cosine = std::clamp(D3DXVec3Dot(&m_vDir, &m_vFwdRef), -1.0f, 1.0f);
    const float angle = static_cast<float>(std::acos(static_cast<double>(cosine)));
    const float heading = reference.x > m_vPos.x ? -angle : angle;

    D3DXMATRIXA16 rotation;
    D3DXMatrixRotationY(&rotation, heading);
    D3DXMatrixIdentity(&m_matWorld);
    D3DXMatrixMultiply(&m_matWorld, &m_matWorld, &rotation);
    SetTranslation(m_matWorld, m_vPos);
}

void Box::MoveFromTarget(float step) { FaceAndStep(m_pTarget->m_vPos, step); }

void Box::MoveFromBox(float step, const Box& other) { FaceAndStep(other.m_vPos, step); }

void Box::MoveFromAnchor(float step) { FaceAndStep(m_vAnchor, step); }

void Box::Strafe(float distance) {
    const D3DXVECTOR3 worldUp(0.0f, 1.0f, 0.0f);
    D3DXVec3Cross(&m_vRight, &worldUp, &m_vDir);
    m_vPos += m_vRight * distance;

    // The only move that shows the scale: drawn unrotated at it.
    D3DXMatrixIdentity(&m_matWorld);
    SetScaledPlacement(m_matWorld, m_vScale, m_vPos);
}

void Box::MoveAlongUp(float distance) {
    D3DXVec3Cross(&m_vUp, &m_vDir, &m_vRight);
    m_vPos += m_vUp * distance;
    D3DXMatrixIdentity(&m_matWorld);
    SetTranslation(m_matWorld, m_vPos);
}

void Box::Rotate(float angle) {
    m_fYaw += angle;
    D3DXMatrixRotationY(&m_matWorld, m_pTarget->m_vPos.x > m_vPos.x ? -m_fYaw : m_fYaw);
    const D3DXVECTOR3 forward(0.0f, 0.0f, 1.0f);
    const D3DXVECTOR3 side(1.0f, 0.0f, 0.0f);
    D3DXVec3TransformCoord(&m_vDir, &forward, &m_matWorld);
    D3DXVec3TransformCoord(&m_vRight, &side, &m_matWorld);
    SetScaledPlacement(m_matWorld, m_vScale, m_vPos);
}

void Box::Scatter() { MoveFromTarget(0.05f); }

void Box::Knockback() { MoveFromTarget(0.2f); }

void Box::Gather() { MoveFromTarget(-0.05f); }

void Box::Wander() { MoveFromAnchor(0.01f); }

int Box::DistanceToTarget() const { return GridDistance(m_pTarget->m_vPos, m_vPos); }

void Box::WatchRules() {
    if (m_nTimer > kWatchTicks) {
        SetState(STATE_Wander);
        return;
    }
    if (m_fHealth <= 0.0f) {
        SetState(STATE_Sink);
        return;
    }
    const int distance = DistanceToTarget();
    if (KeyHeld(kKeyScatter)) {
        if (distance < 20) SetState(STATE_Scatter);
        return;
    }
    if (KeyHeld(kKeyKnockback)) {
        if (distance < 8 && m_fHealth > 0.0f) SetState(STATE_Knockback);
        return;
    }
    if (distance < 30) {
        SetState(STATE_Rest);
    } else if (KeyHeld(kKeyGather) && distance < 50) {
        SetState(STATE_Gather);
    }
}

bool Box::States(int event, Message*, int state) {
    if (state < 0) return false;
    if (state > STATE_Dead) {
        _assert("0", __FILE__, __LINE__);
        return false;
    }
    if (state == STATE_Dead) {
        if (event != EVENT_Enter) return false;
        m_bPushable = !m_bPushable;
        return true;
    }

    switch (event) {
        case EVENT_Enter:
            m_nTimer = 0;
            if (state == STATE_Sink) m_bPushable = !m_bPushable;
            return true;
        case EVENT_Exit:
            m_nTimer = 0;
            return true;
        case EVENT_Update:
            break;
        default:
            return false;
    }

    ++m_nTimer;
    switch (state) {
        case STATE_Rest:
            if (m_nTimer > kRestTicks) SetState(STATE_Watch);
            break;
        case STATE_Watch:
            WatchRules();
            break;
        case STATE_Sink:
            MoveAlongUp(-0.01f);
            if (m_nTimer > kSinkTicks) SetState(STATE_Dead);
            break;
        case STATE_Scatter:
            Scatter();
            if (m_nTimer > kMoveTicks) SetState(STATE_Rest);
            break;
        case STATE_Knockback:
            Knockback();
            if (m_nTimer > kMoveTicks) SetState(STATE_Rest);
            break;
        case STATE_Gather:
            Gather();
            if (m_nTimer > kMoveTicks) SetState(STATE_Rest);
            break;
        case STATE_Wander:
            Wander();
            if (m_nTimer > kMoveTicks) SetState(STATE_Rest);
            break;
    }
    return true;
}

void Box::Render() {
    D3DXVec3TransformCoord(&m_vCornerWorld, &m_pCube->m_vCorner, &m_matWorld);
    m_vCenter = m_vPos;
    const D3DXVECTOR3 d = m_vCenter - m_vCornerWorld;
    const float squared = d.x * d.x + d.y * d.y + d.z * d.z;
    m_fRadius = static_cast<float>(std::sqrt(static_cast<double>(squared)));
    m_pd3dDevice->SetTransform(D3DTS_WORLD, &m_matWorld);
    m_pCube->Draw();
}
