#include "ui/win32/window.h"

#include "ui/win32/accessibility.h"
#include "ui/win32/clock.h"
#include "ui/win32/label.h"
#include "ui/win32/picture_box.h"
#include "ui/win32/windowed.h"

#include <algorithm>
#include <stdexcept>

namespace ui::win32 {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

const wchar_t* formClass() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW; // replaced per window once it knows its form
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconW(wc.hInstance, L"IDI_ICON1");
        wc.hIconSm = wc.hIcon;
        wc.lpszClassName = L"KestramoForm";
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    return L"KestramoForm";
}

// The outer size of a window whose client area is given, at a DPI.
SIZE outerSize(int width, int height, UINT dpi) {
    RECT r{0, 0, width, height};
    using AdjustFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = reinterpret_cast<AdjustFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    if (adjustForDpi)
        adjustForDpi(&r, kStyle, FALSE, kExStyle, dpi);
    else
        AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
    return {r.right - r.left, r.bottom - r.top};
}

Windowed* windowedOf(HWND hwnd) {
    return reinterpret_cast<Windowed*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

} // namespace

FormWindow::FormWindow(const FormDescription& description) : description_(description) {
    hwnd_ = CreateWindowExW(kExStyle, formClass(), wide(description.caption), kStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, 100, 100, nullptr, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
    if (!hwnd_) throw std::runtime_error("the window could not be made");
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(windowProc));
    // Ready before a screen reader's first question, and with no unsafe path left to it.
    loadAccessibilityLibrary();
    // Made from the back of the drawing order to the front (the labels are painted in
    // that order); the windows are stacked afterwards.
    const auto& controls = description.controls;
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        const ControlDescription& c = *it;
        std::unique_ptr<ControlPeer> peer;
        switch (c.kind) {
        case ControlKind::Label: {
            auto label = std::make_unique<Label>(hwnd_, description, c);
            labels_.push_back(label.get());
            peer = std::move(label);
            break;
        }
        case ControlKind::Timer: {
            auto clock = std::make_unique<Clock>(hwnd_, c.interval);
            clock_ = clock.get();
            peer = std::move(clock);
            break;
        }
        case ControlKind::CommandButton:
            peer = std::make_unique<CommandButton>(hwnd_, description, c);
            break;
        case ControlKind::OptionButton:
            peer = std::make_unique<OptionButton>(hwnd_, description, c);
            break;
        case ControlKind::Frame:
            peer = std::make_unique<Frame>(hwnd_, description, c);
            break;
        case ControlKind::ListBox:
            peer = std::make_unique<ListBox>(hwnd_, description, c);
            break;
        case ControlKind::HScrollBar:
            peer = std::make_unique<ScrollBar>(hwnd_, description, c);
            break;
        case ControlKind::TextBox:
            peer = std::make_unique<TextBox>(hwnd_, description, c);
            break;
        case ControlKind::PictureBox:
            peer = std::make_unique<PictureBox>(hwnd_, description, c);
            break;
        }
        if (auto* windowed = dynamic_cast<Windowed*>(peer.get())) windowed_.push_back(windowed);
        controls_[{c.name, c.index}] = std::move(peer);
    }
    // A live region a screen reader reads when told, unseen: no size, no text drawn.
    announcer_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0, 0, 0,
                                 hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    annotateLiveRegion(announcer_);
    stack();
    // Beneath every control, where it can never cover one.
    SetWindowPos(announcer_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    accessibleLabels_ = std::make_shared<AccessibleLabels>();
    accessibleLabels_->labels.assign(labels_.begin(), labels_.end());
    const LONG firstLabel = firstLabelChildId(hwnd_);
    for (std::size_t i = 0; i < labels_.size(); ++i)
        labels_[i]->setAccessibleId(firstLabel + LONG(i));
    layout();
}

