// TextBox: a read-only multi-line edit control.
#pragma once

#include "ui/win32/windowed.h"

namespace ui::win32 {

class TextBox : public TextBoxPeer, public Windowed {
public:
    TextBox(HWND form, const FormDescription& f, const ControlDescription& c);
    void setText(const std::u16string& text) override;
    bool backColour(COLORREF& colour) const override;
};

} // namespace ui::win32
