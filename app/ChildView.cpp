#include "ChildView.h"

#include <cmath>
#include <cstdio>

#include <mmsystem.h>

#include "Camera.h"
#include "GridDistance.h"
#include "Terrain.h"

BOOL g_bKey1Down = FALSE;

namespace {

constexpr int kKeyForward = 0x57;   // W
constexpr int kKeyBackward = 0x53;  // S
constexpr int kKeyLeft = 0x41;      // A
constexpr int kKeyRight = 0x44;     // D
constexpr int kKeyTurnLeft = 0x51;  // Q
constexpr int kKeyTurnRight = 0x45; // E
constexpr int kKeyMode = 0x31;      // the main row's 1, not the keypad's

constexpr float kMoveSpeed = 0.1f;   // units per frame
constexpr float kTurnSpeed = 0.05f;  // radians per frame
constexpr float kMouseTurn = 0.005f; // radians per pixel
constexpr int kDragging = 2;

constexpr float kContactStep = 0.1f;
constexpr float kPickDistance = 1000.0f;  // the overview projection's far plane

const D3DXVECTOR3 kOverviewEye(0.0f, 100.0f, -100.0f);
const D3DXVECTOR3 kUp(0.0f, 1.0f, 0.0f);

const char* const kCubeTextures[CCube::kFaces] = {"zUp.jpg",   "lumra.bmp",  "zWhite.jpg",
                                                  "zLeft.jpg", "zRight.jpg", "zWhite.jpg"};
const char* const kGroundTextures[4] = {"check.bmp", "lumra.bmp", "tile2.tga", ""};

const char kHelpReact[] = "일정 영역에서 반응; P_모으기/ O_흩트리기/ K_때리기";
const char kHelpMove[] = "ASDW_이동/ QE_회전";
const char kHelpMode[] = "1_모드 변환";
const char kModeFirstPerson[] = "현재; 1인칭 모드( 마우스 오른쪽 클릭후 이동 = 회전 ";
const char kModeOverview[] = "현재; 확인 모드";

bool KeyHeld(int virtualKey) { return GetAsyncKeyState(virtualKey) != 0; }

}  // namespace

CFpsTimer::CFpsTimer() : m_fElapsed(0.0f), m_fFps(0.0f) {
    m_liLast.QuadPart = 0;  // no reading: the first Tick's figure measures no frame
    m_liNow.QuadPart = 0;
    QueryPerformanceFrequency(&m_liFreq);
}

float CFpsTimer::Tick() {
    QueryPerformanceCounter(&m_liNow);
    const DWORD counts = m_liNow.LowPart - m_liLast.LowPart;  // wraps modulo 2^32
    const LONG frequency = static_cast<LONG>(m_liFreq.LowPart);
    m_liLast = m_liNow;
    // No counts between two calls, or a frequency the low part cannot hold: keep the last figure.
    if (counts == 0 || frequency <= 0) return m_fFps;
    m_fElapsed = static_cast<float>(static_cast<double>(counts) / frequency);
    m_fFps = 1.0f / m_fElapsed;
    return m_fFps;
}

BEGIN_MESSAGE_MAP(CChildView, CWnd)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_SIZE()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

CChildView::CChildView()
    : m_pD3D(nullptr),
      m_pd3dDevice(nullptr),
      m_pSpare(nullptr),
      m_pFont(nullptr),
      m_nWidth(0),
      m_nHeight(0),
      m_ptPrevCursor{0, 0},
      m_nMouseState(0),
      m_fStrafe(0.0f),
      m_fForward(0.0f),
      m_fTurn(0.0f),
      m_bSkipPull(TRUE),
      m_bSkipPush(TRUE),
      m_bSkipShove(TRUE),
      m_bFirstPerson(FALSE),
      m_pCube2(nullptr),
      m_pTerrain(nullptr),
      m_pCamera(nullptr) {}

CChildView::~CChildView() { Cleanup(); }

void CChildView::Cleanup() {
    if (m_pd3dDevice) m_pd3dDevice->Release();
    if (m_pD3D) m_pD3D->Release();
    if (m_pFont) m_pFont->Release();
    delete m_pTerrain;
    delete m_pCamera;
    delete m_pCube2;
}

BOOL CChildView::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CWnd::PreCreateWindow(cs)) return FALSE;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~WS_BORDER;
    cs.lpszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
                                       ::LoadCursor(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr);
    return TRUE;
}

void CChildView::OnPaint() {
    CPaintDC dc(this);  // validates the update region; the frame loop does all drawing
}

