// resource.h: the ids of the program's own resources. The class library's standard ids (commands,
// strings, child windows) come from afxres.h.
#pragma once

#include <afxres.h>

constexpr UINT IDD_ABOUTBOX = 100;
// The frame's menu, accelerators, toolbar with its bitmap, icon and title string share one id.
constexpr UINT IDR_MAINFRAME = 128;
