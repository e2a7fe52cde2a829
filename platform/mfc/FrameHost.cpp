#include "mfc/FrameHost.h"

#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>
#include <QShortcut>

#include "mfc/ActionCmdUI.h"
#include "mfc/IdleLoop.h"
#include "mfc/MoveSizeWatch.h"
#include "mfc/Resources.h"
#include "mfc/VirtualKeys.h"

namespace platform::mfc {
namespace {

constexpr WORD kFromMenu = 0;
constexpr WORD kFromAccelerator = 1;

// A menu item's text can change too.
class MenuItemCmdUI final : public ActionCmdUI {
public:
    using ActionCmdUI::ActionCmdUI;
    void SetText(LPCSTR lpszText) override { action_.setText(QString::fromUtf8(lpszText)); }
};

QKeySequence sequenceOf(const AcceleratorResource& entry) {
    const int key = qtKeyOf(entry.key);
    if (key == 0) return {};
    int modifiers = 0;
    if (entry.fVirt & FSHIFT) modifiers |= Qt::ShiftModifier;
    if (entry.fVirt & FCONTROL) modifiers |= Qt::ControlModifier;
    if (entry.fVirt & FALT) modifiers |= Qt::AltModifier;
    return QKeySequence(key | modifiers);
}

// Disabled items highlight under the mouse and the keyboard too, so their prompts show; their
// text stays grey on the highlight.
class MenuStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_Menu_AllowActiveAndDisabled) return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        const bool disabledHighlight = element == CE_MenuItem && item &&
                                       (item->state & State_Selected) &&
                                       !(item->state & State_Enabled);
        if (!disabledHighlight) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        painter->fillRect(item->rect, item->palette.brush(QPalette::Active, QPalette::Highlight));
        QStyleOptionMenuItem plain = *item;
        plain.state &= ~State_Selected;
        QProxyStyle::drawControl(element, &plain, painter, widget);
    }
};

}  // namespace

FrameHost::FrameHost(CFrameWnd& frame, QMainWindow* window)
    : WindowHost(frame, window), menuStyle_(new MenuStyle) {
    menuStyle_->setParent(window);  // a widget's style is not its own; the window keeps it
    watchWindowManagerDrags(*window);
}

// The widget goes first, while the members its menus' signals reach are still here.
FrameHost::~FrameHost() { releaseWidget(); }

QMainWindow* FrameHost::window() const noexcept { return qobject_cast<QMainWindow*>(widget()); }

CFrameWnd* FrameHost::frame() const noexcept { return static_cast<CFrameWnd*>(owner()); }

void FrameHost::sendCommand(UINT id, WORD code) {
    if (CFrameWnd* f = frame()) f->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), code));
}

void FrameHost::loadMenu(UINT id) {
    const MenuResource* menu = findMenu(id);
    QMainWindow* mainWindow = window();
    if (!menu || !mainWindow) return;
    for (const PopupMenuResource& popup : menu->popups) {
        QMenu* dropDown = mainWindow->menuBar()->addMenu(toQString(popup.text));
        dropDown->setStyle(menuStyle_);
        // An open menu is a modal loop: no idle time, so no frame and no poll, until it closes.
        QObject::connect(dropDown, &QMenu::aboutToShow, receiver(), [this] {
            if (!menuLoop_) menuLoop_ = std::make_unique<ModalScope>();
            updateMenu();
        });
        QObject::connect(dropDown, &QMenu::aboutToHide, receiver(), [this] {
            menuLoop_.reset();
            if (CFrameWnd* f = frame()) f->SetMessageText(AFX_IDS_IDLEMESSAGE);
        });
        for (const MenuItemResource& item : popup.items) {
            if (item.id == 0 && item.text.empty()) {
                dropDown->addSeparator();
                continue;
            }
            // "\t" in an item's text starts its shortcut text, as QMenu shows it too.
            QAction* action = dropDown->addAction(toQString(item.text));
            const UINT command = item.id;
            action->setData(command);
            QObject::connect(action, &QAction::triggered, receiver(),
                             [this, command] { sendCommand(command, kFromMenu); });
            QObject::connect(action, &QAction::hovered, receiver(), [this, command] {
                if (CFrameWnd* f = frame()) f->SetMessageText(command);
            });
            menuItems_.push_back({action, command});
        }
    }
}

void FrameHost::loadAccelerators(UINT id) {
    const AcceleratorTableResource* table = findAccelerators(id);
    QMainWindow* mainWindow = window();
    if (!table || !mainWindow) return;
    for (const AcceleratorResource& entry : table->entries) {
        const QKeySequence sequence = sequenceOf(entry);
        if (sequence.isEmpty()) continue;
        auto* shortcut = new QShortcut(sequence, mainWindow);
        shortcut->setContext(Qt::WindowShortcut);
        const UINT command = entry.cmd;
        QObject::connect(shortcut, &QShortcut::activated, receiver(),
                         [this, command] { sendCommand(command, kFromAccelerator); });
    }
}

void FrameHost::updateMenu() {
    CFrameWnd* f = frame();
    if (!f) return;
    for (const MenuItem& item : menuItems_) {
        if (!item.action) continue;
        MenuItemCmdUI state(*item.action);
        state.m_nID = item.id;
        state.DoUpdate(f, TRUE);
    }
}

}  // namespace platform::mfc
