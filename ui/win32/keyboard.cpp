// The form's keyboard, as a dialog's: Tab through the tab order, the arrows between the
// options of a frame, Enter on a button, and the focus kept across a report or a switch
// of windows.
#include "ui/win32/window.h"

#include "ui/win32/option_button.h"

#include <algorithm>

namespace ui::win32 {

void FormWindow::restoreFocus() {
    if (focused_ && IsChild(hwnd_, focused_) && IsWindowVisible(focused_) &&
        IsWindowEnabled(focused_)) {
        SetFocus(focused_);
        return;
    }
    const std::vector<Windowed*> order = tabOrder();
    if (!order.empty()) SetFocus(order.front()->hwnd());
}

std::vector<Windowed*> FormWindow::tabOrder() const {
    std::vector<Windowed*> order;
    for (Windowed* w : windowed_) {
        const HWND h = w->hwnd();
        if (w->description().tabIndex < 0 || !(GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP)) continue;
        if (!IsWindowVisible(h) || !IsWindowEnabled(h)) continue;
        if (!w->isTabStop()) continue;
        order.push_back(w);
    }
    std::sort(order.begin(), order.end(), [](Windowed* a, Windowed* b) {
        return a->description().tabIndex < b->description().tabIndex;
    });
    return order;
}

void FormWindow::moveFocus(bool forward) {
    const std::vector<Windowed*> order = tabOrder();
    if (order.empty()) return;
    const HWND focus = GetFocus();
    auto at =
        std::find_if(order.begin(), order.end(), [&](Windowed* w) { return w->hwnd() == focus; });
    std::size_t next = 0;
    if (at != order.end()) {
        const std::size_t i = std::size_t(at - order.begin());
        next = forward ? (i + 1) % order.size() : (i + order.size() - 1) % order.size();
    }
    SetFocus(order[next]->hwnd());
}

bool FormWindow::preTranslate(const MSG& message) {
    if (message.message != WM_KEYDOWN || reporting_) return false;
    if (message.hwnd != hwnd_ && GetAncestor(message.hwnd, GA_ROOT) != hwnd_) return false;
    // Windows hides focus marks until the keyboard is used, as a dialog does: from now
    // on they show. (The system repaints only when the state really changes.)
    SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    // The form's own user data is the form, not a control.
    Windowed* focused = message.hwnd == hwnd_ ? nullptr : windowedOf(message.hwnd);
    switch (message.wParam) {
    case VK_TAB:
        moveFocus(!(GetKeyState(VK_SHIFT) & 0x8000));
        return true;
    case VK_UP:
    case VK_LEFT:
    case VK_DOWN:
    case VK_RIGHT: {
        auto* option = dynamic_cast<OptionButton*>(focused);
        if (!option) return false;
        // The other option of the frame, up or down: choosing it is a click.
        const bool down = message.wParam == VK_DOWN || message.wParam == VK_RIGHT;
        const int16_t index = int16_t(option->description().index + (down ? 1 : -1));
        const HWND target = window(option->description().name, index);
        if (!target) return true;
        SetFocus(target);
        SendMessageW(target, BM_CLICK, 0, 0);
        return true;
    }
    case VK_RETURN:
        if (focused && focused->pressedByEnter()) {
            SendMessageW(message.hwnd, BM_CLICK, 0, 0);
            return true;
        }
        return false;
    default:
        return false;
    }
}

int FormWindow::run(FormWindow& window) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window.preTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}

} // namespace ui::win32
