// Dots per inch, for drawing at the size the user set. The program is
// DPI-aware (its manifest says so): it gets real pixels and scales its own
// sizes, given for 96 DPI, itself.
#pragma once

#include <windows.h>

inline constexpr UINT DEFAULT_DPI = 96;

// The DPI of the monitor the window is on (GetDpiForWindow, from Windows 10
// 1607 on), else the system's.
UINT window_dpi(HWND window);

// The DPI the system started with, for what has no window yet.
UINT system_dpi();

// A size given for 96 DPI, at `dpi`.
inline int scaled(int pixels_at_96, UINT dpi)
{
    return MulDiv(pixels_at_96, static_cast<int>(dpi), static_cast<int>(DEFAULT_DPI));
}

// Shows a rich-edit control's text at the monitor's DPI: the control draws
// at the DPI the system started with.
void zoom_to_dpi(HWND rich_edit, UINT dpi);
