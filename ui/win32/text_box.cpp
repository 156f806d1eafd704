#include "ui/win32/text_box.h"

namespace ui::win32 {

TextBox::TextBox(HWND form, const FormDescription& f, const ControlDescription& c)
    : Windowed(form, f, c, L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL,
               WS_EX_CLIENTEDGE) {}

void TextBox::setText(const std::u16string& text) {
    // The edit control shows CR LF as a line end: the text goes in as the model holds it.
    SetWindowTextW(hwnd_, wide(text));
}

bool TextBox::backColour(COLORREF& colour) const {
    // Read-only, yet in the window colour as an editable box, not greyed.
    colour = GetSysColor(COLOR_WINDOW);
    return true;
}

} // namespace ui::win32
