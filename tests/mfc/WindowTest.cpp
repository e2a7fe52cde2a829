// Windows: double clicks as the window class asks, presented frames drawn stretched straight
// into the window and painted stretched with WM_PAINT after them, window classes, run-time
// classes and diagnostics, the key feed.
#include <memory>
#include <vector>

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include "LayerFixture.h"
#include "mfc/Trace.h"
#include "mfc/WindowHost.h"
#include "win32/KeyState.h"

namespace test {
namespace {

// A double click as Qt delivers it to a widget: press, release, double click, release.
void doubleClick(QWidget* widget, Qt::MouseButton button, QPoint at) {
    const QPointF local(at);
    const QPointF global(widget->mapToGlobal(at));
    const QEvent::Type sequence[] = {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                     QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease};
    for (const QEvent::Type type : sequence) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent event(type, local, global, button, down ? button : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

TEST_F(LayerTest, DoubleClicksArriveAsTheWindowClassAsks) {
    struct Case {
        UINT classStyle;
        Qt::MouseButton button;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {CS_DBLCLKS, Qt::LeftButton, {"ldown 3,4", "lup 3,4", "ldbl 3,4", "lup 3,4"}},
        {CS_DBLCLKS, Qt::RightButton, {"rdown 3,4", "rup 3,4", "rdbl 3,4", "rup 3,4"}},
        {0, Qt::LeftButton, {"ldown 3,4", "lup 3,4", "ldown 3,4", "lup 3,4"}},
    };
    for (const Case& c : cases) {
        LayerView view;
        view.classStyle = c.classStyle;
        ASSERT_TRUE(view.Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 50, 40),
                                &frame(), 0x100));
        journal().clear();
        doubleClick(platform::mfc::widgetOf(&view), c.button, QPoint(3, 4));
        EXPECT_EQ(journal(), c.messages);
        view.DestroyWindow();
    }
}

// No capture is taken: a release away from the window that got the press is not its message.
TEST_F(LayerTest, ReleaseReachesTheWindowOnlyOverIt) {
    LayerView view;
    ASSERT_TRUE(
        view.Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 50, 40), &frame(), 0x100));
    QWidget* widget = platform::mfc::widgetOf(&view);
    journal().clear();
    for (const QPoint release : {QPoint(60, 10), QPoint(10, -5), QPoint(49, 39)}) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 4),
                          widget->mapToGlobal(QPointF(3, 4)), Qt::RightButton, Qt::RightButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
        QMouseEvent up(QEvent::MouseButtonRelease, QPointF(release),
                       widget->mapToGlobal(QPointF(release)), Qt::RightButton, Qt::NoButton,
                       Qt::NoModifier);
        QApplication::sendEvent(widget, &up);
    }
    EXPECT_EQ(journal(),
              (std::vector<std::string>{"rdown 3,4", "rdown 3,4", "rdown 3,4", "rup 49,39"}));
    view.DestroyWindow();
}

