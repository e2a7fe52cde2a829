// Commands of the running frame: those without a handler are disabled everywhere and their
// accelerators do nothing, Escape ends the program at once, and idle time draws frames.
#include <QApplication>
#include <QTest>

#include "PlatformFixtures.h"
#include "ShellFixture.h"
#include "resource.h"

namespace test {
namespace {

TEST_F(ShellTest, CommandsWithoutAHandlerAreDisabledInTheMenuAndTheToolbar) {
    host.idle(1);
    for (const UINT id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE}) {
        SCOPED_TRACE(id);
        ASSERT_NE(menuItem(id), nullptr);
        EXPECT_FALSE(menuItem(id)->isEnabled());
    }
    for (const UINT id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_FILE_PRINT}) {
        SCOPED_TRACE(id);
        ASSERT_NE(toolButton(id), nullptr);
        EXPECT_FALSE(toolButton(id)->isEnabled());
    }
    for (const UINT id : {ID_APP_EXIT, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_APP_ABOUT})
        EXPECT_TRUE(menuItem(id)->isEnabled()) << id;
    EXPECT_TRUE(toolButton(ID_APP_ABOUT)->isEnabled());
}

TEST_F(ShellTest, AcceleratorsOfCommandsWithoutAHandlerDoNothing) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    const Case cases[] = {
        {Qt::Key_Z, Qt::ControlModifier},      {Qt::Key_Backspace, Qt::AltModifier},
        {Qt::Key_X, Qt::ControlModifier},      {Qt::Key_Delete, Qt::ShiftModifier},
        {Qt::Key_C, Qt::ControlModifier},      {Qt::Key_Insert, Qt::ControlModifier},
        {Qt::Key_V, Qt::ControlModifier},      {Qt::Key_Insert, Qt::ShiftModifier},
        {Qt::Key_F6, Qt::NoModifier},          {Qt::Key_F6, Qt::ShiftModifier},
    };
    MessageBoxCapture boxes;
    host.idle(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key | c.modifiers).toString().toStdString());
        QTest::keyClick(viewWidget(), c.key, c.modifiers);
        host.pump();
        ASSERT_NE(host.mainWindow(), nullptr);
        EXPECT_TRUE(frame().IsWindowVisible());
        EXPECT_TRUE(frame().m_wndToolBar.IsWindowVisible());
        EXPECT_TRUE(frame().m_wndStatusBar.IsWindowVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ShellTest, EscapeClosesTheFrameWithoutAQuestion) {
    MessageBoxCapture boxes;
    host.idle(1);
    QTest::keyClick(viewWidget(), Qt::Key_Escape);
    EXPECT_EQ(host.mainWindow(), nullptr);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(host.idle(3), 0);  // the loop has ended: no frame after the frame window
}

TEST_F(ShellTest, ExitFromTheFileMenuClosesTheFrame) {
    host.idle(1);
    menuItem(ID_APP_EXIT)->trigger();
    EXPECT_EQ(host.mainWindow(), nullptr);
}

TEST_F(ShellTest, EachIdlePassDrawsOneFrameIntoTheView) {
    ASSERT_NE(frame().m_wndView.m_pd3dDevice, nullptr);
    const auto* view = platform::mfc::WindowHost::fromHandle(frame().m_wndView.m_hWnd);
    const int before = view->presentCount();
    EXPECT_EQ(host.idle(3), 3);  // the program always asks for more idle time
    EXPECT_EQ(view->presentCount(), before + 3);
    const QImage& picture = view->lastFrame();
    ASSERT_FALSE(picture.isNull());
    // The back buffer has the view's client size from the moment the device was made.
    EXPECT_EQ(picture.size(), viewWidget()->size());
}

}  // namespace
}  // namespace test