void CChildView::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    m_nWidth = cx;
    m_nHeight = cy;
}

HRESULT CChildView::InitD3D(HWND hWnd) {
    m_pD3D = Direct3DCreate9(D3D_SDK_VERSION);
    if (!m_pD3D) return E_FAIL;

    D3DPRESENT_PARAMETERS d3dpp{};
    d3dpp.Windowed = TRUE;
    d3dpp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    d3dpp.BackBufferFormat = D3DFMT_UNKNOWN;
    d3dpp.EnableAutoDepthStencil = TRUE;
    d3dpp.AutoDepthStencilFormat = D3DFMT_D16;
    d3dpp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    if (FAILED(m_pD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hWnd,
                                    D3DCREATE_SOFTWARE_VERTEXPROCESSING, &d3dpp,
                                    &m_pd3dDevice)))
        return E_FAIL;

    InitScene();

    m_pd3dDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    m_pd3dDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_pd3dDevice->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    return S_OK;
}

HRESULT CChildView::InitScene() {
    m_pTerrain = new CTerrain;
    m_pCamera = new CCamera;
    const D3DXVECTOR3 cellSize(2.0f, 0.0f, 2.0f);
    m_pTerrain->Create(m_pd3dDevice, &cellSize, "map1.bmp", kGroundTextures);
    m_Cube.Create(m_pd3dDevice, kCubeTextures);
    const D3DXVECTOR3 origin(0.0f, 0.0f, 0.0f);
    const D3DXVECTOR3 unitScale(1.0f, 1.0f, 1.0f);
    m_Player.Init(m_pd3dDevice, &origin, &m_Cube, &unitScale);

    for (Box& box : m_Boxes) {
        D3DXVECTOR3 scale;
        scale.z = static_cast<float>(rand() % 5 + 1);
        scale.y = static_cast<float>(rand() % 5 + 1);
        scale.x = static_cast<float>(rand() % 5 + 1);
        D3DXVECTOR3 position;
        position.z = static_cast<float>(rand() % 60 - 30);
        position.x = static_cast<float>(rand() % 60 - 30);
        position.y = 0.0f;
        box.Init(m_pd3dDevice, &position, &scale, &m_Cube, &m_Player);
        box.Initialize();  // started before the next box draws its numbers
    }

    m_pCube2 = new CCube;
    m_pCube2->Create(m_pd3dDevice, kCubeTextures);

    if (FAILED(D3DXCreateFontA(m_pd3dDevice, 20, 0, FW_BOLD, 0, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                               "Arial", &m_pFont)))
        MessageBox(nullptr, "D3DXCreateFont fail", MB_OK);
    return S_OK;
}

HRESULT CChildView::InitView() {
    if (m_pd3dDevice) SetupMatrices();  // no device: no camera either, nothing to set up
    GetCursorPos(&m_ptPrevCursor);
    return S_OK;
}

void CChildView::SetupMaterial() {
    D3DMATERIAL9 material{};
    material.Ambient = {1.0f, 1.0f, 1.0f, 1.0f};
    material.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    m_pd3dDevice->SetMaterial(&material);
}

void CChildView::SetupMatrices() {
    D3DXMatrixIdentity(&m_matWorld);
    m_pd3dDevice->SetTransform(D3DTS_WORLD, &m_matWorld);

    const D3DXVECTOR3* at = m_Player.GetPosition();
    D3DXMatrixLookAtLH(&m_matView, &kOverviewEye, at, &kUp);
    m_pd3dDevice->SetTransform(D3DTS_VIEW, &m_matView);

    // A view squeezed to no height has no aspect ratio: keep the projection it had.
    if (m_nHeight != 0) {
        const float aspect = static_cast<float>(m_nWidth) / static_cast<float>(m_nHeight);
        D3DXMatrixPerspectiveFovLH(&m_matProj, D3DX_PI / 4, aspect, 1.0f, 1000.0f);
        m_pd3dDevice->SetTransform(D3DTS_PROJECTION, &m_matProj);
    }

    m_pCamera->SetView(&kOverviewEye, at, &kUp);
}

