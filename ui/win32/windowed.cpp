#include "ui/win32/windowed.h"

#include "ui/win32/accessibility.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <vector>

namespace ui::win32 {

Windowed::Windowed(HWND form, const FormDescription& formDescription,
                   const ControlDescription& control, const wchar_t* windowClass, DWORD style,
                   DWORD exStyle)
    : formDescription_(formDescription), control_(control) {
    if (control.visible) style |= WS_VISIBLE;
    // The frame and the speed bar take no input, so they are no stops of the tab order.
    const bool takesFocus =
        control.kind != ControlKind::Frame && control.kind != ControlKind::PictureBox;
    if (control.tabIndex >= 0 && takesFocus) style |= WS_TABSTOP;
    // Siblings clip each other, so a control never paints over one that lies on it.
    hwnd_ = CreateWindowExW(exStyle, windowClass, wide(control.text),
                            WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, form, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Buttons and options are named by their captions; the rest by the form's names.
    const bool captioned =
        control.kind == ControlKind::CommandButton || control.kind == ControlKind::OptionButton;
    if (!captioned && !control.accessibleName.empty())
        annotate(hwnd_, control.accessibleName, control.role);
}

Windowed::~Windowed() {
    if (font_) DeleteObject(font_);
}

void Windowed::layout(UINT dpi, POINT origin) {
    RECT r = pixelRect(control_, dpi);
    OffsetRect(&r, origin.x, origin.y);
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    HFONT font = createFont(fontOf(formDescription_, control_), dpi);
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (font_) DeleteObject(font_);
    font_ = font;
}

bool Windowed::backColour(COLORREF& colour) const {
    if (!control_.back) return false;
    colour = colorRef(*control_.back);
    return true;
}

namespace {

// The button class takes a quick second click as a double click, which an owner-drawn
// button or an option only reports, neither pressing nor clicking: here it is a second
// press like the first, drawn pressed and clicked on release, as two clicks are on Linux.
LRESULT CALLBACK twoClicksProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR) {
    if (message == WM_LBUTTONDBLCLK) message = WM_LBUTTONDOWN;
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace

CommandButton::CommandButton(HWND form, const FormDescription& f, const ControlDescription& c)
    : Windowed(form, f, c, L"BUTTON", BS_OWNERDRAW) {
    SetWindowSubclass(hwnd_, twoClicksProc, 1, 0);
}

void CommandButton::draw(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pressed = item.itemState & ODS_SELECTED;
    FillRect(dc, &r, solidBrush(colorRef(control_.back.value_or(Colour{240, 240, 240}))));
    DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    RECT text = r;
    if (pressed) OffsetRect(&text, 1, 1);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, (item.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT)
                                                     : colorRef({0, 0, 0}));
    SelectObject(dc, font_);
    DrawTextW(dc, wide(control_.text), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    // The focus mark shows once the keyboard has been used (the window's UI state).
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = r;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
}

OptionButton::OptionButton(HWND form, const FormDescription& f, const ControlDescription& c)
    : Windowed(form, f, c, L"BUTTON", BS_AUTORADIOBUTTON | (c.index == 0 ? WS_GROUP : 0)) {
    SendMessageW(hwnd_, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    SetWindowSubclass(hwnd_, twoClicksProc, 1, 0);
}

bool OptionButton::isChecked() const {
    return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

namespace {

// A group box paints only its border and caption: its inside is filled here first, in its
// back colour, under the options that lie on it.
LRESULT CALLBACK frameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR back) {
    if (message == WM_PAINT || message == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(hwnd, &r);
        HDC dc = message == WM_ERASEBKGND ? reinterpret_cast<HDC>(wParam) : GetDC(hwnd);
        FillRect(dc, &r, solidBrush(COLORREF(back)));
        if (message == WM_ERASEBKGND) return 1;
        ReleaseDC(hwnd, dc);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace

Frame::Frame(HWND form, const FormDescription& f, const ControlDescription& c)
    : Windowed(form, f, c, L"BUTTON", BS_GROUPBOX) {
    SetWindowSubclass(hwnd_, frameProc, 1, colorRef(c.back.value_or(f.back)));
}

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

ScrollBar::ScrollBar(HWND form, const FormDescription& f, const ControlDescription& c)
    : KeptScrollBar(c.range), Windowed(form, f, c, L"SCROLLBAR", SBS_HORZ),
      smallChange_(c.range.smallChange), largeChange_(c.range.largeChange) {
    annotateRole(hwnd_, ROLE_SYSTEM_SLIDER); // it sets the pace; it scrolls nothing
    show();
}

void ScrollBar::setValueText(const std::u16string& text) {
    if (annotateValue(hwnd_, text))
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
}

void ScrollBar::show() {
    SCROLLINFO info{
        sizeof info, SIF_RANGE | SIF_POS | SIF_PAGE, minimum(), maximum(), 0, value(), 0};
    SetScrollInfo(hwnd_, SB_CTL, &info, TRUE);
}

void ScrollBar::scrolled(WORD request) {
    int next = value();
    switch (request) {
    case SB_LINELEFT:
        next -= smallChange_;
        break;
    case SB_LINERIGHT:
        next += smallChange_;
        break;
    case SB_PAGELEFT:
        next -= largeChange_;
        break;
    case SB_PAGERIGHT:
        next += largeChange_;
        break;
    case SB_LEFT:
        next = minimum();
        break;
    case SB_RIGHT:
        next = maximum();
        break;
    case SB_THUMBTRACK: {
        // While dragged, only the thumb moves: the value changes on release.
        SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(hwnd_, SB_CTL, &info);
        dragged_ = int16_t(info.nTrackPos);
        SCROLLINFO shown{sizeof shown, SIF_POS, 0, 0, 0, dragged_, 0};
        SetScrollInfo(hwnd_, SB_CTL, &shown, TRUE);
        return;
    }
    case SB_THUMBPOSITION:
        next = dragged_;
        break;
    default:
        return; // SB_ENDSCROLL
    }
    userMoved(next);
}

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
