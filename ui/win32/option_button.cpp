#include "ui/win32/option_button.h"

namespace ui::win32 {

OptionButton::OptionButton(HWND form, const FormDescription& f, const ControlDescription& c)
    : Windowed(form, f, c, L"BUTTON", BS_AUTORADIOBUTTON | (c.index == 0 ? WS_GROUP : 0)) {
    SendMessageW(hwnd_, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    takeEveryClick();
}

bool OptionButton::isChecked() const {
    return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

} // namespace ui::win32
