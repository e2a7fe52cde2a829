#include "mfc/MoveSizeWatch.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QPoint>
#include <QTimer>
#include <QWindow>

#include "mfc/IdleLoop.h"
#include "mfc/X11Application.h"

// Xlib's macros (None, Bool, KeyPress...) clash with Qt's names: it comes after every Qt header.
#include <X11/Xlib.h>
#include <X11/extensions/XI2.h>
#include <xcb/xcb.h>

namespace platform::mfc {
namespace {

// One pointer query per period, whether frames run or not.
constexpr int kSamplePeriodMs = 15;

constexpr char kMarkerName[] = "_ORVEK_MOVE_SIZE_MARKER";

// The buttons that hold a move or resize: left, middle, right.
constexpr unsigned kButtonMasks = Button1Mask | Button2Mask | Button3Mask;
constexpr unsigned kButtons = 3;

struct PointerSample {
    bool buttonHeld = false;
    QPoint inClient;  // the pointer, in the window's coordinates
};

PointerSample samplePointer(Display* display, Window client) {
    Window root, child;
    int rootX, rootY, x, y;
    unsigned int mask = 0;
    if (!XQueryPointer(display, client, &root, &child, &rootX, &rootY, &x, &y, &mask)) return {};
    return {(mask & kButtonMasks) != 0, QPoint(x, y)};
}

// The server's own size of the window: Qt learns of a resize only after the manager made it.
bool contains(Display* display, Window client, QPoint point) {
    Window root;
    int x, y;
    unsigned int width, height, border, depth;
    if (!XGetGeometry(display, client, &root, &x, &y, &width, &height, &border, &depth))
        return false;
    return point.x() >= 0 && point.y() >= 0 && point.x() < static_cast<int>(width) &&
           point.y() < static_cast<int>(height);
}

// The root's child under the pointer, 0 for none.
Window topLevelUnderPointer(Display* display) {
    Window root = DefaultRootWindow(display), child = 0;
    int rootX, rootY, x, y;
    unsigned int mask;
    if (!XQueryPointer(display, root, &root, &child, &rootX, &rootY, &x, &y, &mask)) return 0;
    return child;
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

// A press or release of one of the buttons that reached the program: a core event, or XInput
// 2's, which Qt selects in its place where the server has it. Every event on the program's
// connection is for one of its windows.
struct ButtonChange {
    bool press = false;
    unsigned bit = 0;  // 0 for any other event
};

ButtonChange buttonChangeOf(const xcb_generic_event_t& event, int xinputOpcode) {
    const int type = event.response_type;
    unsigned button = 0;
    bool press = false;
    if (type == XCB_BUTTON_PRESS || type == XCB_BUTTON_RELEASE) {
        button = reinterpret_cast<const xcb_button_press_event_t&>(event).detail;
        press = type == XCB_BUTTON_PRESS;
    } else if (type == XCB_GE_GENERIC) {
        const auto& generic = reinterpret_cast<const xcb_ge_generic_event_t&>(event);
        if (generic.extension != xinputOpcode ||
            (generic.event_type != XI_ButtonPress && generic.event_type != XI_ButtonRelease))
            return {};
        // A device event's button, after its type, device and time, as on the wire.
        constexpr std::size_t kDetailOffset = 16;
        std::uint32_t detail = 0;
        std::memcpy(&detail, reinterpret_cast<const char*>(&event) + kDetailOffset, sizeof detail);
        button = detail;
        press = generic.event_type == XI_ButtonPress;
    }
    if (button == 0 || button > kButtons) return {};
    return {press, 1u << (button - 1)};
}

// The manager's grab of a press in the window: its passive grab of a button (with its move
// modifier) on the frame around the window takes the pointer to an ancestor of the window, and
// the server tells the window so, with the buttons then held. The program's own grabs are on
// its own windows, none an ancestor of its top level (an open menu's leave is NotifyNonlinear),
// and a press that reaches the program makes no crossing.
bool isAncestorsButtonGrab(const xcb_leave_notify_event_t& leave) {
    return leave.mode == XCB_NOTIFY_MODE_GRAB &&
           (leave.detail == XCB_NOTIFY_DETAIL_ANCESTOR ||
            leave.detail == XCB_NOTIFY_DETAIL_VIRTUAL) &&
           (leave.state & kButtonMasks) != 0;
}

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    xcb_atom_t atom = XCB_ATOM_NONE;
    if (reply) atom = reply->atom;
    std::free(reply);
    return atom;
}

// Whether a held button is the manager's is told by the events that reach the program, in
// the server's order, however late Qt hands them on: a press inside the window comes as a
// press when it is the program's, as the grab's crossing when the manager takes it. A press on
// the frame's decorations goes to the manager's own windows and makes no event here: the
// pointer is sampled for a button held over the frame, outside the window, and a marker the
// program sends itself then comes back behind every event the server made before it; when
// neither a press nor a grab came ahead of it, the press was on the decorations. A loop lasts
// until the buttons are up, or, for the manager's grab, until that ends with the pointer back.
class MoveSizeWatch final : public QObject, public QAbstractNativeEventFilter {
    // Since the buttons were last all up: none held; a held button over the frame whose
    // marker is on its way; a loop for a press on the decorations, or for the manager's grab;
    // or a press that is not the manager's.
    enum class State { Up, Pending, Loop, GrabLoop, NotOurs };

public:
    MoveSizeWatch(QWidget& window, Display* display, xcb_connection_t* connection)
        : QObject(&window), window_(window), display_(display), connection_(connection),
          markerType_(internAtom(connection, kMarkerName)) {
        int firstEvent, firstError;
        if (!XQueryExtension(display, "XInputExtension", &xinputOpcode_, &firstEvent, &firstError))
            xinputOpcode_ = -1;
        sampler_.setInterval(kSamplePeriodMs);
        connect(&sampler_, &QTimer::timeout, this, [this] { sample(); });
        sampler_.start();
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~MoveSizeWatch() override {
        if (QCoreApplication* app = QCoreApplication::instance())
            app->removeNativeEventFilter(this);
    }
    MoveSizeWatch(const MoveSizeWatch&) = delete;
    MoveSizeWatch& operator=(const MoveSizeWatch&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t") return false;
        const auto& event = *static_cast<const xcb_generic_event_t*>(message);
        const int type = event.response_type & 0x7F;
        if (type == XCB_CLIENT_MESSAGE)
            return takeMarker(reinterpret_cast<const xcb_client_message_event_t&>(event));
        // Input that another client sends (its top bit set) moves no real button.
        if (event.response_type & 0x80) return false;
        if (type == XCB_LEAVE_NOTIFY || type == XCB_ENTER_NOTIFY) {
            noteCrossing(reinterpret_cast<const xcb_enter_notify_event_t&>(event));
            return false;
        }
        const ButtonChange change = buttonChangeOf(event, xinputOpcode_);
        if (change.bit == 0) return false;
        if (change.press) {
            programButtons_ |= change.bit;
        } else {
            programButtons_ &= ~change.bit;
        }
        return false;
    }

private:
    Window client() const {
        const QWindow* handle = window_.windowHandle();
        return handle ? static_cast<Window>(handle->winId()) : 0;
    }

    void sample() {
        const Window window = client();
        if (!window) return;
        const PointerSample now = samplePointer(display_, window);
        if (!now.buttonHeld) {
            state_ = State::Up;
            programButtons_ = 0;
            loop_.reset();
            return;
        }
        if (state_ != State::Up) return;
        if (pressMayBeOnDecorations(window, now)) {
            state_ = State::Pending;
            sendMarker(window);
        } else {
            state_ = State::NotOurs;
        }
    }

    // A button held over the frame around the window, outside the window itself: a press
    // inside it is the program's or the manager's grab's, and the events tell which.
    bool pressMayBeOnDecorations(Window window, const PointerSample& now) const {
        if (programButtons_ != 0 || !window_.isVisible()) return false;
        if (contains(display_, window, now.inClient)) return false;
        const Window frame = outermostOf(display_, window);
        return frame != 0 && frame != window && topLevelUnderPointer(display_) == frame;
    }

    void sendMarker(Window window) {
        xcb_client_message_event_t marker{};
        marker.response_type = XCB_CLIENT_MESSAGE;
        marker.format = 32;
        marker.window = static_cast<xcb_window_t>(window);
        marker.type = markerType_;
        marker.data.data32[0] = ++markersSent_;
        // No event mask: the server hands it to the window's own client, this one.
        xcb_send_event(connection_, 0, marker.window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&marker));
        xcb_flush(connection_);
    }

