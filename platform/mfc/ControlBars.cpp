// The control bars: CToolBar on a QToolBar, CStatusBar on a QStatusBar. Their items follow
// the frame's command-UI updates; hovering a button shows its prompt in the message pane.
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QStatusBar>
#include <QToolBar>

#include <afxext.h>

#include "mfc/ActionCmdUI.h"
#include "mfc/Resources.h"
#include "mfc/WindowHost.h"

using platform::mfc::WindowHost;

namespace {

constexpr WORD kButtonClicked = 0;

// A bar's style keeps the control-bar bits; CBRS_GRIPPER shares its bit with a window style.
constexpr DWORD kBarStyleBits = 0x0000FFFF | CBRS_GRIPPER;

class PaneCmdUI final : public CCmdUI {
public:
    explicit PaneCmdUI(CStatusBar& bar) : bar_(bar) {}
    // An indicator shows its string while enabled and is blank otherwise.
    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        const std::string text = bOn ? platform::mfc::loadString(m_nID) : std::string();
        bar_.SetPaneText(static_cast<int>(m_nIndex), text.c_str());
    }
    void SetText(LPCSTR lpszText) override {
        bar_.SetPaneText(static_cast<int>(m_nIndex), lpszText);
    }

private:
    CStatusBar& bar_;
};

// Leaving the toolbar puts the idle text back in the message pane; not when a menu opening
// over it takes the pointer, the menu shows its own prompts then.
// The bar is found through its widget: the widget may outlive the bar by a moment.
class LeaveWatcher final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Leave || !watched->isWidgetType()) return false;
        if (QApplication::activePopupWidget()) return false;
        const WindowHost* host = WindowHost::fromWidget(static_cast<QWidget*>(watched));
        CWnd* bar = host ? host->owner() : nullptr;
        if (auto* frame = bar ? dynamic_cast<CFrameWnd*>(bar->GetParent()) : nullptr)
            frame->SetMessageText(AFX_IDS_IDLEMESSAGE);
        return false;
    }
};

QString paneName(int index) { return QStringLiteral("pane%1").arg(index); }

// A toolbar bitmap is drawn in the classic button colours; each becomes the colour the
// buttons have now, so the images sit on the bar's own face and keep its edges.
void toButtonColours(QImage& images, const QPalette& palette) {
    const struct {
        QRgb classic;
        QPalette::ColorRole role;
    } kStandardColours[] = {
        {0xFF000000, QPalette::ButtonText},  // black: the button's text
        {0xFF808080, QPalette::Dark},        // dark grey: its shadow
        {0xFFC0C0C0, QPalette::Button},      // light grey: its face
        {0xFFFFFFFF, QPalette::Light},       // white: its highlight
    };
    for (int y = 0; y < images.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(images.scanLine(y));
        for (int x = 0; x < images.width(); ++x)
            for (const auto& standard : kStandardColours)
                if (line[x] == standard.classic) {
                    line[x] = palette.color(QPalette::Active, standard.role).rgba();
                    break;
                }
    }
}

}  // namespace

void CControlBar::EnableDocking(DWORD dwDockStyle) { dockStyle_ = dwDockStyle & CBRS_ALIGN_ANY; }

CFrameWnd* CControlBar::ParentFrame() const { return dynamic_cast<CFrameWnd*>(GetParent()); }

BOOL CControlBar::CreateBar(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    if (!pParentWnd || !pParentWnd->m_hWnd) return FALSE;
    barStyle_ = dwStyle & kBarStyleBits;
    CREATESTRUCT cs{};
    cs.style = static_cast<LONG>(dwStyle & ~kBarStyleBits);
    cs.hwndParent = pParentWnd->m_hWnd;
    cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID));
    return CreateFromStruct(cs, pParentWnd, nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, CRect, UINT nID) {
    return CreateBar(pParentWnd, dwStyle, nID);
}

