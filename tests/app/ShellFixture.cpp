#include "ShellFixture.h"

#include <QMenu>
#include <QMenuBar>

namespace test {
namespace {

QAction* findById(const QList<QAction*>& actions, UINT id) {
    for (QAction* action : actions)
        if (!action->isSeparator() && action->data().toUInt() == id) return action;
    return nullptr;
}

}  // namespace

QMainWindow* ShellTest::window() const {
    return qobject_cast<QMainWindow*>(platform::mfc::widgetOf(&frame()));
}

QToolBar* ShellTest::toolBar() const {
    return qobject_cast<QToolBar*>(platform::mfc::widgetOf(&frame().m_wndToolBar));
}

QAction* ShellTest::menuItem(UINT id) const {
    for (QAction* dropDown : window()->menuBar()->actions())
        if (QAction* item = findById(dropDown->menu()->actions(), id)) return item;
    ADD_FAILURE() << "no menu item for command " << id;
    return nullptr;
}

QAction* ShellTest::toolButton(UINT id) const {
    QAction* button = findById(toolBar()->actions(), id);
    if (!button) ADD_FAILURE() << "no toolbar button for command " << id;
    return button;
}

}  // namespace test
