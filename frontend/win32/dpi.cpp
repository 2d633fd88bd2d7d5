#include "dpi.h"

namespace quillet {

namespace {

// A function of user32.dll that older systems lack, or nullptr.
template <typename Function>
Function* userFunction(const char* name) {
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(found));
}

UINT systemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

}  // namespace

UINT dpiOfWindow(HWND window) {
    static const auto getDpiForWindow = userFunction<decltype(GetDpiForWindow)>("GetDpiForWindow");
    return getDpiForWindow != nullptr ? getDpiForWindow(window) : systemDpi();
}

HFONT createMessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    // The layout was made for captions of 8 points; larger message fonts, such as Segoe UI's
    // 9 points, would run past their controls.
    metrics.lfMessageFont.lfHeight = -MulDiv(8, static_cast<int>(dpi), 72);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

SIZE windowSizeFor(int width, int height, DWORD style, DWORD extendedStyle, UINT dpi) {
    static const auto adjustWindowRectExForDpi =
        userFunction<decltype(AdjustWindowRectExForDpi)>("AdjustWindowRectExForDpi");
    RECT rect = {0, 0, width, height};
    if (adjustWindowRectExForDpi != nullptr) {
        adjustWindowRectExForDpi(&rect, style, FALSE, extendedStyle, dpi);
    } else {
        AdjustWindowRectEx(&rect, style, FALSE, extendedStyle);
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace quillet
