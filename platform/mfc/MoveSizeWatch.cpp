#include "mfc/MoveSizeWatch.h"

#include <memory>

#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

#include "mfc/IdleLoop.h"

// Xlib's macros (None, Bool, KeyPress...) clash with Qt's names: it comes after every Qt header.
#include <X11/Xlib.h>

namespace platform::mfc {
namespace {

// One pointer query per period, whether frames run or not.
constexpr int kSamplePeriodMs = 15;
// A press inside the window that the program has not seen after this many samples was taken
// by the manager (its move modifier); the program has had its events by then.
constexpr int kConfirmSamples = 4;

struct PointerSample {
    bool buttonHeld = false;
    Window topLevel = 0;        // the root's child under the pointer: a frame, or a window
    bool insideClient = false;  // within the program's own window, not its decorations
};

PointerSample samplePointer(Display* display, Window client, QSize clientSize) {
    Window root, child = 0;
    int rootX, rootY, x, y;
    unsigned int mask = 0;
    if (!XQueryPointer(display, client, &root, &child, &rootX, &rootY, &x, &y, &mask)) return {};
    PointerSample sample;
    sample.buttonHeld = (mask & (Button1Mask | Button2Mask | Button3Mask)) != 0;
    sample.insideClient = x >= 0 && y >= 0 && x < clientSize.width() && y < clientSize.height();
    if (sample.buttonHeld &&
        !XQueryPointer(display, root, &root, &sample.topLevel, &rootX, &rootY, &x, &y, &mask))
        return {};
    return sample;
}

// The root's child that holds the window: the manager's frame around it, or the window itself.
Window outermostOf(Display* display, Window window) {
    for (;;) {
        Window root, parent;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
        if (children) XFree(children);
        if (parent == root || parent == 0) return window;
        window = parent;
    }
}

class MoveSizeWatch final : public QObject {
public:
    MoveSizeWatch(QWidget& window, Display* display)
        : QObject(&window), window_(window), display_(display) {
        sampler_.setInterval(kSamplePeriodMs);
        connect(&sampler_, &QTimer::timeout, this, [this] { sample(); });
        sampler_.start();
    }

private:
    // A press on the frame's decorations is the manager's; one inside the window is the
    // manager's only when the program never receives it.
    void sample() {
        const QWindow* handle = window_.windowHandle();
        if (!handle) return;
        const auto client = static_cast<Window>(handle->winId());
        const PointerSample now =
            samplePointer(display_, client, handle->size() * handle->devicePixelRatio());
        if (!now.buttonHeld) {
            state_ = State::Up;
            loop_.reset();
            return;
        }
        switch (state_) {
            case State::Up:
                if (!window_.isVisible() || programSawPress() || now.topLevel == 0 ||
                    now.topLevel != outermostOf(display_, client)) {
                    state_ = State::NotOurs;
                } else if (now.insideClient) {
                    state_ = State::Suspected;
                    unseenSamples_ = 1;
                } else {
                    enterLoop();
                }
                break;
            case State::Suspected:
                if (programSawPress()) {
                    state_ = State::NotOurs;
                } else if (++unseenSamples_ >= kConfirmSamples) {
                    enterLoop();
                }
                break;
            case State::Loop:
            case State::NotOurs:
                break;
        }
    }

    void enterLoop() {
        state_ = State::Loop;
        loop_ = std::make_unique<ModalScope>();
    }

    static bool programSawPress() { return QGuiApplication::mouseButtons() != Qt::NoButton; }

    enum class State { Up, Suspected, Loop, NotOurs };

    QWidget& window_;
    Display* display_;
    QTimer sampler_;
    State state_ = State::Up;
    int unseenSamples_ = 0;
    std::unique_ptr<ModalScope> loop_;
};

}  // namespace

void watchWindowManagerDrags(QWidget& window) {
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                              : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return;
    new MoveSizeWatch(window, display);  // the window's child: it goes with the window
}

}  // namespace platform::mfc
