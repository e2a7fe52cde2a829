#include "mfc/KeyFeed.h"

#include <utility>

#include <QApplication>
#include <QKeyEvent>

#include <windows.h>

#include "mfc/IdleLoop.h"
#include "mfc/VirtualKeys.h"
#include "win32/KeyState.h"

namespace platform::mfc {
namespace {

struct SeenLock {
    bool on = false;
    bool down = false;  // a press toggles only the key that was up
};

struct Locks {
    SeenLock caps;
    SeenLock num;
    SeenLock scroll;
    LockReader reader;
    LockStates shown;  // at the last refresh

    SeenLock* find(int virtualKey) noexcept {
        switch (virtualKey) {
            case VK_CAPITAL: return &caps;
            case VK_NUMLOCK: return &num;
            case VK_SCROLL: return &scroll;
            default: return nullptr;
        }
    }
};

Locks& locks() {
    static Locks instance;
    return instance;
}

void releaseAll() {
    win32::releaseAllKeys();
    Locks& l = locks();
    l.caps.down = l.num.down = l.scroll.down = false;
}

class KeyFeed final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::ApplicationDeactivate) {
            releaseAll();
            return false;
        }
        if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWidgetType())
            return false;
        // A key event visits each parent on its way up: what it does must not add up.
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (key.isAutoRepeat()) return false;
        const int virtualKey =
            virtualKeyOf(key.key(), (key.modifiers() & Qt::KeypadModifier) != 0);
        if (virtualKey == 0) return false;
        noteMessage();
        SeenLock* lock = locks().find(virtualKey);
        if (type == QEvent::KeyPress) {
            win32::pressKey(virtualKey);
            if (lock && !lock->down) lock->on = !lock->on;
            if (lock) lock->down = true;
        } else {
            win32::releaseKey(virtualKey);
            if (lock) lock->down = false;
        }
        return false;
    }
};

}  // namespace

void installKeyFeed() {
    static KeyFeed* feed = nullptr;
    if (feed || !qApp) return;
    feed = new KeyFeed;
    feed->setParent(qApp);
    qApp->installEventFilter(feed);
}

void setLockReader(LockReader reader) { locks().reader = std::move(reader); }

void refreshLockKeys() {
    Locks& l = locks();
    if (l.reader && l.reader(l.shown)) return;
    l.shown = {l.caps.on, l.num.on, l.scroll.on};
}

bool lockKeyOn(int virtualKey) noexcept {
    const LockStates& shown = locks().shown;
    switch (virtualKey) {
        case VK_CAPITAL: return shown.caps;
        case VK_NUMLOCK: return shown.num;
        case VK_SCROLL: return shown.scroll;
        default: return false;
    }
}

}  // namespace platform::mfc
