// The form's window procedure: painting, the controls' colours and drawing, their
// notifications handed to the control they came from, the accessible object of the painted
// labels, the focus kept across minimising and switching, the clock's ticks and a new DPI.
#include "ui/win32/window.h"

#include "ui/win32/clock.h"
#include "ui/win32/windowed.h"

namespace ui::win32 {

LRESULT CALLBACK FormWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT FormWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        if (ps.rcPaint.right > ps.rcPaint.left && ps.rcPaint.bottom > ps.rcPaint.top)
            paint(dc, ps.rcPaint);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: {
        // Also asked by themed controls with see-through parts (the frame) for what lies
        // under them: the back colour and the labels.
        HDC dc = reinterpret_cast<HDC>(wParam);
        RECT area;
        if (GetClipBox(dc, &area) == NULLREGION || area.right <= area.left)
            GetClientRect(hwnd_, &area);
        paint(dc, area);
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        Windowed* control = windowedOf(reinterpret_cast<HWND>(lParam));
        COLORREF back;
        if (!control || !control->backColour(back)) break;
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, back);
        SetTextColor(dc, colorRef({0, 0, 0}));
        return reinterpret_cast<LRESULT>(solidBrush(back));
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const Windowed* control = windowedOf(item->hwndItem);
        if (control && control->draw(*item)) return TRUE;
        break;
    }
    case WM_COMMAND: {
        Windowed* control = windowedOf(reinterpret_cast<HWND>(lParam));
        if (!control) break;
        if (!reporting_) control->notified(HIWORD(wParam));
        return 0;
    }
    case WM_HSCROLL: {
        Windowed* control = windowedOf(reinterpret_cast<HWND>(lParam));
        if (!control) break;
        if (!reporting_) control->scrolled(LOWORD(wParam));
        return 0;
    }
    case WM_GETOBJECT: {
        // The labels are painted, not windows: the form answers for them.
        if (!accessibleLabels_) break;
        if (const LRESULT object = formAccessibleObject(hwnd_, wParam, lParam, accessibleLabels_))
            return object;
        break;
    }
    case WM_SYSCOMMAND:
        // Minimising takes the focus away before the form is deactivated: note it first.
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus)) focused_ = focus;
        }
        break;
    case WM_SIZE:
        // Restored, the form was activated while still minimised, when no control could
        // take the focus: it goes back to the one that had it now.
        if (wParam == SIZE_RESTORED && GetActiveWindow() == hwnd_ && !IsChild(hwnd_, GetFocus()))
            restoreFocus();
        break;
    case WM_ACTIVATE:
        // The focus stays with its control across Alt+Tab, not on the form itself, where
        // no key would do anything.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus)) focused_ = focus;
        } else if (!HIWORD(wParam)) { // not while minimised
            restoreFocus();
        }
        return 0;
    case kTickMessage:
        if (clock_) clock_->expired();
        return 0;
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        layout();
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        accessibleLabels_.reset();
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

} // namespace ui::win32
