// Box.h: the scene's agent. Rests, watches the player, wanders after a long watch, and while O,
// K or P is held scatters, gets knocked back or gathers, by its grid distance from the player.
#pragma once

#include <d3dx9.h>

#include "stateMachine.h"

class CCube;
class CPlayer;

enum BoxState {
    STATE_Rest = 0,
    STATE_Watch = 1,
    STATE_Sink = 2,
    STATE_Scatter = 3,
    STATE_Knockback = 4,
    STATE_Gather = 5,
    STATE_Wander = 6,
    STATE_Dead = 7,
};

class Box : public StateMachine {
public:
    Box();
    ~Box();

    HRESULT Init(IDirect3DDevice9* pd3dDevice, const D3DXVECTOR3* pPos, const D3DXVECTOR3* pScale,
                 CCube* pCube, CPlayer* pTarget);

    bool States(int event, Message* message, int state) override;

    // Face-and-step moves: a positive step goes away from the reference point, a negative one
    // toward it; the box turns to face away from it either way.
    void MoveFromTarget(float step);
    void MoveFromBox(float step, const Box& other);
    void MoveFromAnchor(float step);
    void Strafe(float distance);
    void MoveAlongUp(float distance);
    void Rotate(float angle);

    void Scatter();
    void Knockback();
    void Gather();
    void Wander();

    // Refreshes the bounding sphere, sets the world transform and draws the cube.
    void Render();

    IDirect3DDevice9* m_pd3dDevice;  // borrowed from the view
    D3DXMATRIXA16 m_matWorld;
    float m_fHealth;
    float m_fYaw;
    float m_fRadius;  // negative until the first Render keeps the box out of every contact
    D3DXVECTOR3 m_vPos;
    D3DXVECTOR3 m_vDir;
    D3DXVECTOR3 m_vFwdRef;
    D3DXVECTOR3 m_vUp;
    D3DXVECTOR3 m_vRight;
    D3DXVECTOR3 m_vScale;
    D3DXVECTOR3 m_vCornerWorld;
    D3DXVECTOR3 m_vCenter;
    D3DXVECTOR3 m_vAnchor;
    BOOL m_bPushable;
    CCube* m_pCube;      // borrowed
    CPlayer* m_pTarget;  // borrowed
    UINT m_nTimer;

private:
    void FaceAndStep(const D3DXVECTOR3& reference, float step);
    void WatchRules();
    int DistanceToTarget() const;
};
