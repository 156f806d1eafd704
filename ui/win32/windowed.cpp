#include "ui/win32/windowed.h"

#include "ui/win32/accessibility.h"

#include <commctrl.h>
#include <oleacc.h>

namespace ui::win32 {

Windowed::Windowed(HWND form, const FormDescription& formDescription,
                   const ControlDescription& control, const wchar_t* windowClass, DWORD style,
                   DWORD exStyle)
    : formDescription_(formDescription), control_(control) {
    if (control.visible) style |= WS_VISIBLE;
    // The frame and the speed bar take no input, so they are no stops of the tab order.
    const bool takesFocus =
        control.kind != ControlKind::Frame && control.kind != ControlKind::PictureBox;
    if (control.tabIndex >= 0 && takesFocus) style |= WS_TABSTOP;
    // Siblings clip each other, so a control never paints over one that lies on it.
    hwnd_ = CreateWindowExW(exStyle, windowClass, wide(control.text),
                            WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, form, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Buttons and options are named by their captions; the rest by the form's names.
    const bool captioned =
        control.kind == ControlKind::CommandButton || control.kind == ControlKind::OptionButton;
    if (!captioned && !control.accessibleName.empty())
        annotate(hwnd_, control.accessibleName, control.role);
}

Windowed::~Windowed() {
    if (font_) DeleteObject(font_);
}

void Windowed::layout(UINT dpi, POINT origin) {
    RECT r = pixelRect(control_, dpi);
    OffsetRect(&r, origin.x, origin.y);
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    HFONT font = createFont(fontOf(formDescription_, control_), dpi);
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (font_) DeleteObject(font_);
    font_ = font;
}

bool Windowed::backColour(COLORREF& colour) const {
    if (!control_.back) return false;
    colour = colorRef(*control_.back);
    return true;
}

namespace {

// The button class takes a quick second click as a double click, which an owner-drawn
// button or an option only reports, neither pressing nor clicking: here it is a second
// press like the first, drawn pressed and clicked on release, as two clicks are on Linux.
LRESULT CALLBACK twoClicksProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR) {
    if (message == WM_LBUTTONDBLCLK) message = WM_LBUTTONDOWN;
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace

Windowed* windowedOf(HWND hwnd) {
    return reinterpret_cast<Windowed*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Windowed::takeEveryClick() {
    SetWindowSubclass(hwnd_, twoClicksProc, 1, 0);
}

} // namespace ui::win32
