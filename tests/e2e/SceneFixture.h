// SceneFixture.h: the real program started through the test host, with the clocks, the cursor
// and the keys in the test's hands. Frames come only from idle passes, each at a clock reading
// the test names, so a test decides exactly which frames poll the input.
//
// The frame loop keeps the time of its last poll in a static that lives as long as the process,
// across hosts. settle() makes a frame at a reading more than 25 ms past every reading since the
// clock last started over, or below them all: after it, the last poll's time is that reading,
// whatever ran before in the process.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <gtest/gtest.h>

#include "ChildView.h"
#include "MainFrm.h"
#include "PlatformFixtures.h"
#include "mfc/TestHost.h"

namespace test {

// The loop polls once more than this many milliseconds have passed since the last poll.
constexpr DWORD kPollInterval = 25;
constexpr DWORD kPollGap = kPollInterval + 1;

class SceneTest : public ::testing::Test {
protected:
    // Performance counter frequency and counts per frame: the overlay shows "FPS: 100.000000".
    static constexpr LONGLONG kCounterFrequency = 1'000'000;
    static constexpr LONGLONG kCountsPerFrame = 10'000;

    SceneTest();

    CMainFrame& frame() const { return *static_cast<CMainFrame*>(host.mainWindow()); }
    CChildView& view() const { return frame().m_wndView; }
    CPlayer& player() const { return view().m_Player; }
    Box& box(int i) const { return view().m_Boxes[i]; }
    QWidget* viewWidget() const;

    // One idle pass, the millisecond clock reading `ms` throughout.
    void frameAt(DWORD ms);
    // `count` frames `step` ms apart after `from`; returns the last reading.
    DWORD framesAfter(DWORD from, int count, DWORD step);
    // A frame that leaves the last poll's time at the reading it returns. It polls, unless it
    // is the loop's first call in the process.
    DWORD settle();

    // The last frame presented into the view; valid until the next frame.
    QImage picture() const;
    // The view transform the device holds.
    D3DXMATRIX deviceView() const;

    // Puts box i at the position as if it had been made there: unturned, at its own scale.
    // Its sphere stays the one its last draw left until it is drawn again.
    void placeBox(int i, const D3DXVECTOR3& position);
    // Every box far behind the overview camera, out of sight and of every reaction and contact.
    void placeBoxesAway();

    // The clocks and the cursor, in place before the program starts: the view reads the
    // counter's frequency and the cursor while it is made.
    class Inputs {
    public:
        Inputs();
        ~Inputs();
        Inputs(const Inputs&) = delete;
        Inputs& operator=(const Inputs&) = delete;

        DWORD reading = 0;
        POINT cursor{0, 0};  // screen coordinates

    private:
        LONGLONG counter_ = 0;
    };

    Inputs inputs;
    KeyboardFixture keys;
    MessageBoxCapture messageBoxes;
    platform::mfc::TestHost host;
};

// Every element within the tolerance.
::testing::AssertionResult MatricesNear(const D3DXMATRIX& expected, const D3DXMATRIX& actual,
                                        float tolerance = 1e-4f);
::testing::AssertionResult VectorsNear(const D3DXVECTOR3& expected, const D3DXVECTOR3& actual,
                                       float tolerance = 1e-4f);

}  // namespace test
