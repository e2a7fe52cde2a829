#include "mfc/KeyFeed.h"

#include <QApplication>
#include <QKeyEvent>

#include <windows.h>

#include "mfc/IdleLoop.h"
#include "mfc/VirtualKeys.h"
#include "win32/KeyState.h"

namespace platform::mfc {
namespace {

struct LockKey {
    bool on = false;
    bool down = false;  // a press toggles only the key that was up
};

struct LockKeys {
    LockKey caps;
    LockKey num;
    LockKey scroll;

    LockKey* find(int virtualKey) noexcept {
        switch (virtualKey) {
            case VK_CAPITAL: return &caps;
            case VK_NUMLOCK: return &num;
            case VK_SCROLL: return &scroll;
            default: return nullptr;
        }
    }
};

LockKeys& lockKeys() {
    static LockKeys keys;
    return keys;
}

class KeyFeed final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWidgetType())
            return false;
        // A key event visits each parent on its way up: what it does must not add up.
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (key.isAutoRepeat()) return false;
        const int virtualKey =
            virtualKeyOf(key.key(), (key.modifiers() & Qt::KeypadModifier) != 0);
        if (virtualKey == 0) return false;
        noteMessage();
        LockKey* lock = lockKeys().find(virtualKey);
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

bool lockKeyOn(int virtualKey) noexcept {
    const LockKey* lock = lockKeys().find(virtualKey);
    return lock && lock->on;
}

}  // namespace platform::mfc
