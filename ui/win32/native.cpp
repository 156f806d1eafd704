#include "ui/win32/native.h"

#include <map>

namespace ui::win32 {

HFONT createFont(const Font& font, UINT dpi) {
    return CreateFontW(-MulDiv(font.points, int(dpi), 72), 0, 0, 0, font.weight, font.italic,
                       font.underline, font.strikeOut, BYTE(font.charset), OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, VARIABLE_PITCH | FF_ROMAN,
                       wide(font.family));
}

RECT pixelRect(const ControlDescription& control, UINT dpi) {
    return {toPixels(control.left, dpi), toPixels(control.top, dpi),
            toPixels(control.left + control.width, dpi),
            toPixels(control.top + control.height, dpi)};
}

HBRUSH solidBrush(COLORREF colour) {
    static std::map<COLORREF, HBRUSH> brushes;
    HBRUSH& brush = brushes[colour];
    if (!brush) brush = CreateSolidBrush(colour);
    return brush;
}

UINT dpiOf(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi) return dpi;
    }
    HDC screen = GetDC(nullptr);
    const UINT dpi = UINT(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    return dpi ? dpi : 96;
}

} // namespace ui::win32