void CChildView::ProcessKeyboard() {
    m_fForward = 0.0f;
    m_fStrafe = 0.0f;
    m_fTurn = 0.0f;

    struct Binding {
        int key;
        float* delta;
        float change;
        void (CCamera::*walk)(float);
    };
    const Binding bindings[] = {
        {kKeyForward, &m_fForward, kMoveSpeed, &CCamera::WalkForward},
        {kKeyBackward, &m_fForward, -kMoveSpeed, &CCamera::WalkForward},
        {kKeyLeft, &m_fStrafe, -kMoveSpeed, &CCamera::WalkSide},
        {kKeyRight, &m_fStrafe, kMoveSpeed, &CCamera::WalkSide},
        {kKeyTurnLeft, &m_fTurn, -kTurnSpeed, &CCamera::WalkTurn},
        {kKeyTurnRight, &m_fTurn, kTurnSpeed, &CCamera::WalkTurn},
    };
    for (const Binding& binding : bindings) {
        if (!KeyHeld(binding.key)) continue;
        *binding.delta += binding.change;
        if (m_pCamera) (m_pCamera->*binding.walk)(binding.change);
    }

    if (KeyHeld(kKeyMode)) {
        g_bKey1Down = TRUE;
    } else if (g_bKey1Down) {
        m_bFirstPerson = m_bFirstPerson == 0 ? 1 : 0;
        g_bKey1Down = FALSE;
    }
}

void CChildView::ProcessMouse() {
    if (m_bFirstPerson && m_nMouseState == kDragging) {
        POINT cursor;
        GetCursorPos(&cursor);
        const LONG dx = cursor.x - m_ptPrevCursor.x;
        m_Player.Turn(static_cast<float>(dx) * kMouseTurn);
        m_ptPrevCursor = cursor;
    }
    if (m_pCamera) m_pCamera->Pitch(0.0f);
}

void CChildView::OnRButtonDown(UINT nFlags, CPoint point) {
    m_nMouseState = kDragging;
    GetCursorPos(&m_ptPrevCursor);
    CWnd::OnRButtonDown(nFlags, point);
}

void CChildView::OnRButtonUp(UINT nFlags, CPoint point) {
    m_nMouseState = 0;
    CWnd::OnRButtonUp(nFlags, point);
}

void CChildView::ApplyPlayerMovement() {
    m_Player.MoveForward(m_fForward);
    m_Player.Strafe(m_fStrafe);
    m_Player.Turn(m_fTurn);
}

void CChildView::Render() {
    if (!m_pd3dDevice) return;
    m_pd3dDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF6E93BF, 1.0f, 0);
    SetupMaterial();

    if (SUCCEEDED(m_pd3dDevice->BeginScene())) {
        m_pTerrain->Render();  // still under the previous frame's view
        ApplyPlayerMovement();

        if (m_bFirstPerson) {
            const D3DXVECTOR3 lift(0.0f, 10.0f, 0.0f);
            const D3DXVECTOR3 eye = lift + (m_Player.m_vPos - m_Player.m_vLook * 20.0f);
            m_pCamera->SetView(&eye, &m_Player.m_vPos, &kUp);
        } else {
            SetupMatrices();
        }
        m_pd3dDevice->SetTransform(D3DTS_VIEW, m_pCamera->GetViewMatrix());

        m_Player.Render();
        PushNearbyBoxes();
        CollidePlayerBoxes();
        CollideBoxes();
        for (Box& box : m_Boxes) {
            box.Update();
            box.Render();
        }
        m_pCube2->RenderInstances();
        DrawHUD();
        m_pd3dDevice->EndScene();
    }
    m_pd3dDevice->Present(nullptr, nullptr, nullptr, nullptr);
}

void CChildView::ReactToPlayer(int limit, float distance) {
    const D3DXVECTOR3& player = m_Player.m_vPos;
    for (Box& box : m_Boxes) {
        if (GridDistance(player, box.m_vPos) >= limit) continue;
        if (player.x > box.m_vPos.x) {
            box.Strafe(-distance);
        } else if (player.x < box.m_vPos.x) {
            box.Strafe(distance);
        }
        if (player.z > box.m_vPos.z) {
            box.MoveFromTarget(-distance);
        } else if (player.z < box.m_vPos.z) {
            box.MoveFromTarget(distance);
        }
    }
}

void CChildView::PushNearbyBoxes() {
    if (!m_bSkipPush) ReactToPlayer(20, 2.0f);
    if (!m_bSkipShove) ReactToPlayer(4, 20.0f);
}

void CChildView::PullNearbyBoxes() {
    if (!m_bSkipPull) ReactToPlayer(20, -2.0f);
}

