// Frames reach the screen with no paint between, and the view shows the last frame again when
// it was covered or has grown, while no frame is drawn.
#include <QImage>
#include <QWidget>

#include "X11AppTest.h"
#include "mfc/WindowHost.h"

namespace test::x11 {
namespace {

class PresentTest : public X11AppTest {
protected:
    // The colour at the view's point in the last frame presented, 0xRRGGBB.
    unsigned framePixel(QPoint global) const {
        const QImage frame = platform::mfc::WindowHost::fromHandle(view().m_hWnd)->lastFrame();
        const QWidget* widget = viewWidget();
        const QPoint local = widget->mapFromGlobal(global);
        const QRgb pixel = frame.pixel(local.x() * frame.width() / widget->width(),
                                       local.y() * frame.height() / widget->height());
        return pixel & 0xFFFFFFu;
    }
    bool screenShows(QPoint at, unsigned colour) {
        return waitFor([&] { return x().pixelAt(at.x(), at.y()) == colour; });
    }
};

TEST_F(PresentTest, FramesReachTheScreenAndPaintsShowTheLastAgain) {
    const QPoint at = viewPoint({0, 40});
    step(3);
    const unsigned last = framePixel(at);
    ASSERT_NE(0xFFFFFFu, last);
    XClient::sync(appDisplay());  // the server has drawn all the program sent it
    EXPECT_EQ(last, x().pixelAt(at.x(), at.y()));

    const Window cover = x().openWindow(at.x() - 30, at.y() - 30, 60, 60);  // white
    ASSERT_TRUE(screenShows(at, 0xFFFFFFu));
    x().closeWindow(cover);
    EXPECT_TRUE(screenShows(at, last)) << "uncovered, the view shows its last frame";

    // A larger window takes a new surface, which only a paint can fill: with the kept frame,
    // stretched, though no frame is drawn. Near its right edge the view shows the sky.
    const QSize size = frameWidget()->size();
    frameWidget()->resize(size + QSize(120, 80));
    const auto sky = [&] {
        const QWidget* widget = viewWidget();
        return widget->mapToGlobal(QPoint(widget->width() - 10, widget->height() / 8));
    };
    ASSERT_TRUE(waitFor([&] { return viewWidget()->width() > size.width() - 10 + 100; }));
    EXPECT_EQ(0x6E93BFu, framePixel(sky()));
    EXPECT_TRUE(screenShows(sky(), 0x6E93BFu)) << "the resized view shows the last frame";
}

// The server copies each frame from a shared image in its own process: the view's window keeps
// it a processor, which a device taking one thread per core leaves it.
TEST_F(PresentTest, TheServersCopyIsGivenAProcessorOfItsOwn) {
    EXPECT_EQ(1u, view().m_hWnd->presentingProcessors());
}

}  // namespace
}  // namespace test::x11
