// ActionCmdUI.h: the command-UI of a menu item or a toolbar button, both Qt actions: enabling
// and checking act on the action itself.
#pragma once

#include <QAction>

#include <afxwin.h>

namespace platform::mfc {

class ActionCmdUI : public CCmdUI {
public:
    explicit ActionCmdUI(QAction& action) : action_(action) {}

    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        action_.setEnabled(bOn != FALSE);
    }
    void SetCheck(int nCheck) override {
        action_.setCheckable(true);
        action_.setChecked(nCheck != 0);
    }

protected:
    QAction& action_;
};

}  // namespace platform::mfc
