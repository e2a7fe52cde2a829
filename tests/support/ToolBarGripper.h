// ToolBarGripper.h: where a toolbar's gripper is, the spot a user presses to drag the bar.
#pragma once

#include <QPoint>
#include <QStyle>
#include <QStyleOption>
#include <QToolBar>

namespace test {

// The middle of the gripper, in the toolbar's own coordinates.
inline QPoint gripperOf(const QToolBar& toolBar) {
    QStyleOptionToolBar handle;
    handle.initFrom(&toolBar);
    if (toolBar.orientation() == Qt::Horizontal) handle.state |= QStyle::State_Horizontal;
    handle.features = QStyleOptionToolBar::Movable;
    return toolBar.style()->subElementRect(QStyle::SE_ToolBarHandle, &handle, &toolBar).center();
}

}  // namespace test
