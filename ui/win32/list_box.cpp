#include "ui/win32/list_box.h"

#include "ui/win32/accessibility.h"

#include <oleacc.h>

#include <vector>

namespace ui::win32 {

ListBox::ListBox(HWND form, const FormDescription& f, const ControlDescription& c)
    : Windowed(form, f, c, L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER) {
    for (const std::u16string& text : c.items)
        addItem(text);
}

void ListBox::setAccessibleDescription(const std::u16string& text) {
    if (annotate(hwnd_, control_.accessibleName, text))
        NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
}

void ListBox::addItem(const std::u16string& text) {
    SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(text)));
}

void ListBox::clear() {
    SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
}

int32_t ListBox::count() const {
    return int32_t(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0));
}

std::u16string ListBox::item(int32_t index) const {
    const auto length = SendMessageW(hwnd_, LB_GETTEXTLEN, WPARAM(index), 0);
    if (length <= 0) return {};
    std::vector<wchar_t> text(std::size_t(length) + 1);
    SendMessageW(hwnd_, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
    return fromWide(text.data(), std::size_t(length));
}

void ListBox::setItem(int32_t index, const std::u16string& text) {
    // A list box has no way to change an item in place: replaced, with its selection kept.
    const int32_t selected = selectedIndex();
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd_, LB_DELETESTRING, WPARAM(index), 0);
    SendMessageW(hwnd_, LB_INSERTSTRING, WPARAM(index), reinterpret_cast<LPARAM>(wide(text)));
    if (selected == index) SendMessageW(hwnd_, LB_SETCURSEL, WPARAM(index), 0);
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    RECT item{};
    SendMessageW(hwnd_, LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&item));
    InvalidateRect(hwnd_, &item, TRUE);
}

int32_t ListBox::selectedIndex() const {
    const auto selected = SendMessageW(hwnd_, LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? -1 : int32_t(selected);
}

bool ListBox::isVisible() const {
    return GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE;
}

void ListBox::setVisible(bool visible) {
    ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

bool ListBox::isEnabled() const {
    return IsWindowEnabled(hwnd_);
}

void ListBox::setEnabled(bool enabled) {
    EnableWindow(hwnd_, enabled);
}

} // namespace ui::win32
