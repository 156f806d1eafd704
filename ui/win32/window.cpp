#include "ui/win32/window.h"

#include "ui/win32/accessibility.h"
#include "ui/win32/clock.h"
#include "ui/win32/command_button.h"
#include "ui/win32/frame.h"
#include "ui/win32/label.h"
#include "ui/win32/list_box.h"
#include "ui/win32/option_button.h"
#include "ui/win32/picture_box.h"
#include "ui/win32/scroll_bar.h"
#include "ui/win32/text_box.h"

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
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        make(*it);
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

void FormWindow::make(const ControlDescription& c) {
    const FormDescription& f = description_;
    Windowed* windowed = nullptr;
    switch (c.kind) {
    case ControlKind::Label:
        labels_.push_back(&keep(c, std::make_unique<Label>(hwnd_, f, c)));
        break;
    case ControlKind::Timer:
        clock_ = &keep(c, std::make_unique<Clock>(hwnd_, c.interval));
        break;
    case ControlKind::PictureBox:
        windowed = &keep(c, std::make_unique<PictureBox>(hwnd_, f, c));
        break;
    case ControlKind::CommandButton:
        windowed = &keep(c, std::make_unique<CommandButton>(hwnd_, f, c));
        break;
    case ControlKind::OptionButton:
        windowed = &keep(c, std::make_unique<OptionButton>(hwnd_, f, c));
        break;
    case ControlKind::Frame:
        windowed = &keep(c, std::make_unique<Frame>(hwnd_, f, c));
        break;
    case ControlKind::ListBox:
        windowed = &keep(c, std::make_unique<ListBox>(hwnd_, f, c));
        break;
    case ControlKind::HScrollBar:
        windowed = &keep(c, std::make_unique<ScrollBar>(hwnd_, f, c));
        break;
    case ControlKind::TextBox:
        windowed = &keep(c, std::make_unique<TextBox>(hwnd_, f, c));
        break;
    }
    if (windowed) windowed_.push_back(windowed);
}

HWND FormWindow::window(std::string_view name, int16_t index) const {
    auto* windowed = dynamic_cast<Windowed*>(find(name, index));
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

} // namespace ui::win32
