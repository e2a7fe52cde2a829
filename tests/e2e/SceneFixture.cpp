#include "SceneFixture.h"

#include <cmath>

#include "mfc/WindowHost.h"
#include "win32/Backend.h"

namespace test {
namespace {

// Readings start well clear of 0, so that a test can read times below the last poll's, which the
// loop takes for a wrapped clock, and stay below 2^24, where a float holds every millisecond.
constexpr DWORD kFirstReading = 1'000'000;
constexpr DWORD kExactReadings = 1u << 24;
constexpr DWORD kSettleStep = 1000;

// The latest reading handed out since the clock last started over, in any fixture of the process.
DWORD g_latestReading = kFirstReading;

}  // namespace

SceneTest::Inputs::Inputs() {
    platform::win32::setMillisecondClock([this] { return reading; });
    platform::win32::setPerformanceCounter([this] { return counter_ += kCountsPerFrame; },
                                           kCounterFrequency);
    g_bKey1Down = FALSE;  // a new start of the program, as far as key 1 goes
}

SceneTest::Inputs::~Inputs() {
    platform::win32::setMillisecondClock({});
    platform::win32::setPerformanceCounter({}, 0);
    platform::win32::setCursorSource({});
}

SceneTest::SceneTest() {
    // The host's start-up installed the Qt cursor; the test's own replaces it.
    platform::win32::setCursorSource([this] { return inputs.cursor; });
}

QWidget* SceneTest::viewWidget() const { return platform::mfc::widgetOf(&view()); }

void SceneTest::frameAt(DWORD ms) {
    inputs.reading = ms;
    if (ms > g_latestReading) g_latestReading = ms;
    host.idle(1);
}

DWORD SceneTest::framesAfter(DWORD from, int count, DWORD step) {
    for (int i = 1; i <= count; ++i) frameAt(from + static_cast<DWORD>(i) * step);
    return from + static_cast<DWORD>(count) * step;
}

DWORD SceneTest::settle() {
    // Past the exact range the clock starts over: a reading below the last poll's polls as well.
    if (g_latestReading >= kExactReadings - kSettleStep) g_latestReading = kFirstReading;
    const DWORD reading = g_latestReading + kSettleStep;
    frameAt(reading);
    return reading;
}

QImage SceneTest::picture() const {
    return platform::mfc::WindowHost::fromHandle(view().m_hWnd)->lastFrame();
}

D3DXMATRIX SceneTest::deviceView() const {
    D3DXMATRIX matrix;
    view().m_pd3dDevice->GetTransform(D3DTS_VIEW, &matrix);
    return matrix;
}

void SceneTest::placeBox(int i, const D3DXVECTOR3& position) {
    Box& b = box(i);
    const D3DXVECTOR3 scale = b.m_vScale;
    b.Init(view().m_pd3dDevice, &position, &scale, b.m_pCube, b.m_pTarget);
}

void SceneTest::placeBoxesAway() {
    for (int i = 0; i < CChildView::kBoxCount; ++i)
        placeBox(i, D3DXVECTOR3(-150.0f + 10.0f * static_cast<float>(i), 0.0f, -300.0f));
}

::testing::AssertionResult MatricesNear(const D3DXMATRIX& expected, const D3DXMATRIX& actual,
                                        float tolerance) {
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            if (std::fabs(expected.m[row][column] - actual.m[row][column]) > tolerance)
                return ::testing::AssertionFailure()
                       << "element " << row + 1 << column + 1 << " is " << actual.m[row][column]
                       << ", expected " << expected.m[row][column];
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult VectorsNear(const D3DXVECTOR3& expected, const D3DXVECTOR3& actual,
                                       float tolerance) {
    if (std::fabs(expected.x - actual.x) <= tolerance &&
        std::fabs(expected.y - actual.y) <= tolerance &&
        std::fabs(expected.z - actual.z) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << actual.x << ", " << actual.y << ", " << actual.z << "), expected ("
           << expected.x << ", " << expected.y << ", " << expected.z << ")";
}

}  // namespace test
