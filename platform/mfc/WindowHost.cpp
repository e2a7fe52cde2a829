#include "mfc/WindowHost.h"

#include <unordered_set>

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QStatusBar>
#include <QToolBar>

#include <afxext.h>

#include "mfc/IdleLoop.h"

namespace platform::mfc {
namespace {

std::unordered_set<const WindowHost*>& liveHosts() {
    static std::unordered_set<const WindowHost*> hosts;
    return hosts;
}

UINT mouseFlags(const QMouseEvent& event) {
    UINT flags = 0;
    if (event.buttons() & Qt::LeftButton) flags |= MK_LBUTTON;
    if (event.buttons() & Qt::RightButton) flags |= MK_RBUTTON;
    if (event.buttons() & Qt::MiddleButton) flags |= MK_MBUTTON;
    if (event.modifiers() & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (event.modifiers() & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

LPARAM pointParam(const QMouseEvent& event) {
    const QPoint p = event.position().toPoint();
    return MAKELPARAM(static_cast<WORD>(p.x()), static_cast<WORD>(p.y()));
}

// The message of a button event, or 0 for buttons the program never sees.
UINT buttonMessage(QEvent::Type type, Qt::MouseButton button, bool doubleClicks) {
    const bool left = button == Qt::LeftButton;
    if (!left && button != Qt::RightButton) return 0;
    switch (type) {
        case QEvent::MouseButtonPress:
            return left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
        case QEvent::MouseButtonRelease:
            return left ? WM_LBUTTONUP : WM_RBUTTONUP;
        case QEvent::MouseButtonDblClick:
            // Without CS_DBLCLKS the second press of a double click is a plain press.
            if (doubleClicks) return left ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK;
            return left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
        default:
            return 0;
    }
}

// Qt hands a release to the widget that took the press; the window takes no capture, so a
// release counts only where the pointer is over it. On X11 it must be on top there, too: Qt's
// xcb platform asks the server what lies under the pointer. Elsewhere (Wayland, offscreen) no
// program can know the stacking, and the window's own area decides.
bool releasedOver(const QWidget& widget, const QMouseEvent& release) {
    if (!widget.rect().contains(release.position().toPoint())) return false;
    static const bool knowsStacking = QGuiApplication::platformName() == QLatin1String("xcb");
    if (!knowsStacking) return true;
    const QWidget* under = QApplication::widgetAt(release.globalPosition().toPoint());
    return under && (under == &widget || widget.isAncestorOf(under));
}

}  // namespace

// Turns the widget's events into the owner's window messages.
class EventBridge final : public QObject {
public:
    explicit EventBridge(WindowHost& host) : host_(host) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        CWnd* wnd = host_.owner();
        if (!wnd || watched != host_.widget()) return false;
        switch (event->type()) {
            case QEvent::Resize: {
                const QSize size = static_cast<QResizeEvent*>(event)->size();
                noteMessage();
                wnd->SendMessage(WM_SIZE, SIZE_RESTORED,
                                 MAKELPARAM(static_cast<WORD>(size.width()),
                                            static_cast<WORD>(size.height())));
                return false;
            }
            case QEvent::Paint:
                if (!host_.paintsFrames()) return false;
                paintFrame();
                wnd->SendMessage(WM_PAINT);
                return true;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick: {
                auto& mouse = *static_cast<QMouseEvent*>(event);
                const UINT message = buttonMessage(event->type(), mouse.button(),
                                                   (host_.classStyle() & CS_DBLCLKS) != 0);
                if (message == 0) return false;
                if (event->type() == QEvent::MouseButtonRelease &&
                    !releasedOver(*host_.widget(), mouse))
                    return false;
                noteMessage();
                wnd->SendMessage(message, mouseFlags(mouse), pointParam(mouse));
                // A widget that paints itself acts on its clicks too: a bar's gripper drags it.
                return host_.paintsFrames();
            }
            case QEvent::MouseMove: {
                auto& mouse = *static_cast<QMouseEvent*>(event);
                wnd->SendMessage(WM_MOUSEMOVE, mouseFlags(mouse), pointParam(mouse));
                return false;
            }
            case QEvent::FocusIn:
                noteMessage();
                wnd->SendMessage(WM_SETFOCUS);
                return false;
            case QEvent::FocusOut:
                wnd->SendMessage(WM_KILLFOCUS);
                return false;
            case QEvent::WindowActivate:
                // Activation gives a top-level window the focus, as the system does.
                if (host_.widget()->isWindow()) {
                    noteMessage();
                    wnd->SendMessage(WM_SETFOCUS);
                }
                return false;
            case QEvent::Close:
                // The window decides: a frame destroys itself on WM_CLOSE.
                event->ignore();
                noteMessage();
                wnd->SendMessage(WM_CLOSE);
                return true;
            default:
                return false;
        }
    }

private:
    void paintFrame() {
        QWidget* widget = host_.widget();
        QPainter painter(widget);
        const QImage frame = host_.lastFrame();
        if (frame.isNull()) {
            painter.fillRect(widget->rect(), widget->palette().window());
            return;
        }
        painter.drawImage(widget->rect(), frame);
    }

    WindowHost& host_;
};

WindowHost::WindowHost(CWnd& owner, QWidget* widget)
    : owner_(&owner),
      widget_(widget),
      bridge_(std::make_unique<EventBridge>(*this)),
      receiver_(std::make_unique<QObject>()) {
    widget->installEventFilter(bridge_.get());
    liveHosts().insert(this);
}

WindowHost::~WindowHost() {
    liveHosts().erase(this);
    releaseWidget();
}

WindowHost* WindowHost::fromHandle(HWND hWnd) noexcept {
    auto* host = static_cast<WindowHost*>(hWnd);
    return liveHosts().contains(host) ? host : nullptr;
}

WindowHost* WindowHost::fromWidget(const QWidget* widget) noexcept {
    if (!widget) return nullptr;
    for (const WindowHost* host : liveHosts())
        if (host->widget() == widget) return const_cast<WindowHost*>(host);
    return nullptr;
}

void WindowHost::adoptChild(CWnd& child, UINT id) {
    auto* frame = qobject_cast<QMainWindow*>(widget());
    QWidget* childWidget = widgetOf(&child);
    if (!frame || !childWidget) return;
    auto* bar = dynamic_cast<CControlBar*>(&child);
    if (auto* toolBar = qobject_cast<QToolBar*>(childWidget); toolBar && bar) {
        frame->addToolBar(toolBarAreaOf(bar->GetBarStyle()), toolBar);
    } else if (auto* statusBar = qobject_cast<QStatusBar*>(childWidget)) {
        frame->setStatusBar(statusBar);
    } else if (id == AFX_IDW_PANE_FIRST) {
        frame->setCentralWidget(childWidget);
    }
}

void WindowHost::releaseWidget() noexcept {
    owner_ = nullptr;
    QWidget* widget = widget_.data();
    if (!widget) return;
    widget_.clear();
    widget->removeEventFilter(bridge_.get());
    widget->hide();
    // A child goes with its parent; only the outermost widget needs deleting.
    if (widget->isWindow() || !widget->parentWidget()) widget->deleteLater();
}

SIZE WindowHost::clientSize() const noexcept {
    const QWidget* widget = widget_.data();
    if (!widget) return {0, 0};
    return {widget->width(), widget->height()};
}

unsigned WindowHost::presentingProcessors() const noexcept {
    return SharedImageBlit::serverCopiesFrames() ? 1 : 0;
}

void WindowHost::present(const std::uint32_t* pixels, int width, int height,
                         int pitchPixels) noexcept {
    if (!pixels || width <= 0 || height <= 0 || pitchPixels < width) return;
    kept_.reset();
    if (copied_.width() != width || copied_.height() != height)
        copied_ = QImage(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* source = pixels + static_cast<std::ptrdiff_t>(y) * pitchPixels;
        auto* target = reinterpret_cast<std::uint32_t*>(copied_.scanLine(y));
        // X8R8G8B8 leaves the top byte undefined; Qt's RGB32 wants it opaque.
        for (int x = 0; x < width; ++x) target[x] = source[x] | 0xFF000000u;
    }
    show({reinterpret_cast<const std::uint32_t*>(copied_.constBits()), width, height,
          copied_.bytesPerLine() / qsizetype{sizeof(std::uint32_t)}},
         {});
}

void WindowHost::presentKept(std::shared_ptr<const std::uint32_t> pixels, int width, int height,
                             int pitchPixels, const win32::ParallelFor& split) noexcept {
    if (!pixels || width <= 0 || height <= 0 || pitchPixels < width) return;
    if (!copied_.isNull()) copied_ = QImage();
    kept_ = std::move(pixels);
    keptRows_ = {kept_.get(), width, height, pitchPixels};
    show(keptRows_, split);
}

void WindowHost::show(win32::PixelRows<const std::uint32_t> frame,
                      const win32::ParallelFor& split) {
    ++presents_;
    QWidget* widget = widget_.data();
    if (!widget || !widget->isVisible()) return;
    // Like a windowed Present: into the client area with no paint message, where it can.
    if (!paintsFrames_ ||
        !(sharedBlit_.draw(*widget, frame, split) || blit_.draw(*widget, frame, split)))
        widget->repaint();
}

QImage WindowHost::lastFrame() const {
    if (!kept_) return copied_;
    // Read-only over the kept pixels: no copy. RGB32 reads the top byte as opaque.
    return QImage(reinterpret_cast<const uchar*>(keptRows_.pixels), keptRows_.width,
                  keptRows_.height, keptRows_.pitch * qsizetype{sizeof(std::uint32_t)},
                  QImage::Format_RGB32);
}

Qt::ToolBarArea toolBarAreaOf(DWORD alignStyle) noexcept {
    if (alignStyle & CBRS_ALIGN_TOP) return Qt::TopToolBarArea;
    if (alignStyle & CBRS_ALIGN_BOTTOM) return Qt::BottomToolBarArea;
    if (alignStyle & CBRS_ALIGN_LEFT) return Qt::LeftToolBarArea;
    if (alignStyle & CBRS_ALIGN_RIGHT) return Qt::RightToolBarArea;
    return Qt::TopToolBarArea;
}

QWidget* widgetOf(const CWnd* wnd) noexcept {
    if (!wnd) return nullptr;
    WindowHost* host = WindowHost::fromHandle(wnd->m_hWnd);
    return host ? host->widget() : nullptr;
}

}  // namespace platform::mfc
