#include "ui/win32/frame.h"

#include <commctrl.h>

namespace ui::win32 {

namespace {

// A group box paints only its border and caption: its inside is filled here first, in its
// back colour, under the options that lie on it.
LRESULT CALLBACK frameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR back) {
    if (message == WM_PAINT || message == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(hwnd, &r);
        HDC dc = message == WM_ERASEBKGND ? reinterpret_cast<HDC>(wParam) : GetDC(hwnd);
        FillRect(dc, &r, solidBrush(COLORREF(back)));
        if (message == WM_ERASEBKGND) return 1;
        ReleaseDC(hwnd, dc);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace

Frame::Frame(HWND form, const FormDescription& f, const ControlDescription& c)
    : Windowed(form, f, c, L"BUTTON", BS_GROUPBOX) {
    SetWindowSubclass(hwnd_, frameProc, 1, colorRef(c.back.value_or(f.back)));
}

} // namespace ui::win32
