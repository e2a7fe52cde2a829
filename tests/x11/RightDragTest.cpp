// A right-button drag ends only when the release reaches the view: released over the toolbar,
// the status bar or another program's window, the drag goes on.
#include <QWidget>

#include "X11AppTest.h"
#include "mfc/WindowHost.h"

namespace test::x11 {
namespace {

constexpr unsigned kRightButton = 3;

class RightDragTest : public X11AppTest {
protected:
    QPoint centreOf(const QWidget* widget) const {
        return widget->mapToGlobal(widget->rect().center());
    }
    // Presses the right button in the view, releases it at `release`. Each press lies apart
    // from the last, so that two never make a double click, which starts no drag.
    int dragStateAfterReleaseAt(QPoint release) {
        pressOffset_ += 20;
        const QPoint press = viewPoint({pressOffset_ - 100, 0});
        x().moveTo(press.x(), press.y());
        x().pressButton(kRightButton);
        if (!waitFor([&] { return view().m_nMouseState == 2; })) return -1;
        x().moveTo(release.x(), release.y());
        x().releaseButton(kRightButton);
        settle();
        step(2);
        return view().m_nMouseState;
    }

private:
    int pressOffset_ = 0;
};

TEST_F(RightDragTest, EndsOnlyWhenTheReleaseReachesTheView) {
    EXPECT_EQ(0, dragStateAfterReleaseAt(viewPoint({40, 30})));
    EXPECT_EQ(2, dragStateAfterReleaseAt(centreOf(platform::mfc::widgetOf(&frame().m_wndToolBar))))
        << "released over the toolbar";
    EXPECT_EQ(0, dragStateAfterReleaseAt(viewPoint()));
    EXPECT_EQ(2,
              dragStateAfterReleaseAt(centreOf(platform::mfc::widgetOf(&frame().m_wndStatusBar))))
        << "released over the status bar";
    EXPECT_EQ(0, dragStateAfterReleaseAt(viewPoint()));

    const QPoint corner = viewPoint({-100, -100});
    x().openWindow(corner.x(), corner.y(), 80, 80);  // another program's window, over the view
    EXPECT_EQ(2, dragStateAfterReleaseAt(corner + QPoint(40, 40)))
        << "released over another window";
}

}  // namespace
}  // namespace test::x11
