// Windows: double clicks as the window class asks, presented frames painted stretched with
// WM_PAINT after them, window classes, run-time classes and diagnostics, the key feed.
#include <QApplication>
#include <QMouseEvent>
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

TEST_F(LayerTest, PresentedFrameIsKeptAndPaintedStretchedThenPaintReachesTheMap) {
    auto* view = platform::mfc::WindowHost::fromHandle(frame().m_view.m_hWnd);
    QWidget* widget = platform::mfc::widgetOf(&frame().m_view);
    host.pump();
    ASSERT_GT(widget->width(), 4);
    // Two rows of red then blue, a pitch of three; the top byte of X8R8G8B8 is undefined.
    const std::uint32_t pixels[] = {0x00FF0000u, 0x120000FFu, 0xDEADu,
                                    0x00FF0000u, 0x340000FFu, 0xBEEFu};
    const int paintsBefore = frame().m_view.paints;
    view->present(pixels, 2, 2, 3);
    EXPECT_EQ(view->presentCount(), 1);
    EXPECT_EQ(view->lastFrame().pixel(1, 1), 0xFF0000FFu);
    EXPECT_GT(frame().m_view.paints, paintsBefore);

    const QImage shown = widget->grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(shown.pixel(shown.width() - 1, shown.height() - 1), 0xFF0000FFu);
    EXPECT_EQ(view->clientSize().cx, widget->width());
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

}  // namespace
}  // namespace test
