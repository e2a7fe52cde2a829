// ShellFixture.h: the real program started through the test host, with the frame's widgets
// at hand: the menu's items and the toolbar's buttons by command id.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <QToolBar>

#include <gtest/gtest.h>

#include "MainFrm.h"
#include "Orvek.h"
#include "mfc/TestHost.h"
#include "mfc/WindowHost.h"

namespace test {

class ShellTest : public ::testing::Test {
protected:
    CMainFrame& frame() const { return *static_cast<CMainFrame*>(host.mainWindow()); }
    QMainWindow* window() const;
    QWidget* viewWidget() const { return platform::mfc::widgetOf(&frame().m_wndView); }
    QToolBar* toolBar() const;
    // The menu item or toolbar button of the command; fails the test when there is none.
    QAction* menuItem(UINT id) const;
    QAction* toolButton(UINT id) const;

    platform::mfc::TestHost host;
};

}  // namespace test
