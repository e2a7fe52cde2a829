// A move or resize of the frame through the window manager, by its decorations or by its
// modifier in the window, stops the frames until the button comes up; a press in the
// program's own window does not, however late Qt hands it on.
#include <chrono>
#include <functional>
#include <thread>

#include <QCoreApplication>
#include <QEventLoop>
#include <QWidget>

#include <X11/keysym.h>

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
    // manager at work (a loaded manager may skip motions: it is given a few more); the loop
    // runs from the press on.
    void pressAndCarry(QPoint from, QPoint by, const std::function<bool()>& changed) {
        x().moveTo(from.x(), from.y());
        x().pressButton(kLeftButton);
        ASSERT_TRUE(waitFor(modalLoop)) << "no modal loop once the manager has the press";
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
    }
    // The same, checking that frames stop while the button is held and come back once it is
    // up.
    void dragAndExpectNoFrames(QPoint from, QPoint by, const std::function<bool()>& changed) {
        pressAndCarry(from, by, changed);
        if (HasFatalFailure()) return;
        ASSERT_TRUE(waitFor(modalLoop))
            << "no modal loop while the manager moves or sizes the frame";
        const int before = presents();
        step(3);
        EXPECT_EQ(before, presents());
        x().releaseButton(kLeftButton);
        ASSERT_TRUE(waitFor([] { return !modalLoop(); }));
        step(2);
        EXPECT_EQ(before + 2, presents());
    }
    static bool modalLoop() { return platform::mfc::ModalScope::active(); }

    enum class Delivery { Prompt, Late };
    // Holds the right button in the view for many of the watch's samples, with the press in
    // the program from the start, or only after them; the drag turns and the frames go on.
    // Each kind presses at a point of its own: two presses close by make a double click,
    // which starts no drag.
    void holdInTheViewAndExpectFrames(Delivery delivery) {
        const QPoint inView = viewPoint({delivery == Delivery::Prompt ? -60 : 60, 0});
        x().moveTo(inView.x(), inView.y());
        settle();
        x().pressButton(kRightButton);
        if (delivery == Delivery::Prompt) {
            ASSERT_TRUE(waitFor([&] { return view().m_nMouseState == 2; }));
        }
        ASSERT_TRUE(watchSamples(delivery)) << "the watch stopped sampling the pointer";
        EXPECT_EQ(delivery == Delivery::Prompt ? 2 : 0, view().m_nMouseState);
        EXPECT_FALSE(modalLoop());
        settle();  // Qt hands on the input it kept back when the next event comes
        ASSERT_TRUE(waitFor([&] { return view().m_nMouseState == 2; }));
        EXPECT_FALSE(modalLoop());
        const int before = presents();
        step(2);
        EXPECT_EQ(before + 2, presents());
        x().releaseButton(kRightButton);
        settle();
    }
    // Runs the program's loop until the watch has sampled the pointer several times; with
    // Late, Qt keeps the input it has read back meanwhile (the watch's timer runs).
    bool watchSamples(Delivery delivery) {
        constexpr long kSamples = 10;
        const long until = pointerQueries(appDisplay()) + kSamples;
        if (delivery == Delivery::Prompt)
            return waitFor([&] { return pointerQueries(appDisplay()) >= until; });
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
        while (pointerQueries(appDisplay()) < until) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
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

TEST_F(WindowManagerDragTest, MovingTheFrameWithTheManagersModifierInTheViewStopsTheFrames) {
    ASSERT_TRUE(framed());
    const QPoint start = onServer().topLeft();
    x().press(XK_Alt_L);
    dragAndExpectNoFrames(viewPoint(), QPoint(60, 40),
                          [&] { return onServer().topLeft() != start; });
    x().release(XK_Alt_L);
}

// Escape ends the manager's move with the button still down: the loop ends with it.
TEST_F(WindowManagerDragTest, AMoveTheManagerCancelsEndsTheLoopBeforeTheRelease) {
    ASSERT_TRUE(framed());
    const QPoint start = onServer().topLeft();
    x().press(XK_Alt_L);
    pressAndCarry(viewPoint(), QPoint(60, 40), [&] { return onServer().topLeft() != start; });
    if (HasFatalFailure()) return;
    x().release(XK_Alt_L);
    x().tap(XK_Escape);  // the manager has the keyboard while it moves the frame
    ASSERT_TRUE(waitFor([&] { return onServer().topLeft() == start; }))
        << "the manager did not cancel the move";
    EXPECT_TRUE(waitFor([] { return !modalLoop(); }));
    const int before = presents();
    step(2);
    EXPECT_EQ(before + 2, presents());
    EXPECT_NE(nullptr, host().mainWindow()) << "Escape reached the program";
    x().releaseButton(kLeftButton);
    settle();
}

TEST_F(WindowManagerDragTest, AHeldButtonInTheViewKeepsTheFramesGoing) {
    holdInTheViewAndExpectFrames(Delivery::Prompt);
}

// Under load Qt can hand a press on long after the server has it: the pointer shows the
// button down all that time.
TEST_F(WindowManagerDragTest, APressInTheViewThatQtHandsOnLateKeepsTheFramesGoing) {
    holdInTheViewAndExpectFrames(Delivery::Late);
}

}  // namespace
}  // namespace test::x11
