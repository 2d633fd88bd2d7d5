// The window's measures at a monitor's DPI. The functions that take a DPI came with Windows 10
// 1607; before it the system's DPI serves.
#pragma once

#include <windows.h>

namespace quillet {

UINT dpiOfWindow(HWND window);

// The system's message font in 8 points at dpi; the caller deletes it.
HFONT createMessageFont(UINT dpi);

// The size of a window with the given style whose client area is width by height at dpi.
SIZE windowSizeFor(int width, int height, DWORD style, DWORD extendedStyle, UINT dpi);

}  // namespace quillet
