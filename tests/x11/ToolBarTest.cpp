// The toolbar on a desktop with a window manager: dragged by its gripper it floats in a window
// of its own and docks again on every side; the frame's accelerators work while it floats; its
// images sit on the buttons' own face.
#include <optional>

#include <QApplication>
#include <QMainWindow>
#include <QPropertyAnimation>
#include <QToolBar>

#include <X11/keysym.h>

#include "ToolBarGripper.h"
#include "X11AppTest.h"
#include "mfc/WindowHost.h"
#include "resource.h"

namespace test::x11 {
namespace {

constexpr unsigned kLeftButton = 1;

class ToolBarTest : public X11AppTest {
protected:
    bool wantsWindowManager() const override { return true; }

    QToolBar* toolBar() const {
        return qobject_cast<QToolBar*>(platform::mfc::widgetOf(&frame().m_wndToolBar));
    }
    Qt::ToolBarArea dockedSide() const {
        return qobject_cast<QMainWindow*>(frameWidget())->toolBarArea(toolBar());
    }
    QRect viewOnScreen() const {
        return QRect(viewWidget()->mapToGlobal(QPoint(0, 0)), viewWidget()->size());
    }

    // Where the gripper is on the screen once the bar has come to rest, or nothing. The main
    // window animates a docked bar into its place and starts no drag from a press on the
    // gripper until that ends. A floating bar's window is the window manager's to show and
    // place: the server says where it is. And the press must reach the bar: when a floating
    // bar docks, its window goes at once, but the manager's frame around it stays on top
    // until the manager has seen that.
    std::optional<QPoint> gripperAtRest() {
        const QWidget* window = toolBar()->window();
        QPoint gripper;
        const bool rests = waitFor([&] {
            for (const auto* animation : frameWidget()->findChildren<QPropertyAnimation*>())
                if (animation->state() == QAbstractAnimation::Running) return false;
            QPoint origin;
            if (!x().shownAt(window->winId(), origin.rx(), origin.ry())) return false;
            gripper = origin + toolBar()->mapTo(window, gripperOf(*toolBar()));
            return x().onTopAt(window->winId(), gripper.x(), gripper.y());
        });
        if (!rests) return std::nullopt;
        return gripper;
    }

    // Presses the gripper at `from` and carries it to `to` (screen coordinates) in small steps.
    void dragGripper(QPoint from, QPoint to) {
        x().moveTo(from.x(), from.y());
        x().pressButton(kLeftButton);
        settle();
        lifted_ = false;
        constexpr int kSteps = 12;
        for (int i = 1; i <= kSteps; ++i) {
            const QPoint at = from + (to - from) * i / kSteps;
            x().moveTo(at.x(), at.y());
            settle();
            lifted_ = lifted_ || toolBar()->isFloating();
        }
        x().releaseButton(kLeftButton);
        settle();
    }
    bool floatInTheView() {
        const std::optional<QPoint> gripper = gripperAtRest();
        if (!gripper) return false;
        dragGripper(*gripper, viewOnScreen().center());
        return waitFor([&] { return toolBar()->isFloating(); });
    }

    bool lifted_ = false;  // the last drag floated the bar on its way
};

TEST_F(ToolBarTest, FloatsInAWindowOfItsOwnAndDocksOnEverySide) {
    ASSERT_EQ(Qt::TopToolBarArea, dockedSide());
    ASSERT_TRUE(floatInTheView());
    EXPECT_TRUE(toolBar()->isWindow());
    EXPECT_TRUE(toolBar()->isVisible());

    struct Side {
        Qt::ToolBarArea area;
        QPoint (*edge)(const QRect& view);  // a point just inside the view's edge
        const char* name;
    };
    const Side sides[] = {
        {Qt::LeftToolBarArea, [](const QRect& v) { return QPoint(v.left() + 4, v.center().y()); },
         "left"},
        {Qt::RightToolBarArea,
         [](const QRect& v) { return QPoint(v.right() - 4, v.center().y()); }, "right"},
        {Qt::BottomToolBarArea,
         [](const QRect& v) { return QPoint(v.center().x(), v.bottom() - 4); }, "bottom"},
        {Qt::TopToolBarArea, [](const QRect& v) { return QPoint(v.center().x(), v.top() + 4); },
         "top"},
    };
    for (const Side& side : sides) {
        SCOPED_TRACE(side.name);
        const std::optional<QPoint> gripper = gripperAtRest();
        ASSERT_TRUE(gripper) << "the bar never came to rest";
        dragGripper(*gripper, side.edge(viewOnScreen()));
        ASSERT_TRUE(waitFor([&] { return !toolBar()->isFloating() && dockedSide() == side.area; }))
            << "floating " << toolBar()->isFloating() << ", docked at " << dockedSide()
            << (lifted_ ? ", dropped; pressed at " : ", never lifted by the press at ")
            << gripper->x() << "," << gripper->y();
        EXPECT_FALSE(toolBar()->isWindow());
        ASSERT_TRUE(waitFor([&] {
            return frame().m_wndView.m_nWidth == viewWidget()->width() &&
                   frame().m_wndView.m_nHeight == viewWidget()->height();
        })) << "the view learns its new size";
    }
}

TEST_F(ToolBarTest, EscapeClosesTheProgramWhileTheFloatingToolbarHasTheFocus) {
    ASSERT_TRUE(floatInTheView());
    x().focus(toolBar()->winId());
    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == toolBar(); }));
    x().tap(XK_Escape);
    EXPECT_TRUE(waitFor([&] { return host().mainWindow() == nullptr; }));
}

// Light grey stands for the button face in the bitmap: on screen it is the face's own colour.
TEST_F(ToolBarTest, ImagesSitOnTheButtonsFace) {
    const QWidget* about = nullptr;
    for (QAction* action : toolBar()->actions())
        if (action->data().toUInt() == ID_APP_ABOUT) about = toolBar()->widgetForAction(action);
    ASSERT_NE(nullptr, about);
    const QPoint away = viewPoint();
    x().moveTo(away.x(), away.y());  // not hovered: the button draws no panel of its own
    settle();
    // The image is centred on the button; its row 6 is light grey from column 0 to 7.
    const QPoint image = about->mapToGlobal(about->rect().center()) - QPoint(8, 7);
    const QPoint lightGrey = image + QPoint(3, 6);
    const QRgb face = toolBar()->palette().color(QPalette::Active, QPalette::Button).rgb();
    ASSERT_NE(0xC0C0C0u, face & 0xFFFFFFu) << "the style's face is light grey itself";
    const auto shown = [&] { return x().pixelAt(lightGrey.x(), lightGrey.y()); };
    EXPECT_TRUE(waitFor([&] { return shown() == (face & 0xFFFFFFu); })) << std::hex << shown();
}

}  // namespace
}  // namespace test::x11
