// atltypes.h: CPoint, CSize and CRect, the value types of the MFC layer's window calls.
// Only the constructors and queries the program and the layer use; no arithmetic operators.
#pragma once

#include "windows.h"

class CPoint : public POINT {
public:
    constexpr CPoint() noexcept : POINT{0, 0} {}
    constexpr CPoint(int initX, int initY) noexcept : POINT{initX, initY} {}
    constexpr CPoint(POINT initPt) noexcept : POINT(initPt) {}
    constexpr bool operator==(const CPoint& other) const noexcept {
        return x == other.x && y == other.y;
    }
};

class CSize : public SIZE {
public:
    constexpr CSize() noexcept : SIZE{0, 0} {}
    constexpr CSize(int initCX, int initCY) noexcept : SIZE{initCX, initCY} {}
};

class CRect : public RECT {
public:
    constexpr CRect() noexcept : RECT{0, 0, 0, 0} {}
    constexpr CRect(int l, int t, int r, int b) noexcept : RECT{l, t, r, b} {}
    constexpr CRect(const RECT& srcRect) noexcept : RECT(srcRect) {}
    constexpr int Width() const noexcept { return right - left; }
    constexpr int Height() const noexcept { return bottom - top; }
    constexpr BOOL IsRectEmpty() const noexcept { return right <= left || bottom <= top; }
    constexpr bool operator==(const CRect& other) const noexcept {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
};
