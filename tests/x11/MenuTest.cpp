// Menus opened with real keys and the mouse: while one is open no frame is drawn and no poll
// is made, keys typed into it included, and the first frame after it reads the keys afresh; its
// highlighted item, disabled or not, shows its
// prompt, also when the pointer rests on the toolbar as the menu opens.
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <X11/keysym.h>

#include "X11AppTest.h"
#include "mfc/WindowHost.h"
#include "resource.h"

namespace test::x11 {
namespace {

class MenuTest : public X11AppTest {
protected:
    QMenu* dropDown(int index) const {
        const auto* window = qobject_cast<QMainWindow*>(frameWidget());
        return window->menuBar()->actions().at(index)->menu();
    }
    QAction* item(QMenu* menu, UINT command) const {
        for (QAction* action : menu->actions())
            if (action->data().toUInt() == command) return action;
        return nullptr;
    }
    // Opens the drop-down with Alt and its mnemonic, as a user would.
    bool openWithKeys(KeySym mnemonic, QMenu* menu) {
        x().press(XK_Alt_L);
        x().tap(mnemonic);
        x().release(XK_Alt_L);
        return waitFor([&] { return menu->isVisible(); });
    }
    bool closeWithEscape(QMenu* menu) {
        x().tap(XK_Escape);
        return waitFor([&] { return !menu->isVisible(); });
    }
    void pointAt(QPoint global) {
        x().moveTo(global.x(), global.y());
        settle();
    }
    std::string prompt() const { return frame().m_wndStatusBar.GetPaneText(0); }
    int presents() const {
        return platform::mfc::WindowHost::fromHandle(view().m_hWnd)->presentCount();
    }
};

TEST_F(MenuTest, NoFrameAndNoPollWhileAMenuIsOpen) {
    QMenu* viewMenu = dropDown(2);
    ASSERT_TRUE(openWithKeys(XK_v, viewMenu));
    const int before = presents();
    const D3DXVECTOR3 start = player().m_vPos;
    x().press(XK_w);  // into the menu, where it does nothing
    settle();
    step(4);
    EXPECT_EQ(before, presents());
    EXPECT_EQ(start, player().m_vPos);
    x().release(XK_w);
    ASSERT_TRUE(closeWithEscape(viewMenu));
    ASSERT_NE(nullptr, host().mainWindow()) << "the Escape that closed the menu quit nothing";
    step(3);
    EXPECT_EQ(before + 3, presents());
}

// Each frame reads the key map asked for as the frame before started: after the menu, that
// answer holds the keys as they were before it opened.
TEST_F(MenuTest, AKeyReleasedWhileAMenuIsOpenIsUpInTheFirstFrameAfter) {
    x().press(XK_w);
    settle();
    step(3);
    ASSERT_NE(0, GetAsyncKeyState('W'));
    QMenu* viewMenu = dropDown(2);
    ASSERT_TRUE(openWithKeys(XK_v, viewMenu));
    x().release(XK_w);
    ASSERT_TRUE(closeWithEscape(viewMenu));
    settle();
    step(1);
    EXPECT_EQ(0, GetAsyncKeyState('W') & 0x8000);
}

TEST_F(MenuTest, AMenuOpenedFromTheKeyboardOverTheToolbarShowsItsFirstItemsPrompt) {
    auto* toolBar = qobject_cast<QToolBar*>(platform::mfc::widgetOf(&frame().m_wndToolBar));
    const QWidget* about = toolBar->widgetForAction(toolBar->actions().last());
    pointAt(about->mapToGlobal(about->rect().center()));
    ASSERT_TRUE(waitFor([&] { return prompt() == "프로그램 정보와 버전 정보, 저작권 정보를 표시합니다"; }));
    QMenu* viewMenu = dropDown(2);
    ASSERT_TRUE(openWithKeys(XK_v, viewMenu));
    settle();
    EXPECT_EQ(item(viewMenu, ID_VIEW_TOOLBAR), viewMenu->activeAction());
    EXPECT_EQ("도구 모음을 보이거나 감춥니다", prompt());
    ASSERT_TRUE(closeWithEscape(viewMenu));
    EXPECT_EQ("준비", prompt());
}

// Their texts are pinned where the menu is tested offscreen; here the real pointer moves.
TEST_F(MenuTest, DisabledEditItemsHighlightUnderThePointerWithTheirPrompts) {
    QMenu* edit = dropDown(1);
    ASSERT_TRUE(openWithKeys(XK_e, edit));
    int disabled = 0;
    for (QAction* action : edit->actions()) {
        if (action->isSeparator()) continue;
        const UINT command = action->data().toUInt();
        SCOPED_TRACE(command);
        EXPECT_FALSE(action->isEnabled());
        ++disabled;
        pointAt(edit->mapToGlobal(edit->actionGeometry(action).center()));
        EXPECT_TRUE(waitFor([&] { return edit->activeAction() == action; }));
        EXPECT_EQ(CFrameWnd::GetMessageString(command), prompt());
    }
    EXPECT_EQ(4, disabled);
    ASSERT_TRUE(closeWithEscape(edit));
}

}  // namespace
}  // namespace test::x11
