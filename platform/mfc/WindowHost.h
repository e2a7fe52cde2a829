// WindowHost.h: the Qt widget behind a CWnd, which is the window's HWND. It turns the widget's
// events into window messages for its CWnd, keeps the device's last frame and shows it
// stretched to the client area (drawn straight into the window on Present, painted from the
// kept frame on expose), and places child windows: a frame's pane becomes the central widget, its
// bars dock. The widget goes when the window is destroyed; the host lives as long as its CWnd, so a
// handle held by the device never dangles.
#pragma once

#include <memory>

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <afxwin.h>

#include "mfc/SharedImageBlit.h"
#include "mfc/SurfaceBlit.h"
#include "win32/Window.h"

namespace platform::mfc {

class EventBridge;

class WindowHost : public HWND__ {
public:
    WindowHost(CWnd& owner, QWidget* widget);
    ~WindowHost() override;

    static WindowHost* fromHandle(HWND hWnd) noexcept;
    // The live host whose widget this is, or null.
    static WindowHost* fromWidget(const QWidget* widget) noexcept;

    CWnd* owner() const noexcept { return owner_; }
    QWidget* widget() const noexcept { return widget_.data(); }

    // Window-class bits of the window (CS_DBLCLKS), from the class it was created with.
    UINT classStyle() const noexcept { return classStyle_; }
    void setClassStyle(UINT style) noexcept { classStyle_ = style; }

    // Plain windows paint the presented frame; frames, bars and dialogs paint themselves.
    void setPaintsFrames(bool paints) noexcept { paintsFrames_ = paints; }
    bool paintsFrames() const noexcept { return paintsFrames_; }

    // Places a child window that has just been created inside this one.
    virtual void adoptChild(CWnd& child, UINT id);

    // Ends the window: the CWnd gets no more messages, and the widget is hidden and deleted
    // once control is back in the event loop (it may be inside one of its own handlers).
    void releaseWidget() noexcept;

    SIZE clientSize() const noexcept override;
    // One on X11 with shared images: the server's copy of each frame.
    unsigned presentingProcessors() const noexcept override;
    // Pixels valid only during the call are copied and kept; kept pixels are shown straight
    // from the caller's memory and held until the next present.
    void present(const std::uint32_t* pixels, int width, int height,
                 int pitchPixels) noexcept override;
    void presentKept(std::shared_ptr<const std::uint32_t> pixels, int width, int height,
                     int pitchPixels, const win32::ParallelFor& split) noexcept override;
    // The last frame presented, at the device's back-buffer size, opaque RGB32; null before the
    // first. It may share the presenter's memory: valid until the next present.
    QImage lastFrame() const;
    int presentCount() const noexcept { return presents_; }

    // The receiver of the widget's signals: it goes with the host, which cuts them off.
    // Deleting it inside one of its own slots is safe, Qt holds a slot while it runs.
    QObject* receiver() const noexcept { return receiver_.get(); }

private:
    void show(win32::PixelRows<const std::uint32_t> frame, const win32::ParallelFor& split);

    CWnd* owner_;
    QPointer<QWidget> widget_;
    std::unique_ptr<EventBridge> bridge_;
    std::unique_ptr<QObject> receiver_;
    UINT classStyle_ = 0;
    bool paintsFrames_ = false;
    QImage copied_;                              // the last frame, when it came as a passing copy
    std::shared_ptr<const std::uint32_t> kept_;  // ... or as the presenter's kept pixels
    win32::PixelRows<const std::uint32_t> keptRows_{nullptr, 0, 0, 0};
    SharedImageBlit sharedBlit_;  // on X11
    SurfaceBlit blit_;            // elsewhere, into the backing store
    int presents_ = 0;
};

// The widget of a window; null when it has none. For tests and the layer's own parts.
QWidget* widgetOf(const CWnd* wnd) noexcept;

// The side a bar with these CBRS_ALIGN_* bits docks on: the top when it may, else the bottom,
// the left, the right; the top for none.
Qt::ToolBarArea toolBarAreaOf(DWORD alignStyle) noexcept;

}  // namespace platform::mfc
