// A move or resize of the frame through the window manager's decorations stops the frames
// until the button comes up; a press in the program's own window does not.
#include <functional>

#include <QWidget>

#include "DisplayReads.h"
#include "X11AppTest.h"
#include "mfc/IdleLoop.h"
#include "mfc/WindowHost.h"

// Xlib's macros (None, Bool, KeyPress...) clash with Qt's names: it comes after every Qt header.
#include <X11/Xlib.h>

namespace test::x11 {
namespace {

constexpr unsigned kLeftButton = 1;
constexpr unsigned kRightButton = 3;

class WindowManagerDragTest : public X11AppTest {
protected:
    bool wantsWindowManager() const override { return true; }

    // The frame's client area as the X server has it now: Qt hears of a move only at its end.
    QRect onServer() const {
        Display* display = appDisplay();
        const auto window = static_cast<::Window>(frameWidget()->winId());
        ::Window root, child;
        int x = 0, y = 0;
        unsigned width = 0, height = 0, border, depth;
        XGetGeometry(display, window, &root, &x, &y, &width, &height, &border, &depth);
        XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child);
        return QRect(x, y, static_cast<int>(width), static_cast<int>(height));
    }
    int presents() const {
        return platform::mfc::WindowHost::fromHandle(view().m_hWnd)->presentCount();
    }
    // The middle of the title bar and the outer bottom-right corner of the frame's border.
    QPoint titleBar() const {
        const QRect outer = frameWidget()->frameGeometry();
        const QRect inner = frameWidget()->geometry();
        return QPoint(outer.center().x(), (outer.top() + inner.top()) / 2);
    }
    QPoint borderCorner() const {
        return frameWidget()->frameGeometry().bottomRight() - QPoint(1, 1);
    }

    // The manager's frame is known once it has told its extents: before, there is no title
    // bar or border to press on.
    bool framed() {
        return waitFor([&] {
            return frameWidget()->frameGeometry().top() < frameWidget()->geometry().top();
        });
    }

    // Presses at `from` and carries the pointer by `by` in steps until `changed` shows the
    // manager at work (a loaded manager may skip motions: it is given a few more); checks that
    // frames stop while the button is held and come back once it is up.
    void dragAndExpectNoFrames(QPoint from, QPoint by, const std::function<bool()>& changed) {
        x().moveTo(from.x(), from.y());
        x().pressButton(kLeftButton);
        settle();
        QPoint at = from;
        for (int i = 1; i <= 8; ++i) {
            at = from + by * i / 8;
            x().moveTo(at.x(), at.y());
            settle();
        }
        bool done = false;
        for (int nudge = 1; !done && nudge <= 5; ++nudge) {
            done = waitFor(changed, 500);
            x().moveTo(at.x() + nudge, at.y() + nudge);
        }
        EXPECT_TRUE(done || waitFor(changed)) << "the manager neither moved nor sized the frame";
        ASSERT_TRUE(waitFor([] { return platform::mfc::ModalScope::active(); }))
            << "no modal loop while the manager moves or sizes the frame";
        const int before = presents();
        step(3);
        EXPECT_EQ(before, presents());
        x().releaseButton(kLeftButton);
        ASSERT_TRUE(waitFor([] { return !platform::mfc::ModalScope::active(); }));
        step(2);
        EXPECT_EQ(before + 2, presents());
    }
};

TEST_F(WindowManagerDragTest, MovingTheFrameByItsTitleBarStopsTheFrames) {
    ASSERT_TRUE(framed());
    const QPoint start = onServer().topLeft();
    dragAndExpectNoFrames(titleBar(), QPoint(60, 40),
                          [&] { return onServer().topLeft() != start; });
}

TEST_F(WindowManagerDragTest, ResizingTheFrameByItsCornerStopsTheFrames) {
    ASSERT_TRUE(framed());
    const QSize start = onServer().size();
    dragAndExpectNoFrames(borderCorner(), QPoint(-80, -60),
                          [&] { return onServer().size() != start; });
}

TEST_F(WindowManagerDragTest, AHeldButtonInTheViewKeepsTheFramesGoing) {
    const QPoint inView = viewPoint();
    x().moveTo(inView.x(), inView.y());
    x().pressButton(kRightButton);
    ASSERT_TRUE(waitFor([&] { return view().m_nMouseState == 2; }));
    // More of the watch's samples than it takes to decide a press was the manager's: each
    // queries the pointer twice while a button is held.
    constexpr long kSamples = 10;
    const long queries = pointerQueries(appDisplay());
    ASSERT_TRUE(waitFor([&] { return pointerQueries(appDisplay()) >= queries + 2 * kSamples; }))
        << "the watch stopped sampling the pointer";
    EXPECT_FALSE(platform::mfc::ModalScope::active());
    const int before = presents();
    step(2);
    EXPECT_EQ(before + 2, presents());
    x().releaseButton(kRightButton);
    settle();
}

}  // namespace
}  // namespace test::x11
