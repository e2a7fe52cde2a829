// The toolbar on a desktop with a window manager: dragged by its gripper it floats in a window
// of its own and docks again on every side; the frame's accelerators work while it floats; its
// images sit on the buttons' own face.
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

    // The main window animates a docked bar into its place and starts no drag from a press on
    // the gripper until that ends; the window the bar is in must be where Qt has it, which a
    // window manager decides for a floating one.
    bool dockingSettled() {
        return waitFor([&] {
            for (const auto* animation : frameWidget()->findChildren<QPropertyAnimation*>())
                if (animation->state() == QAbstractAnimation::Running) return false;
            const QWidget* window = toolBar()->window();
            int x = 0, y = 0;
            this->x().originOf(window->winId(), x, y);
            return window->mapToGlobal(QPoint(0, 0)) == QPoint(x, y);
        });
    }

    // Presses the gripper and carries it to `to` (screen coordinates) in small steps.
    void dragGripperTo(QPoint to) {
        const QPoint from = toolBar()->mapToGlobal(gripperOf(*toolBar()));
        x().moveTo(from.x(), from.y());
        x().pressButton(kLeftButton);
        settle();
        constexpr int kSteps = 12;
        for (int i = 1; i <= kSteps; ++i) {
            const QPoint at = from + (to - from) * i / kSteps;
            x().moveTo(at.x(), at.y());
            settle();
        }
        x().releaseButton(kLeftButton);
        settle();
    }
    bool floatInTheView() {
        if (!dockingSettled()) return false;
        dragGripperTo(viewOnScreen().center());
        return waitFor([&] { return toolBar()->isFloating(); });
    }
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
        ASSERT_TRUE(dockingSettled()) << "the bar never came to rest";
        dragGripperTo(side.edge(viewOnScreen()));
        ASSERT_TRUE(waitFor([&] { return !toolBar()->isFloating() && dockedSide() == side.area; }));
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
