// The frame as it opens: title and name, the menu, the view filling what the bars leave, the
// View menu's toggles, tooltips and prompts, the lock indicators and the focus.
#include <string>
#include <vector>

#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QWindow>

#include "ShellFixture.h"
#include "ToolBarGripper.h"
#include "resource.h"

namespace test {
namespace {

TEST_F(ShellTest, OpensWithTheTitleAndTheApplicationsName) {
    ASSERT_TRUE(host.started());
    EXPECT_EQ(frame().GetWindowText(), "FSM test_Orvek");
    EXPECT_STREQ(theApp.m_pszAppName, "Orvek");
    EXPECT_STREQ(theApp.m_pszRegistryKey, "Local AppWizard-Generated Applications");
    EXPECT_TRUE(frame().IsWindowVisible());
}

TEST_F(ShellTest, MenuCarriesTheDropDownsAndCommandsInOrder) {
    struct Item {
        std::string text;  // empty for a separator
        UINT id;
    };
    struct DropDown {
        std::string text;
        std::vector<Item> items;
    };
    const std::vector<DropDown> expected = {
        {"파일(&F)", {{"종료(&X)", ID_APP_EXIT}}},
        {"편집(&E)",
         {{"취소(&U)\tCtrl+Z", ID_EDIT_UNDO},
          {"", 0},
          {"잘라내기(&T)\tCtrl+X", ID_EDIT_CUT},
          {"복사(&C)\tCtrl+C", ID_EDIT_COPY},
          {"붙여넣기(&P)\tCtrl+V", ID_EDIT_PASTE}}},
        {"보기(&V)", {{"도구 모음(&T)", ID_VIEW_TOOLBAR}, {"상태 표시줄(&S)", ID_VIEW_STATUS_BAR}}},
        {"도움말(&H)", {{"Orvek 정보(&A)...", ID_APP_ABOUT}}},
    };
    const QList<QAction*> dropDowns = window()->menuBar()->actions();
    ASSERT_EQ(dropDowns.size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t d = 0; d < expected.size(); ++d) {
        EXPECT_EQ(dropDowns[d]->text().toStdString(), expected[d].text);
        const QList<QAction*> items = dropDowns[d]->menu()->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(expected[d].items.size()));
        for (std::size_t i = 0; i < expected[d].items.size(); ++i) {
            const Item& want = expected[d].items[i];
            SCOPED_TRACE(want.text);
            EXPECT_EQ(items[i]->isSeparator(), want.text.empty());
            if (want.text.empty()) continue;
            EXPECT_EQ(items[i]->text().toStdString(), want.text);
            EXPECT_EQ(items[i]->data().toUInt(), want.id);
        }
    }
}

TEST_F(ShellTest, ViewFillsTheAreaBetweenTheBars) {
    host.pump();
    const QWidget* central = window()->centralWidget();
    ASSERT_EQ(central, viewWidget());
    EXPECT_GT(central->width(), 0);
    EXPECT_GT(central->height(), 0);
    // The view's stored size is its client size, from WM_SIZE.
    EXPECT_EQ(frame().m_wndView.m_nWidth, central->width());
    EXPECT_EQ(frame().m_wndView.m_nHeight, central->height());
    EXPECT_EQ(toolBar()->geometry().bottom() < central->geometry().top(), true);
    EXPECT_LT(central->geometry().bottom(), window()->statusBar()->geometry().top());
}

TEST_F(ShellTest, ResizingTheFrameStoresTheViewsNewClientSize) {
    host.pump();
    const QSize before = viewWidget()->size();
    window()->resize(window()->width() - 100, window()->height() - 60);
    host.pump();
    EXPECT_EQ(viewWidget()->size(), before - QSize(100, 60));
    EXPECT_EQ(frame().m_wndView.m_nWidth, viewWidget()->width());
    EXPECT_EQ(frame().m_wndView.m_nHeight, viewWidget()->height());
}

TEST_F(ShellTest, ToolbarStartsAtTheTopAndDocksOnAnySideOrFloats) {
    host.pump();
    EXPECT_EQ(window()->toolBarArea(toolBar()), Qt::TopToolBarArea);
    EXPECT_TRUE(toolBar()->isMovable());
    EXPECT_TRUE(toolBar()->isFloatable());
    EXPECT_EQ(toolBar()->allowedAreas(), Qt::AllToolBarAreas);
    const int width = viewWidget()->width();
    window()->addToolBar(Qt::LeftToolBarArea, toolBar());  // where a drag to the left docks it
    host.pump();
    EXPECT_EQ(window()->toolBarArea(toolBar()), Qt::LeftToolBarArea);
    EXPECT_LT(viewWidget()->width(), width);
    EXPECT_EQ(frame().m_wndView.m_nWidth, viewWidget()->width());
}

// Pressed on the gripper and carried into the view, the toolbar floats in a window of its
// own; the frame's accelerators still work while that window is the active one.
TEST_F(ShellTest, DraggingTheGripperFloatsTheToolbarAndKeepsTheAccelerators) {
    window()->activateWindow();
    host.pump();
    // Through the window, as the display server delivers them, so the press grabs the mouse.
    QWindow* frameWindow = window()->windowHandle();
    const QPoint gripper = toolBar()->mapTo(window(), gripperOf(*toolBar()));
    QTest::mousePress(frameWindow, Qt::LeftButton, Qt::NoModifier, gripper);
    for (int step = 1; step <= 10; ++step)
        QTest::mouseMove(frameWindow, gripper + QPoint(30 * step, 20 * step));
    QTest::mouseRelease(frameWindow, Qt::LeftButton, Qt::NoModifier, gripper + QPoint(300, 200));
    host.pump();
    ASSERT_TRUE(toolBar()->isFloating());
    EXPECT_TRUE(toolBar()->isWindow());
    toolBar()->activateWindow();
    host.pump();
    ASSERT_TRUE(QTest::qWaitForWindowActive(toolBar()));
    QTest::keyClick(toolBar(), Qt::Key_Escape);
    EXPECT_EQ(host.mainWindow(), nullptr);
}

TEST_F(ShellTest, ViewMenuTogglesEachBarWithItsCheckMark) {
    struct Case {
        UINT command;
        CControlBar* bar;
    };
    const Case cases[] = {{ID_VIEW_TOOLBAR, &frame().m_wndToolBar},
                          {ID_VIEW_STATUS_BAR, &frame().m_wndStatusBar}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        host.pump();
        host.idle(1);
        QAction* item = menuItem(c.command);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->isChecked());
        const int viewHeight = viewWidget()->height();

        item->trigger();
        host.pump();
        host.idle(1);
        EXPECT_FALSE(c.bar->IsWindowVisible());
        EXPECT_FALSE(item->isChecked());
        EXPECT_GT(viewWidget()->height(), viewHeight);  // the view took the bar's place
        EXPECT_EQ(frame().m_wndView.m_nHeight, viewWidget()->height());

        item->trigger();
        host.pump();
        host.idle(1);
        EXPECT_TRUE(c.bar->IsWindowVisible());
        EXPECT_TRUE(item->isChecked());
        EXPECT_EQ(viewWidget()->height(), viewHeight);
    }
}

