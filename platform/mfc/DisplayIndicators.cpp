#include "mfc/DisplayIndicators.h"

#include <cstdint>
#include <cstring>
#include <memory>

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>

#include "mfc/IdleLoop.h"
#include "mfc/KeyFeed.h"

// Xlib's macros (None, Bool, KeyPress...) clash with Qt's names: it comes after every Qt header.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <xcb/xcb.h>

namespace platform::mfc {
namespace {

// The bit of each lock's indicator in the keyboard's indicator state; 0 where it has none.
struct IndicatorBits {
    unsigned caps = 0;
    unsigned num = 0;
    unsigned scroll = 0;
};

unsigned indicatorBit(Display* display, const char* name) {
    int index = -1;
    const Atom atom = XInternAtom(display, name, False);
    if (!XkbGetNamedIndicator(display, atom, &index, nullptr, nullptr, nullptr) || index < 0 ||
        index >= 32)
        return 0;
    return 1u << index;
}

// The keyboard extension's indicator state event as it comes from the server; libxcb's own
// declaration of it does not compile as C++.
struct IndicatorStateEvent {
    std::uint8_t type;
    std::uint8_t xkbType;  // which of the extension's events, all of one event type
    std::uint16_t sequence;
    std::uint32_t time;
    std::uint8_t device;
    std::uint8_t pad[3];
    std::uint32_t state;  // every indicator, lit or not
    std::uint32_t changed;
    std::uint8_t pad2[12];
};
static_assert(sizeof(IndicatorStateEvent) == 32, "an X event is 32 bytes");

// The indicator state as the server's last event on the core keyboard gave it.
class IndicatorWatch final : public QAbstractNativeEventFilter {
public:
    IndicatorWatch(int eventBase, IndicatorBits bits, unsigned state)
        : eventBase_(eventBase), bits_(bits), state_(state) {}

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7F) != eventBase_) return false;
        IndicatorStateEvent notify;
        std::memcpy(&notify, event, sizeof notify);
        if (notify.xkbType == XkbIndicatorStateNotify) take(notify.state);
        return false;  // Qt's keyboard sees the extension's events too
    }

    LockStates locks() const noexcept {
        return {(state_ & bits_.caps) != 0, (state_ & bits_.num) != 0,
                (state_ & bits_.scroll) != 0};
    }

private:
    void take(unsigned state) {
        const unsigned shown = bits_.caps | bits_.num | bits_.scroll;
        // The panes follow at the first idle pass after a message. An indicator can change
        // with no message (another program lit it) or after that pass (its event read after
        // its key's, or lit apart from the key): the change is a message of its own.
        if ((state ^ state_) & shown) noteMessage();
        state_ = state;
    }

    int eventBase_;
    IndicatorBits bits_;
    unsigned state_;
};

std::unique_ptr<IndicatorWatch>& installedWatch() {
    static std::unique_ptr<IndicatorWatch> watch;
    return watch;
}

}  // namespace

void installDisplayIndicators(Display* display) {
    removeDisplayIndicators();
    int opcode, eventBase, error, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (!QCoreApplication::instance() ||
        !XkbQueryExtension(display, &opcode, &eventBase, &error, &major, &minor))
        return;
    const IndicatorBits bits{indicatorBit(display, "Caps Lock"), indicatorBit(display, "Num Lock"),
                             indicatorBit(display, "Scroll Lock")};
    // Selected before the first read, so that no change falls between the two.
    if (!XkbSelectEvents(display, XkbUseCoreKbd, XkbIndicatorStateNotifyMask,
                         XkbIndicatorStateNotifyMask))
        return;
    unsigned state = 0;
    if (XkbGetIndicatorState(display, XkbUseCoreKbd, &state) != Success) return;
    auto& watch = installedWatch();
    watch = std::make_unique<IndicatorWatch>(eventBase, bits, state);
    QCoreApplication::instance()->installNativeEventFilter(watch.get());
    setLockReader([watched = watch.get()](LockStates& locks) {
        locks = watched->locks();
        return true;
    });
}

void removeDisplayIndicators() {
    auto& watch = installedWatch();
    if (!watch) return;
    setLockReader({});
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeNativeEventFilter(watch.get());
    watch.reset();
}

}  // namespace platform::mfc
