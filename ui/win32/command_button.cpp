#include "ui/win32/command_button.h"

namespace ui::win32 {

CommandButton::CommandButton(HWND form, const FormDescription& f, const ControlDescription& c)
    : Windowed(form, f, c, L"BUTTON", BS_OWNERDRAW) {
    takeEveryClick();
}

bool CommandButton::draw(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pressed = item.itemState & ODS_SELECTED;
    FillRect(dc, &r, solidBrush(colorRef(control_.back.value_or(Colour{240, 240, 240}))));
    DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    RECT text = r;
    if (pressed) OffsetRect(&text, 1, 1);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, (item.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT)
                                                     : colorRef({0, 0, 0}));
    SelectObject(dc, font_);
    DrawTextW(dc, wide(control_.text), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    // The focus mark shows once the keyboard has been used (the window's UI state).
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = r;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
    return true;
}

} // namespace ui::win32