TEST_F(ShellTest, ButtonsShowTooltipsAndPromptsFromTheStringTable) {
    struct Case {
        UINT command;
        const char* tooltip;
        const char* prompt;
    };
    const Case cases[] = {
        {ID_EDIT_CUT, "잘라내기", "선택 부분을 잘라내어 클립보드에 넣습니다"},
        {ID_EDIT_COPY, "복사", "선택 부분을 복사하여 클립보드에 넣습니다"},
        {ID_EDIT_PASTE, "붙여넣기", "클립보드의 내용을 붙여 넣습니다"},
        {ID_FILE_PRINT, "", ""},  // no string: neither tooltip nor prompt
        {ID_APP_ABOUT, "정보", "프로그램 정보와 버전 정보, 저작권 정보를 표시합니다"},
    };
    EXPECT_EQ(frame().m_wndStatusBar.GetPaneText(0), "준비");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        QAction* button = toolButton(c.command);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolTip().toStdString(), c.tooltip);
        button->hover();
        EXPECT_EQ(frame().m_wndStatusBar.GetPaneText(0), c.prompt);
    }
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(toolBar(), &leave);
    EXPECT_EQ(frame().m_wndStatusBar.GetPaneText(0), "준비");
}

TEST_F(ShellTest, MenuItemsShowTheirPromptWhileHighlighted) {
    QAction* exit = menuItem(ID_APP_EXIT);
    ASSERT_NE(exit, nullptr);
    exit->hover();
    EXPECT_EQ(frame().m_wndStatusBar.GetPaneText(0),
              "응용 프로그램을 종료하기 위해 문서를 저장할 것인지 묻습니다");
}

TEST_F(ShellTest, LockIndicatorsShowTheirTextWhileTheLockIsOn) {
    struct Case {
        Qt::Key key;
        int pane;
        const char* text;
    };
    const Case cases[] = {{Qt::Key_CapsLock, 1, "CAP"},
                          {Qt::Key_NumLock, 2, "NUM"},
                          {Qt::Key_ScrollLock, 3, "SCRL"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        host.idle(1);
        EXPECT_EQ(frame().m_wndStatusBar.GetPaneText(c.pane), "");
        QTest::keyClick(viewWidget(), c.key);
        host.idle(1);
        EXPECT_EQ(frame().m_wndStatusBar.GetPaneText(c.pane), c.text);
        QTest::keyClick(viewWidget(), c.key);
        host.idle(1);
        EXPECT_EQ(frame().m_wndStatusBar.GetPaneText(c.pane), "");
    }
}

TEST_F(ShellTest, FrameHandsItsFocusToTheView) {
    frame().m_wndToolBar.SetFocus();
    frame().SendMessage(WM_SETFOCUS);
    EXPECT_EQ(window()->focusWidget(), viewWidget());

    // Activating the frame again gives it the focus, which goes on to the view.
    frame().m_wndStatusBar.SetFocus();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(window(), &activate);
    EXPECT_EQ(window()->focusWidget(), viewWidget());
}

}  // namespace
}  // namespace test