TEST_F(LayerTest, PresentedFrameIsKeptAndPaintedStretchedThenPaintReachesTheMap) {
    auto* view = platform::mfc::WindowHost::fromHandle(frame().m_view.m_hWnd);
    QWidget* widget = platform::mfc::widgetOf(&frame().m_view);
    host.pump();
    ASSERT_GT(widget->width(), 4);
    // Two rows of red then blue, a pitch of three; the top byte of X8R8G8B8 is undefined.
    const std::uint32_t pixels[] = {0x00FF0000u, 0x120000FFu, 0xDEADu,
                                    0x00FF0000u, 0x340000FFu, 0xBEEFu};
    view->present(pixels, 2, 2, 3);
    EXPECT_EQ(view->presentCount(), 1);
    EXPECT_EQ(view->lastFrame().pixel(1, 1), 0xFF0000FFu);

    // A paint (grab paints the widget) shows the last frame, then WM_PAINT reaches the view.
    const int paintsBefore = frame().m_view.paints;
    const QImage shown = widget->grab().toImage();
    EXPECT_GT(frame().m_view.paints, paintsBefore);
    EXPECT_EQ(shown.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(shown.pixel(shown.width() - 1, shown.height() - 1), 0xFF0000FFu);
    EXPECT_EQ(view->clientSize().cx, widget->width());
}

TEST_F(LayerTest, KeptFrameIsHeldNotCopiedAndPaintedFromThere) {
    auto* view = platform::mfc::WindowHost::fromHandle(frame().m_view.m_hWnd);
    QWidget* widget = platform::mfc::widgetOf(&frame().m_view);
    host.pump();
    auto pixels = std::make_shared<std::vector<std::uint32_t>>(
        std::vector<std::uint32_t>{0xFFFF0000u, 0xFF0000FFu, 0xFFFF0000u, 0xFF0000FFu});
    view->presentKept({pixels, pixels->data()}, 2, 2, 2, {});
    EXPECT_EQ(2, pixels.use_count()) << "the window holds the frame";
    EXPECT_EQ(reinterpret_cast<const uchar*>(pixels->data()), view->lastFrame().constBits());

    const QImage shown = widget->grab().toImage();  // a paint, from the held pixels
    EXPECT_EQ(shown.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(shown.pixel(shown.width() - 1, shown.height() - 1), 0xFF0000FFu);

    const std::uint32_t passing = 0x00ABCDEFu;
    view->present(&passing, 1, 1, 1);
    EXPECT_EQ(1, pixels.use_count()) << "the next present lets it go";
    EXPECT_EQ(view->lastFrame().pixel(0, 0), 0xFFABCDEFu);
}

// What the window shows of a widget: its area of the top-level window's surface.
QImage shownInWindow(QWidget* widget) {
    QWidget* top = widget->window();
    const QPoint at = widget->mapTo(top, QPoint(0, 0));
    return top->screen()
        ->grabWindow(top->winId(), at.x(), at.y(), widget->width(), widget->height())
        .toImage();
}

TEST_F(LayerTest, PresentDrawsStraightIntoTheWindowStretchedWithoutAPaint) {
    auto* view = platform::mfc::WindowHost::fromHandle(frame().m_view.m_hWnd);
    QWidget* widget = platform::mfc::widgetOf(&frame().m_view);
    host.pump();
    widget->resize(7, 5);  // odd sizes: a 2x2 frame's pixels cover unequal shares
    host.pump();
    const int paintsBefore = frame().m_view.paints;

    // Each frame's quadrants in turn: top left, top right, bottom left, bottom right. The
    // second frame can only reach the window by the direct path, no paint comes between.
    const std::uint32_t frames[2][4] = {{0xFF0000u, 0x00FF00u, 0x0000FFu, 0xFFFFFFu},
                                        {0x102030u, 0x405060u, 0x708090u, 0xA0B0C0u}};
    for (const auto& quadrants : frames) {
        view->present(quadrants, 2, 2, 2);
        const QImage shown = shownInWindow(widget);
        ASSERT_EQ(shown.size(), QSize(7, 5));
        // Nearest at pixel centres: columns 0-2 and rows 0-1 take the first source pixel.
        const QPoint corners[] = {{0, 0}, {2, 1}, {3, 0}, {6, 1}, {0, 2}, {2, 4}, {3, 2}, {6, 4}};
        for (int i = 0; i < 8; ++i) {
            const QPoint p = corners[i];
            EXPECT_EQ(shown.pixel(p), 0xFF000000u | quadrants[i / 2])
                << p.x() << "," << p.y();
        }
    }
    EXPECT_EQ(frame().m_view.paints, paintsBefore);
    EXPECT_EQ(view->presentCount(), 2);
    EXPECT_EQ(0u, view->presentingProcessors()) << "offscreen, no other process copies frames";
}

TEST_F(LayerTest, PresentOnAHiddenWindowKeepsTheFrameAndShowsNothing) {
    auto* view = platform::mfc::WindowHost::fromHandle(frame().m_view.m_hWnd);
    QWidget* widget = platform::mfc::widgetOf(&frame().m_view);
    host.pump();
    frame().ShowWindow(SW_HIDE);
    host.pump();
    ASSERT_FALSE(widget->isVisible());
    const int paintsBefore = frame().m_view.paints;
    const std::uint32_t pixel = 0x00ABCDEFu;
    view->present(&pixel, 1, 1, 1);
    EXPECT_EQ(view->presentCount(), 1);
    EXPECT_EQ(view->lastFrame().pixel(0, 0), 0xFFABCDEFu);
    EXPECT_EQ(frame().m_view.paints, paintsBefore);
}

TEST(WindowClassTest, SameArgumentsGiveTheSameClass) {
    const LPCSTR a = AfxRegisterWndClass(CS_DBLCLKS, nullptr, nullptr, nullptr);
    EXPECT_EQ(AfxRegisterWndClass(CS_DBLCLKS, nullptr, nullptr, nullptr), a);
    EXPECT_NE(AfxRegisterWndClass(0, nullptr, nullptr, nullptr), a);
    EXPECT_NE(AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr),
              a);
}

TEST(RuntimeClassTest, DynamicClassesNameTheirBaseAndSchema) {
    const CRuntimeClass* runtime = RUNTIME_CLASS(LayerFrame);
    EXPECT_STREQ(runtime->m_lpszClassName, "LayerFrame");
    EXPECT_EQ(runtime->m_wSchema, 0xFFFFu);
    EXPECT_EQ(runtime->m_nObjectSize, static_cast<int>(sizeof(LayerFrame)));
    EXPECT_EQ(runtime->m_pBaseClass, RUNTIME_CLASS(CFrameWnd));
    EXPECT_TRUE(runtime->IsDerivedFrom(RUNTIME_CLASS(CWnd)));
    EXPECT_FALSE(RUNTIME_CLASS(CWnd)->IsDerivedFrom(runtime));

    LayerFrame frame;
    EXPECT_EQ(frame.GetRuntimeClass(), runtime);
    EXPECT_TRUE(frame.IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    frame.AssertValid();
    std::string dumped;
    CDumpContext dc(&dumped);
    frame.Dump(dc);
    EXPECT_EQ(dumped.rfind("a LayerFrame at ", 0), 0u) << dumped;
}

TEST(TraceTest, FormatsIntoTheSink) {
    std::string traced;
    platform::mfc::setTraceSink([&](std::string_view text) { traced += text; });
    AfxTrace("%s", "Failed to create view window\n");
    AfxTrace("%d-%s", 7, "x");
    platform::mfc::setTraceSink({});
    EXPECT_EQ(traced, "Failed to create view window\n7-x");
}

TEST_F(LayerTest, KeysOfTheWindowsFeedTheKeyState) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int down;
        int notDown;
    };
    const Case cases[] = {
        {Qt::Key_1, Qt::NoModifier, '1', VK_NUMPAD1},
        {Qt::Key_1, Qt::KeypadModifier, VK_NUMPAD1, '1'},
        {Qt::Key_W, Qt::NoModifier, 'W', 'S'},
        {Qt::Key_Exclam, Qt::ShiftModifier, '1', VK_NUMPAD1},  // Shift+1 is still key 1
    };
    QWidget* view = platform::mfc::widgetOf(&frame().m_view);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.down);
        platform::win32::resetKeyState();
        QTest::keyPress(view, c.key, c.modifiers);
        EXPECT_NE(GetAsyncKeyState(c.down) & 0x8000, 0);
        EXPECT_EQ(GetAsyncKeyState(c.notDown), 0);
        QTest::keyRelease(view, c.key, c.modifiers);
        EXPECT_EQ(GetAsyncKeyState(c.down) & 0x8000, 0);
    }
    platform::win32::resetKeyState();
}

// Without a display that knows the keys, a release made in another program never arrives:
// losing the keyboard releases every key, and a press not yet queried still counts once.
TEST_F(LayerTest, LosingTheKeyboardReleasesTheKeys) {
    platform::win32::resetKeyState();
    QTest::keyPress(platform::mfc::widgetOf(&frame().m_view), Qt::Key_W);
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QCoreApplication::sendEvent(qApp, &deactivate);
    EXPECT_EQ(0x0001, static_cast<uint16_t>(GetAsyncKeyState('W')));
    EXPECT_EQ(0, GetAsyncKeyState('W'));
    platform::win32::resetKeyState();
}

}  // namespace
}  // namespace test
