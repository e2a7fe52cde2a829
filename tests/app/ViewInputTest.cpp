// Mouse buttons on the view: a press picks or starts a drag; the second press of a double
// click arrives as a double-click message, which the view does not handle.
#include <QApplication>
#include <QMouseEvent>

#include "ShellFixture.h"

namespace test {
namespace {

void sendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, QPoint at) {
    const bool down = type != QEvent::MouseButtonRelease;
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button,
                      down ? button : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

TEST_F(ShellTest, SecondPressOfALeftDoubleClickDoesNotPick) {
    host.idle(1);
    sendMouse(viewWidget(), QEvent::MouseButtonPress, Qt::LeftButton, QPoint(40, 30));
    sendMouse(viewWidget(), QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(40, 30));
    EXPECT_EQ(frame().m_wndView.m_ptClick, CPoint(40, 30));
    sendMouse(viewWidget(), QEvent::MouseButtonDblClick, Qt::LeftButton, QPoint(90, 70));
    sendMouse(viewWidget(), QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(90, 70));
    EXPECT_EQ(frame().m_wndView.m_ptClick, CPoint(40, 30));
}

TEST_F(ShellTest, SecondPressOfARightDoubleClickStartsNoDrag) {
    sendMouse(viewWidget(), QEvent::MouseButtonPress, Qt::RightButton, QPoint(40, 30));
    EXPECT_EQ(frame().m_wndView.m_nMouseState, 2);
    sendMouse(viewWidget(), QEvent::MouseButtonRelease, Qt::RightButton, QPoint(40, 30));
    EXPECT_EQ(frame().m_wndView.m_nMouseState, 0);
    sendMouse(viewWidget(), QEvent::MouseButtonDblClick, Qt::RightButton, QPoint(40, 30));
    EXPECT_EQ(frame().m_wndView.m_nMouseState, 0);
}

}  // namespace
}  // namespace test
