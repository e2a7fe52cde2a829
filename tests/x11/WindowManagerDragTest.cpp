// A move or resize of the frame through the window manager's decorations stops the frames
// until the button comes up; a press in the program's own window does not.
#include <QWidget>

#include "X11AppTest.h"
#include "mfc/IdleLoop.h"
#include "mfc/WindowHost.h"

namespace test::x11 {
namespace {

constexpr unsigned kLeftButton = 1;
constexpr unsigned kRightButton = 3;

class WindowManagerDragTest : public X11AppTest {
protected:
    bool wantsWindowManager() const override { return true; }

    int presents() const {
        return platform::mfc::WindowHost::fromHandle(view().m_hWnd)->presentCount();
    }
    // The middle of the title bar and the outer bottom-right corner of the frame's border.
    QPoint titleBar() const {
        const QRect outer = frameWidget()->frameGeometry();
        const QRect inner = frameWidget()->geometry();
        return QPoint(outer.center().x(), (outer.top() + inner.top()) / 2);
    }
    QPoint borderCorner() const { return frameWidget()->frameGeometry().bottomRight() - QPoint(1, 1); }

    // Presses at `from`, carries the pointer by `by` in steps, and checks that frames stop
    // while the button is held and come back once it is up.
    void dragAndExpectNoFrames(QPoint from, QPoint by) {
        x().moveTo(from.x(), from.y());
        x().pressButton(kLeftButton);
        settle();
        for (int i = 1; i <= 8; ++i) {
            const QPoint at = from + by * i / 8;
            x().moveTo(at.x(), at.y());
            settle();
        }
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
    const QPoint start = frameWidget()->geometry().topLeft();
    dragAndExpectNoFrames(titleBar(), QPoint(60, 40));
    EXPECT_TRUE(waitFor([&] { return frameWidget()->geometry().topLeft() != start; }))
        << "the frame moved";
}

TEST_F(WindowManagerDragTest, ResizingTheFrameByItsCornerStopsTheFrames) {
    const QSize start = frameWidget()->size();
    dragAndExpectNoFrames(borderCorner(), QPoint(-80, -60));
    EXPECT_TRUE(waitFor([&] { return frameWidget()->size() != start; })) << "the frame was resized";
}

TEST_F(WindowManagerDragTest, AHeldButtonInTheViewKeepsTheFramesGoing) {
    const QPoint inView = viewPoint();
    x().moveTo(inView.x(), inView.y());
    x().pressButton(kRightButton);
    ASSERT_TRUE(waitFor([&] { return view().m_nMouseState == 2; }));
    // Longer than the watch takes to decide a press was the manager's.
    waitFor([] { return false; }, 150);
    EXPECT_FALSE(platform::mfc::ModalScope::active());
    const int before = presents();
    step(2);
    EXPECT_EQ(before + 2, presents());
    x().releaseButton(kRightButton);
    settle();
}

}  // namespace
}  // namespace test::x11
