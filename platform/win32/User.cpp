// The user-interface calls that need a windowing side: message boxes and the cursor.
#include <cstdio>
#include <utility>

#include <windows.h>

#include "win32/Backend.h"

namespace platform::win32 {
namespace {

struct UserServices {
    MessageBoxPresenter messageBox;
    CursorSource cursor;
};

UserServices& services() {
    static UserServices instance;
    return instance;
}

}  // namespace

void setMessageBoxPresenter(MessageBoxPresenter presenter) {
    services().messageBox = std::move(presenter);
}

void setCursorSource(CursorSource source) { services().cursor = std::move(source); }

}  // namespace platform::win32

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    auto& presenter = platform::win32::services().messageBox;
    if (presenter) return presenter(hWnd, lpText, lpCaption, uType);
    std::fprintf(stderr, "[%s] %s\n", lpCaption ? lpCaption : "", lpText ? lpText : "");
    return IDOK;
}

BOOL GetCursorPos(LPPOINT lpPoint) {
    if (!lpPoint) return FALSE;
    auto& source = platform::win32::services().cursor;
    if (!source) {
        *lpPoint = POINT{0, 0};
        return FALSE;
    }
    *lpPoint = source();
    return TRUE;
}

BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
    if (!lprc) return FALSE;
    *lprc = RECT{xLeft, yTop, xRight, yBottom};
    return TRUE;
}

HCURSOR LoadCursorA(HINSTANCE, LPCSTR lpCursorName) {
    // The handle carries the standard cursor's id; the windowing side maps it to a shape.
    return reinterpret_cast<HCURSOR>(const_cast<char*>(lpCursorName));
}