std::unique_ptr<WindowHost> CToolBar::CreateHost(const CREATESTRUCT& cs) {
    WindowHost* parent = WindowHost::fromHandle(cs.hwndParent);
    auto* toolBar = new QToolBar(parent ? parent->widget() : nullptr);
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar->setMovable(false);  // until docking is enabled
    auto host = std::make_unique<WindowHost>(*this, toolBar);
    toolBar->installEventFilter(new LeaveWatcher(toolBar));
    return host;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource) {
    const auto* resource = platform::mfc::findToolBar(nIDResource);
    const auto* bitmap = platform::mfc::findBitmap(nIDResource);
    auto* toolBar = qobject_cast<QToolBar*>(platform::mfc::widgetOf(this));
    if (!resource || !bitmap || !toolBar) return FALSE;
    QImage images = platform::mfc::toImage(bitmap->picture);
    if (images.isNull()) return FALSE;
    toButtonColours(images, toolBar->palette());
    WindowHost* self = WindowHost::fromHandle(m_hWnd);
    toolBar->setIconSize(QSize(resource->imageWidth, resource->imageHeight));
    int image = 0;
    for (const UINT id : resource->items) {
        items_.push_back(id);
        if (id == ID_SEPARATOR) {
            toolBar->addSeparator();
            continue;
        }
        const QImage face = images.copy(image * resource->imageWidth, 0, resource->imageWidth,
                                        resource->imageHeight);
        ++image;
        QAction* action = toolBar->addAction(QIcon(QPixmap::fromImage(face)), QString());
        action->setData(id);
        const std::string text = platform::mfc::loadString(id);
        const std::size_t lineFeed = text.find('\n');
        if (lineFeed != std::string::npos)
            action->setToolTip(QString::fromStdString(text.substr(lineFeed + 1)));
        QObject::connect(action, &QAction::triggered, self->receiver(), [this, id] {
            if (CFrameWnd* frame = ParentFrame())
                frame->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), kButtonClicked),
                                   reinterpret_cast<LPARAM>(m_hWnd));
        });
        QObject::connect(action, &QAction::hovered, self->receiver(), [this, id] {
            if (CFrameWnd* frame = ParentFrame()) frame->SetMessageText(id);
        });
    }
    return TRUE;
}

UINT CToolBar::GetItemID(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount()) return ID_SEPARATOR;
    return items_[static_cast<std::size_t>(nIndex)];
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    auto* toolBar = qobject_cast<QToolBar*>(platform::mfc::widgetOf(this));
    if (!toolBar) return;
    for (QAction* action : toolBar->actions()) {
        if (action->isSeparator()) continue;
        platform::mfc::ActionCmdUI state(*action);
        state.m_nID = action->data().toUInt();
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateBar(pParentWnd, dwStyle, nID);
}

std::unique_ptr<WindowHost> CStatusBar::CreateHost(const CREATESTRUCT& cs) {
    WindowHost* parent = WindowHost::fromHandle(cs.hwndParent);
    auto* statusBar = new QStatusBar(parent ? parent->widget() : nullptr);
    return std::make_unique<WindowHost>(*this, statusBar);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    auto* statusBar = qobject_cast<QStatusBar*>(platform::mfc::widgetOf(this));
    if (!statusBar || !lpIDArray || nIDCount <= 0 || !panes_.empty()) return FALSE;
    panes_.assign(lpIDArray, lpIDArray + nIDCount);
    for (int i = 0; i < nIDCount; ++i) {
        const UINT id = panes_[static_cast<std::size_t>(i)];
        auto* label = new QLabel(statusBar);
        label->setObjectName(paneName(i));
        if (i == 0 && id == ID_SEPARATOR) {
            label->setText(QString::fromStdString(platform::mfc::loadString(AFX_IDS_IDLEMESSAGE)));
            statusBar->addWidget(label, 1);
            continue;
        }
        // An indicator keeps the width of its text while blank.
        const QString text = QString::fromStdString(platform::mfc::loadString(id));
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) +
                               2 * label->fontMetrics().averageCharWidth());
        label->setAlignment(Qt::AlignCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar->addPermanentWidget(label);
    }
    return TRUE;
}

std::string CStatusBar::GetPaneText(int nIndex) const {
    const QWidget* statusBar = platform::mfc::widgetOf(this);
    const auto* label = statusBar ? statusBar->findChild<QLabel*>(paneName(nIndex)) : nullptr;
    return label ? label->text().toStdString() : std::string();
}

void CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText) {
    QWidget* statusBar = platform::mfc::widgetOf(this);
    auto* label = statusBar ? statusBar->findChild<QLabel*>(paneName(nIndex)) : nullptr;
    if (label) label->setText(QString::fromUtf8(lpszNewText ? lpszNewText : ""));
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        if (panes_[i] == ID_SEPARATOR) continue;
        PaneCmdUI state(*this);
        state.m_nID = panes_[i];
        state.m_nIndex = static_cast<UINT>(i);
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}
