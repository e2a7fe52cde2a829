// ChildView.h: the child window that fills the main frame and owns the whole scene: the device,
// the overlay font, the input state, the cube mesh, the player, thirty boxes, the ground and the
// camera. It builds the scene, runs one frame per call of Render, polls the input and picks the
// ground under a click.
#pragma once

#include <afxwin.h>
#include <d3dx9.h>

#include "Box.h"
#include "Cube.h"
#include "Player.h"

class CCamera;
class CTerrain;

// Frames per second as the reciprocal of the time between two Ticks.
class CFpsTimer {
public:
    CFpsTimer();
    float Tick();

    LARGE_INTEGER m_liLast;
    LARGE_INTEGER m_liNow;
    LARGE_INTEGER m_liFreq;
    float m_fElapsed;
    float m_fFps;
};

// A poll has found key 1 held and its release has not been acted on yet.
extern BOOL g_bKey1Down;

class CChildView : public CWnd {
public:
    static constexpr int kBoxCount = 30;

    CChildView();
    virtual ~CChildView();

    HRESULT InitD3D(HWND hWnd);
    HRESULT InitScene();
    HRESULT InitView();
    void SetupMaterial();
    void SetupMatrices();
    void Cleanup();

    // Input, polled by the frame loop.
    void ProcessKeyboard();
    void ProcessMouse();
    void ApplyPlayerMovement();

    // One frame, and what it runs between the player and the boxes.
    void Render();
    void PushNearbyBoxes();
    void PullNearbyBoxes();
    void CollidePlayerBoxes();
    void CollideBoxes();
    void DrawHUD();

    // Steps the player toward the ground point under m_ptClick.
    BOOL Pick();

    IDirect3D9* m_pD3D;
    IDirect3DDevice9* m_pd3dDevice;
    void* m_pSpare;
    ID3DXFont* m_pFont;
    D3DXMATRIXA16 m_matWorld;
    D3DXMATRIXA16 m_matView;
    D3DXMATRIXA16 m_matProj;
    CPoint m_ptClick;
    int m_nWidth;
    int m_nHeight;
    POINT m_ptPrevCursor;
    int m_nMouseState;  // 2 while a right-button drag is under way
    float m_fStrafe;
    float m_fForward;
    float m_fTurn;
    BOOL m_bSkipPull;
    BOOL m_bSkipPush;
    BOOL m_bSkipShove;
    BOOL m_bFirstPerson;
    CFpsTimer m_FpsTimer;
    CCube m_Cube;
    CCube* m_pCube2;
    CPlayer m_Player;
    Box m_Boxes[kBoxCount];
    CTerrain* m_pTerrain;
    CCamera* m_pCamera;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    // The two pushing reactions share their loop; the pull is the first with its signs reversed.
    void ReactToPlayer(int limit, float distance);
};
