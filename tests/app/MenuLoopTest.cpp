// An open menu: a modal loop with no frames and no polls, whose highlighted item, disabled or
// not, shows its prompt however the menu was opened.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "ShellFixture.h"
#include "resource.h"

namespace test {
namespace {

class MenuLoopTest : public ShellTest {
protected:
    QMenu* dropDown(int index) const {
        return window()->menuBar()->actions().at(index)->menu();
    }
    std::string prompt() const { return frame().m_wndStatusBar.GetPaneText(0); }
    int presents() const {
        return platform::mfc::WindowHost::fromHandle(frame().m_wndView.m_hWnd)->presentCount();
    }
};

TEST_F(MenuLoopTest, NoFrameIsDrawnWhileAMenuIsOpen) {
    host.pump();
    ASSERT_EQ(host.idle(1), 1);
    const int before = presents();
    QMenu* file = dropDown(0);
    file->popup(window()->mapToGlobal(QPoint(10, 10)));
    host.pump();
    ASSERT_TRUE(file->isVisible());
    EXPECT_EQ(host.idle(3), 0);
    EXPECT_EQ(presents(), before);
    file->hide();
    host.pump();
    EXPECT_EQ(host.idle(2), 2);
    EXPECT_EQ(presents(), before + 2);
}

TEST_F(MenuLoopTest, DisabledEditItemsHighlightUnderTheMouseAndShowTheirPrompts) {
    struct Case {
        UINT command;
        const char* prompt;
    };
    const Case cases[] = {
        {ID_EDIT_UNDO, "마지막으로 한 동작을 취소합니다"},
        {ID_EDIT_CUT, "선택 부분을 잘라내어 클립보드에 넣습니다"},
        {ID_EDIT_COPY, "선택 부분을 복사하여 클립보드에 넣습니다"},
        {ID_EDIT_PASTE, "클립보드의 내용을 붙여 넣습니다"},
    };
    QMenu* edit = dropDown(1);
    edit->popup(window()->mapToGlobal(QPoint(10, 10)));
    host.pump();
    ASSERT_TRUE(edit->isVisible());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        QAction* item = menuItem(c.command);
        ASSERT_NE(item, nullptr);
        EXPECT_FALSE(item->isEnabled());
        QTest::mouseMove(edit, edit->actionGeometry(item).center());
        host.pump();
        EXPECT_EQ(edit->activeAction(), item);
        EXPECT_EQ(prompt(), c.prompt);
        const QRect place = edit->actionGeometry(item);
        EXPECT_EQ(edit->grab().toImage().pixelColor(place.left() + 3, place.center().y()),
                  edit->palette().color(QPalette::Active, QPalette::Highlight));
    }
    edit->hide();
    host.pump();
    EXPECT_EQ(prompt(), "준비");
}

// The pointer resting on a toolbar button leaves the toolbar as the menu opens over the frame:
// the menu's own prompt must stay.
TEST_F(MenuLoopTest, AMenuOpenedFromTheKeyboardShowsItsFirstItemsPrompt) {
    window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    QWidget* about = toolBar()->widgetForAction(toolButton(ID_APP_ABOUT));
    ASSERT_NE(about, nullptr);
    QTest::mouseMove(about, about->rect().center());
    host.pump();
    QTest::keyClick(window(), Qt::Key_V, Qt::AltModifier);
    host.pump();
    QMenu* view = dropDown(2);
    ASSERT_TRUE(view->isVisible());
    EXPECT_EQ(view->activeAction(), menuItem(ID_VIEW_TOOLBAR));
    EXPECT_EQ(prompt(), "도구 모음을 보이거나 감춥니다");
    view->hide();
    host.pump();
}

}  // namespace
}  // namespace test
