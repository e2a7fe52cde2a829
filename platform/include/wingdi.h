// wingdi.h: the font-request constants the program passes to D3DXCreateFontA. No GDI drawing.
#pragma once

constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr unsigned char ANSI_CHARSET = 0;
constexpr unsigned char DEFAULT_CHARSET = 1;
constexpr unsigned char HANGUL_CHARSET = 129;
constexpr unsigned char OUT_DEFAULT_PRECIS = 0;
constexpr unsigned char DEFAULT_QUALITY = 0;
constexpr unsigned char DEFAULT_PITCH = 0;
constexpr unsigned char FF_DONTCARE = 0;

// DrawText format flags.
constexpr unsigned DT_TOP = 0x00000000;
constexpr unsigned DT_LEFT = 0x00000000;
constexpr unsigned DT_CENTER = 0x00000001;
constexpr unsigned DT_RIGHT = 0x00000002;
constexpr unsigned DT_VCENTER = 0x00000004;
constexpr unsigned DT_BOTTOM = 0x00000008;
constexpr unsigned DT_WORDBREAK = 0x00000010;
constexpr unsigned DT_SINGLELINE = 0x00000020;
constexpr unsigned DT_NOCLIP = 0x00000100;
constexpr unsigned DT_CALCRECT = 0x00000400;
