#include "ui/win32/scroll_bar.h"

#include "ui/win32/accessibility.h"

#include <oleacc.h>

namespace ui::win32 {

ScrollBar::ScrollBar(HWND form, const FormDescription& f, const ControlDescription& c)
    : KeptScrollBar(c.range), Windowed(form, f, c, L"SCROLLBAR", SBS_HORZ) {
    annotateRole(hwnd_, ROLE_SYSTEM_SLIDER); // it sets the pace; it scrolls nothing
    show();
}

void ScrollBar::setValueText(const std::u16string& text) {
    if (annotateValue(hwnd_, text))
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
}

void ScrollBar::show() {
    SCROLLINFO info{
        sizeof info, SIF_RANGE | SIF_POS | SIF_PAGE, minimum(), maximum(), 0, value(), 0};
    SetScrollInfo(hwnd_, SB_CTL, &info, TRUE);
}

void ScrollBar::scrolled(WORD code) {
    switch (code) {
    case SB_LINELEFT:
        return request(ScrollRequest::LineLess);
    case SB_LINERIGHT:
        return request(ScrollRequest::LineMore);
    case SB_PAGELEFT:
        return request(ScrollRequest::PageLess);
    case SB_PAGERIGHT:
        return request(ScrollRequest::PageMore);
    case SB_LEFT:
        return request(ScrollRequest::Start);
    case SB_RIGHT:
        return request(ScrollRequest::End);
    case SB_THUMBTRACK: {
        // While dragged, only the thumb moves: the value changes on release.
        SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(hwnd_, SB_CTL, &info);
        dragged_ = int16_t(info.nTrackPos);
        SCROLLINFO shown{sizeof shown, SIF_POS, 0, 0, 0, dragged_, 0};
        SetScrollInfo(hwnd_, SB_CTL, &shown, TRUE);
        return;
    }
    case SB_THUMBPOSITION:
        return request(ScrollRequest::Thumb, dragged_);
    default:
        return; // SB_ENDSCROLL
    }
}

} // namespace ui::win32
