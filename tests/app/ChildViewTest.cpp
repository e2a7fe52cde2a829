// The child view's set-up and teardown in the running program, and its frame-rate timer.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include <cstdlib>

#include <gtest/gtest.h>

#include "ChildView.h"
#include "MainFrm.h"
#include "Orvek.h"
#include "mfc/TestHost.h"
#include "win32/Backend.h"

namespace test {
namespace {

struct BoxSetUp {
    D3DXVECTOR3 position, scale, anchor;
};

std::array<BoxSetUp, CChildView::kBoxCount> startProgramAndReadBoxes() {
    srand(1);  // as at process start: the program never seeds
    platform::mfc::TestHost host;
    EXPECT_TRUE(host.started());
    const CChildView& view = static_cast<CMainFrame*>(host.mainWindow())->m_wndView;
    std::array<BoxSetUp, CChildView::kBoxCount> boxes;
    for (int i = 0; i < CChildView::kBoxCount; ++i)
        boxes[i] = {view.m_Boxes[i].m_vPos, view.m_Boxes[i].m_vScale, view.m_Boxes[i].m_vAnchor};
    return boxes;
}

TEST(ChildViewSetUpTest, TwoStartsBuildTheSameScene) {
    const auto first = startProgramAndReadBoxes();
    const auto second = startProgramAndReadBoxes();
    // The platform's generator from seed 1 puts the first box here.
    EXPECT_EQ(first[0].position, D3DXVECTOR3(18.0f, 0.0f, 12.0f));
    EXPECT_EQ(first[0].scale, D3DXVECTOR3(1.0f, 1.0f, 2.0f));
    for (int i = 0; i < CChildView::kBoxCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(first[i].position, second[i].position);
        EXPECT_EQ(first[i].scale, second[i].scale);
        EXPECT_EQ(first[i].anchor, second[i].anchor);
        // Whole numbers: x and z from -30 to 29 on the ground, scales from 1 to 5.
        const D3DXVECTOR3& p = first[i].position;
        EXPECT_EQ(p.y, 0.0f);
        for (const float v : {p.x, p.z}) {
            EXPECT_EQ(v, static_cast<float>(static_cast<int>(v)));
            EXPECT_GE(v, -30.0f);
            EXPECT_LE(v, 29.0f);
        }
        for (const float s : {first[i].scale.x, first[i].scale.y, first[i].scale.z}) {
            EXPECT_EQ(s, static_cast<float>(static_cast<int>(s)));
            EXPECT_GE(s, 1.0f);
            EXPECT_LE(s, 5.0f);
        }
    }
}

// Stand-ins that note their release in a shared journal.
struct ReleaseJournal {
    std::vector<std::string> entries;
};

struct NotedDirect3D final : IDirect3D9 {
    explicit NotedDirect3D(ReleaseJournal& journal) : journal_(journal) {}
    ULONG AddRef() noexcept override { return 1; }
    ULONG Release() noexcept override {
        journal_.entries.push_back("Direct3D");
        return 0;
    }
    HRESULT CreateDevice(UINT, D3DDEVTYPE, HWND, DWORD, D3DPRESENT_PARAMETERS*,
                         IDirect3DDevice9**) noexcept override {
        return E_FAIL;
    }
    ReleaseJournal& journal_;
};

struct NotedFont final : ID3DXFont {
    explicit NotedFont(ReleaseJournal& journal) : journal_(journal) {}
    ULONG AddRef() noexcept override { return 1; }
    ULONG Release() noexcept override {
        journal_.entries.push_back("font");
        return 0;
    }
    INT DrawTextA(LPD3DXSPRITE, LPCSTR, INT, LPRECT, DWORD, D3DCOLOR) noexcept override {
        return 0;
    }
    ReleaseJournal& journal_;
};

TEST(ChildViewTeardownTest, ReleasesTheDirect3DObjectBeforeTheFont) {
    ReleaseJournal journal;
    NotedDirect3D direct3D(journal);
    NotedFont font(journal);
    {
        CChildView view;
        view.m_pD3D = &direct3D;
        view.m_pFont = &font;
    }
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"Direct3D", "font"}));
}

class FpsTimerTest : public ::testing::Test {
protected:
    FpsTimerTest() {
        platform::win32::setPerformanceCounter([this] { return now; }, kFrequency);
    }
    ~FpsTimerTest() override { platform::win32::setPerformanceCounter({}, 0); }

    static constexpr LONGLONG kFrequency = 1'000'000;  // counts per second
    LONGLONG now = 0;
};

TEST_F(FpsTimerTest, FigureIsTheReciprocalOfTheLastInterval) {
    struct Case {
        LONGLONG from, to;
        float fps;
    };
    const Case cases[] = {
        {5'000'000, 5'010'000, 100.0f},                  // 10 ms
        {5'000'000, 5'250'000, 4.0f},                    // 250 ms: no smoothing
        {0xFFFFF000LL, 0x1'00000000LL + 0x2D0LL, 1'000'000.0f / 0x12D0},  // low part wraps
    };
    for (const Case& c : cases) {
        CFpsTimer timer;
        now = c.from;
        timer.Tick();
        now = c.to;
        EXPECT_FLOAT_EQ(timer.Tick(), c.fps) << c.from << " -> " << c.to;
    }
}

TEST_F(FpsTimerTest, NoCountsBetweenTwoTicksKeepTheLastFigure) {
    CFpsTimer timer;
    now = 1'000;
    timer.Tick();
    now = 21'000;
    EXPECT_FLOAT_EQ(timer.Tick(), 50.0f);
    EXPECT_FLOAT_EQ(timer.Tick(), 50.0f);
}

}  // namespace
}  // namespace test