    // True for the watch's own marker, which no one else is to see.
    bool takeMarker(const xcb_client_message_event_t& message) {
        if (message.type != markerType_ || markerType_ == XCB_ATOM_NONE) return false;
        if (state_ == State::Pending && message.data.data32[0] == markersSent_) {
            if (programButtons_ == 0) {
                enterLoop(State::Loop);
            } else {
                state_ = State::NotOurs;
            }
        }
        return true;
    }

    void noteCrossing(const xcb_enter_notify_event_t& crossing) {
        if (crossing.event != client()) return;
        const bool inLoop = state_ == State::Loop || state_ == State::GrabLoop;
        if (crossing.response_type == XCB_LEAVE_NOTIFY) {
            if (!inLoop && isAncestorsButtonGrab(crossing)) enterLoop(State::GrabLoop);
        } else if (crossing.mode == XCB_NOTIFY_MODE_UNGRAB && state_ == State::GrabLoop) {
            // The grab is over with the pointer back, its buttons maybe still held (the
            // manager cancelled the move): that press starts no other loop.
            state_ = State::NotOurs;
            loop_.reset();
        }
    }

    void enterLoop(State kind) {
        state_ = kind;
        loop_ = std::make_unique<ModalScope>();
    }

    QWidget& window_;
    Display* display_;
    xcb_connection_t* connection_;
    const xcb_atom_t markerType_;
    int xinputOpcode_ = -1;
    QTimer sampler_;
    State state_ = State::Up;
    unsigned programButtons_ = 0;  // held, as the program's own presses and releases tell
    std::uint32_t markersSent_ = 0;
    std::unique_ptr<ModalScope> loop_;
};

}  // namespace

void watchWindowManagerDrags(QWidget& window) {
    const auto* x11 = x11Application();
    Display* display = x11 ? x11->display() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!display || !connection) return;
    new MoveSizeWatch(window, display, connection);  // the window's child: it goes with the window
}

}  // namespace platform::mfc