void CChildView::CollidePlayerBoxes() {
    for (Box& box : m_Boxes) {
        const D3DXVECTOR3 offset = m_Player.m_vPos - box.m_vCenter;
        const float distance = D3DXVec3Length(&offset);
        if (m_Player.m_fRadius + box.m_fRadius > distance && box.m_bPushable)
            box.MoveFromTarget(kContactStep);
    }
}

void CChildView::CollideBoxes() {
    for (int i = 0; i < kBoxCount; ++i) {
        for (int j = 0; j < kBoxCount; ++j) {
            if (i == j) continue;
            const D3DXVECTOR3 offset = m_Boxes[i].m_vCenter - m_Boxes[j].m_vCenter;
            const float distance = D3DXVec3Length(&offset);
            if (m_Boxes[i].m_fRadius + m_Boxes[j].m_fRadius > distance)
                m_Boxes[j].MoveFromBox(kContactStep, m_Boxes[i]);
        }
    }
}

void CChildView::DrawHUD() {
    const float fps = m_FpsTimer.Tick();
    if (!m_pFont) return;  // its creation failed and was reported at set-up

    char text[256];
    RECT rect;
    const D3DCOLOR yellow = D3DXCOLOR(1.0f, 1.0f, 0.0f, 1.0f);
    auto drawLine = [&](int top) {
        SetRect(&rect, 5, top, 0, 0);
        m_pFont->DrawTextA(nullptr, text, -1, &rect, DT_NOCLIP, yellow);
    };

    std::snprintf(text, sizeof text, "FPS: %f", static_cast<double>(fps));
    drawLine(5);
    const char* const lines[] = {kHelpReact, kHelpMove, kHelpMode,
                                 m_bFirstPerson ? kModeFirstPerson : kModeOverview};
    int top = 25;
    for (const char* line : lines) {
        std::snprintf(text, sizeof text, "%s", line);
        drawLine(top);
        top += 20;
    }
}

void CChildView::OnLButtonDown(UINT nFlags, CPoint point) {
    m_ptClick = point;
    Pick();
    CWnd::OnLButtonDown(nFlags, point);
}

BOOL CChildView::Pick() {
    if (!m_pd3dDevice || !m_pTerrain) return TRUE;  // no scene to pick from

    D3DVIEWPORT9 viewport;
    m_pd3dDevice->GetViewport(&viewport);
    D3DXMATRIXA16 projection;
    m_pd3dDevice->GetTransform(D3DTS_PROJECTION, &projection);

    // Unsigned, as the viewport's corner and size are: a click is never left of or above it.
    const auto offsetX = static_cast<DWORD>(m_ptClick.x - static_cast<LONG>(viewport.X));
    const auto offsetY = static_cast<DWORD>(m_ptClick.y - static_cast<LONG>(viewport.Y));
    D3DXVECTOR3 v;
    v.x = ((2.0f * static_cast<float>(offsetX) / viewport.Width) - 1.0f - projection._31) /
          projection._11;
    v.y = (-((2.0f * static_cast<float>(offsetY) / viewport.Height) - 1.0f) - projection._32) /
          projection._22;
    v.z = 1.0f;

    D3DXMATRIXA16 view, inverseView;
    m_pd3dDevice->GetTransform(D3DTS_VIEW, &view);
    D3DXMatrixInverse(&inverseView, nullptr, &view);
    const D3DXMATRIXA16& m = inverseView;
    D3DXVECTOR3 direction(v.x * m._11 + v.y * m._21 + v.z * m._31,
                          v.x * m._12 + v.y * m._22 + v.z * m._32,
                          v.x * m._13 + v.y * m._23 + v.z * m._33);
    const D3DXVECTOR3 origin(m._41, m._42, m._43);
    D3DXVec3Normalize(&direction, &direction);

    float hitDistance = kPickDistance;
    for (int i = 0; i < m_pTerrain->m_nTriangles; ++i) {
        const D3DXVECTOR3 p0 = m_pTerrain->m_pPositions[m_pTerrain->m_pTriangles[3 * i]];
        const D3DXVECTOR3 p1 = m_pTerrain->m_pPositions[m_pTerrain->m_pTriangles[3 * i + 1]];
        const D3DXVECTOR3 p2 = m_pTerrain->m_pPositions[m_pTerrain->m_pTriangles[3 * i + 2]];
        float u, w, t;
        if (D3DXIntersectTri(&p0, &p1, &p2, &origin, &direction, &u, &w, &t) == TRUE) {
            if (t < hitDistance) hitDistance = t;
            m_Player.WalkToward(origin + direction * hitDistance);
            return TRUE;
        }
    }
    return TRUE;
}
