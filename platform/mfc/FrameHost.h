// FrameHost.h: a frame window's widget, a QMainWindow: the pane in the middle, the bars docked
// around it, the menu bar from the menu resource and the accelerators as window shortcuts.
// Menu items and accelerators send WM_COMMAND to the frame (code 0 and 1). An open drop-down
// is a modal loop; its items, disabled ones too, show their prompts while highlighted.
#pragma once

#include <memory>
#include <vector>

#include <QAction>
#include <QMainWindow>
#include <QPointer>
#include <QStyle>

#include "mfc/WindowHost.h"

namespace platform::mfc {

class ModalScope;

class FrameHost final : public WindowHost {
public:
    FrameHost(CFrameWnd& frame, QMainWindow* window);
    ~FrameHost() override;

    QMainWindow* window() const noexcept;

    void loadMenu(UINT id);
    void loadAccelerators(UINT id);
    // The command-UI update of every menu item, as the frame's routing decides it.
    void updateMenu();

private:
    CFrameWnd* frame() const noexcept;
    void sendCommand(UINT id, WORD code);

    struct MenuItem {
        QPointer<QAction> action;
        UINT id;
    };
    std::vector<MenuItem> menuItems_;
    QPointer<QStyle> menuStyle_;            // the drop-downs' style; the window owns it
    std::unique_ptr<ModalScope> menuLoop_;  // while a drop-down is open
};

}  // namespace platform::mfc