FormWindow::~FormWindow() {
    accessibleLabels_.reset(); // a screen reader's object now answers that the form is gone
    if (IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

ControlPeer& FormWindow::control(std::string_view name, int16_t index) {
    const auto found = controls_.find(std::pair<std::string, int16_t>(name, index));
    if (found == controls_.end()) throw std::out_of_range("no control " + std::string(name));
    return *found->second;
}

HWND FormWindow::window(std::string_view name, int16_t index) const {
    const auto found = controls_.find(std::pair<std::string, int16_t>(name, index));
    if (found == controls_.end()) return nullptr;
    auto* windowed = dynamic_cast<Windowed*>(found->second.get());
    return windowed ? windowed->hwnd() : nullptr;
}

void FormWindow::stack() {
    // A new child window goes to the bottom of its siblings, so they are stacked here as
    // the description lists them, front first; a container's controls just above it.
    std::vector<Windowed*> frontToBack;
    const auto& controls = description_.controls;
    const auto windowedOf = [this](const ControlDescription& c) -> Windowed* {
        for (Windowed* w : windowed_)
            if (&w->description() == &c) return w;
        return nullptr;
    };
    for (const ControlDescription& c : controls) {
        if (!c.container.empty()) continue;
        for (const ControlDescription& inside : controls)
            if (inside.container == c.name)
                if (Windowed* w = windowedOf(inside)) frontToBack.push_back(w);
        if (Windowed* w = windowedOf(c)) frontToBack.push_back(w);
    }
    for (Windowed* w : frontToBack)
        SetWindowPos(w->hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void FormWindow::layout() {
    dpi_ = dpiOf(hwnd_);
    const SIZE outer = outerSize(toPixels(description_.clientWidth, dpi_),
                                 toPixels(description_.clientHeight, dpi_), dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (Windowed* windowed : windowed_) {
        POINT origin{0, 0};
        if (!windowed->description().container.empty()) {
            for (Windowed* container : windowed_)
                if (container->description().name == windowed->description().container &&
                    container->description().index < 0) {
                    const RECT r = pixelRect(container->description(), dpi_);
                    origin = {r.left, r.top};
                }
        }
        windowed->layout(dpi_, origin);
    }
    for (Label* label : labels_)
        label->setDpi(dpi_);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void FormWindow::showCentred() {
    RECT window;
    GetWindowRect(hwnd_, &window);
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    const ScreenPoint origin =
        windowOrigin({work.left, work.top, work.right - work.left, work.bottom - work.top},
                     window.right - window.left, window.bottom - window.top);
    SetWindowPos(hwnd_, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    const std::vector<Windowed*> order = tabOrder();
    if (!order.empty()) SetFocus(order.front()->hwnd());
}

void FormWindow::reportError(const std::u16string& message) {
    reporting_ = true;
    const HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) focused_ = focus;
    MessageBoxW(hwnd_, wide(message), L"Kestramo", MB_OK | MB_ICONERROR);
    reporting_ = false;
    // The keyboard goes on where it was before the report.
    restoreFocus();
}

void FormWindow::announce(const std::u16string& message) {
    SetWindowTextW(announcer_, wide(message));
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, announcer_, OBJID_CLIENT, CHILDID_SELF);
}

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
        // Of a group of options only the chosen one is a stop, as in a dialog.
        if (auto* option = dynamic_cast<OptionButton*>(w); option && !option->isChecked()) continue;
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
        if (dynamic_cast<CommandButton*>(focused)) {
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

void FormWindow::paint(HDC dc, const RECT& area) {
    // Drawn off screen first, so a label's change never flickers.
    const int width = area.right - area.left, height = area.bottom - area.top;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SetViewportOrgEx(memory, -area.left, -area.top, nullptr);
    FillRect(memory, &area, solidBrush(colorRef(description_.back)));
    for (Label* label : labels_)
        label->paint(memory, dpi_);
    SetViewportOrgEx(memory, 0, 0, nullptr);
    BitBlt(dc, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

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
        if (auto* button = dynamic_cast<CommandButton*>(windowedOf(item->hwndItem))) {
            button->draw(*item);
            return TRUE;
        }
        break;
    }
    case WM_COMMAND: {
        Windowed* control = windowedOf(reinterpret_cast<HWND>(lParam));
        if (!control || reporting_) break;
        const WORD code = HIWORD(wParam);
        if (code == BN_CLICKED) {
            if (auto* button = dynamic_cast<CommandButton*>(control)) button->clicked();
            if (auto* option = dynamic_cast<OptionButton*>(control)) option->clicked();
        } else if (code == LBN_SELCHANGE) {
            if (auto* list = dynamic_cast<ListBox*>(control)) list->selectionChanged();
        }
        return 0;
    }
    case WM_HSCROLL:
        if (auto* bar = dynamic_cast<ScrollBar*>(windowedOf(reinterpret_cast<HWND>(lParam)))) {
            if (!reporting_) bar->scrolled(LOWORD(wParam));
            return 0;
        }
        break;
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
