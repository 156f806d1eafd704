#include "ui/win32/picture_box.h"

#include "ui/win32/accessibility.h"

#include <oleacc.h>

#include <algorithm>

namespace ui::win32 {

namespace {

LRESULT CALLBACK pictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (auto* box = dynamic_cast<PictureBox*>(
                reinterpret_cast<Windowed*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))))
            box->paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == WM_ERASEBKGND) return 1; // the bitmap covers all of it
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

const wchar_t* PictureBox::windowClass() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = pictureProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"KestramoPicture";
        return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
    return L"KestramoPicture";
}

PictureBox::PictureBox(HWND form, const FormDescription& f, const ControlDescription& c)
    : Windowed(form, f, c, windowClass(), 0, WS_EX_CLIENTEDGE) {
    annotateRole(hwnd_, ROLE_SYSTEM_GRAPHIC);
}

void PictureBox::setAccessibleName(const std::u16string& name) {
    if (annotate(hwnd_, name, control_.role))
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
}

PictureBox::~PictureBox() {
    if (memory_) {
        SelectObject(memory_, previous_);
        DeleteDC(memory_);
    }
    if (bitmap_) DeleteObject(bitmap_);
}

float PictureBox::widthTwips() const {
    RECT r;
    GetWindowRect(hwnd_, &r);
    return float(toTwips(r.right - r.left, dpi_));
}

float PictureBox::heightTwips() const {
    RECT r;
    GetWindowRect(hwnd_, &r);
    return float(toTwips(r.bottom - r.top, dpi_));
}

void PictureBox::layout(UINT dpi, POINT origin) {
    Windowed::layout(dpi, origin);
    dpi_ = dpi;
    redraw();
}

void PictureBox::redraw() {
    RECT inside;
    GetClientRect(hwnd_, &inside);
    HDC screen = GetDC(hwnd_);
    if (!memory_) {
        memory_ = CreateCompatibleDC(screen);
        previous_ = nullptr;
    }
    HBITMAP bitmap = CreateCompatibleBitmap(screen, std::max<LONG>(inside.right, 1),
                                            std::max<LONG>(inside.bottom, 1));
    ReleaseDC(hwnd_, screen);
    HGDIOBJ old = SelectObject(memory_, bitmap);
    if (!previous_) previous_ = old;
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = bitmap;
    FillRect(memory_, &inside, GetSysColorBrush(COLOR_BTNFACE));
    for (const Fill& fill : fills_)
        draw(fill);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::clear() {
    fills_.clear();
    RECT inside;
    GetClientRect(hwnd_, &inside);
    if (memory_) FillRect(memory_, &inside, GetSysColorBrush(COLOR_BTNFACE));
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::fillBox(double x1, double y1, double x2, double y2, Colour colour) {
    const Fill fill{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2), colour};
    RECT inside;
    GetClientRect(hwnd_, &inside);
    // A fill over the whole inside hides all before it: no need to keep those.
    if (fill.x1 <= 0 && fill.y1 <= 0 && fill.x2 >= toTwips(inside.right, dpi_) &&
        fill.y2 >= toTwips(inside.bottom, dpi_))
        fills_.clear();
    fills_.push_back(fill);
    draw(fill);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::draw(const Fill& fill) {
    if (!memory_) return;
    // Corners at device pixels, the far edges exclusive; clipped to the bitmap.
    RECT r{toPixels(fill.x1, dpi_), toPixels(fill.y1, dpi_), toPixels(fill.x2, dpi_),
           toPixels(fill.y2, dpi_)};
    FillRect(memory_, &r, solidBrush(colorRef(fill.colour)));
}

void PictureBox::paint(HDC dc) const {
    RECT inside;
    GetClientRect(hwnd_, &inside);
    if (memory_) BitBlt(dc, 0, 0, inside.right, inside.bottom, memory_, 0, 0, SRCCOPY);
}

} // namespace ui::win32
