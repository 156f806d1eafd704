// HScrollBar: the system's scroll bar control, drawing the range and value the program
// keeps; its scroll codes are the user's requests.
#pragma once

#include "ui/kept_controls.h"
#include "ui/win32/windowed.h"

namespace ui::win32 {

class ScrollBar : public KeptScrollBar, public Windowed {
public:
    ScrollBar(HWND form, const FormDescription& f, const ControlDescription& c);
    void setValueText(const std::u16string& text) override;
    // Arrows and track clicks ask for a step; a dragged thumb changes on release only.
    void scrolled(WORD code) override;

private:
    void show() override;
    int16_t dragged_ = 0;
};

} // namespace ui::win32
