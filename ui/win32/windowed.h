// The controls that are windows of their own, on the plain Win32 control classes (a file
// per kind beside this one). Operations from code send the control's messages; only the
// user's actions come back as events, through the form's WM_COMMAND and WM_HSCROLL, which
// the form hands to the control they came from.
#pragma once

#include "ui/peers.h"
#include "ui/win32/native.h"

namespace ui::win32 {

// A child window of the form made from a control's description.
class Windowed;
// The control whose window this is; null for the form and other windows.
Windowed* windowedOf(HWND hwnd);

class Windowed {
public:
    Windowed(HWND form, const FormDescription& formDescription, const ControlDescription& control,
             const wchar_t* windowClass, DWORD style, DWORD exStyle = 0);
    virtual ~Windowed();
    Windowed(const Windowed&) = delete;
    Windowed& operator=(const Windowed&) = delete;

    HWND hwnd() const { return hwnd_; }
    const ControlDescription& description() const { return control_; }
    // Places the control at a DPI, inside its container (which starts at `origin`).
    virtual void layout(UINT dpi, POINT origin);
    // The colour its background is painted in, for WM_CTLCOLOR*; none for the default.
    virtual bool backColour(COLORREF& colour) const;
    // The user's action, as the control told its parent: WM_COMMAND's notification code,
    // WM_HSCROLL's request.
    virtual void notified(WORD) {}
    virtual void scrolled(WORD) {}
    // WM_DRAWITEM for an owner-drawn control; false when it draws itself.
    virtual bool draw(const DRAWITEMSTRUCT&) const { return false; }
    // Whether Tab stops here now, and whether Enter presses it.
    virtual bool isTabStop() const { return true; }
    virtual bool pressedByEnter() const { return false; }

protected:
    // A quick second click is a second press and click, not a double click.
    void takeEveryClick();

    const FormDescription& formDescription_;
    const ControlDescription& control_;
    HWND hwnd_;
    HFONT font_ = nullptr;
};

} // namespace ui::win32
