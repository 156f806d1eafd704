#include "ui/win32/label.h"

#include <algorithm>

namespace ui::win32 {

Label::Label(HWND form, const FormDescription& formDescription, const ControlDescription& control)
    : form_(form), formDescription_(formDescription), control_(control), caption_(control.text),
      height_(float(control.height)) {}

Label::~Label() {
    if (font_) DeleteObject(font_);
}

void Label::setDpi(UINT dpi) {
    if (dpi == dpi_) return;
    dpi_ = dpi;
    if (font_) DeleteObject(font_);
    font_ = createFont(fontOf(formDescription_, control_), dpi);
}

RECT Label::area(UINT dpi) const {
    RECT r = pixelRect(control_, dpi);
    // The label may have grown past its design height.
    r.bottom = std::max<LONG>(r.bottom, r.top + toPixels(height_, dpi));
    return r;
}

RECT Label::shown(UINT dpi) const {
    RECT r = pixelRect(control_, dpi);
    r.bottom = r.top + std::max(toPixels(height_, dpi), 0);
    return r;
}

void Label::setCaption(const std::u16string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    invalidate();
    // A screen reader reads the label's caption as its name (the counter's as its value):
    // the event names this label.
    const bool named = !control_.accessibleName.empty();
    NotifyWinEvent(named ? EVENT_OBJECT_VALUECHANGE : EVENT_OBJECT_NAMECHANGE, form_, OBJID_CLIENT,
                   accessibleId_);
}

void Label::setHiddenFromReaders(bool hidden) {
    if (hidden == hiddenFromReaders_) return;
    hiddenFromReaders_ = hidden;
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, form_, OBJID_CLIENT, accessibleId_);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, form_, OBJID_CLIENT, accessibleId_);
}

void Label::setHeightTwips(float twips) {
    const float before = height_;
    height_ = twips;
    if (toPixels(before, dpi_) != toPixels(twips, dpi_)) invalidate();
}

void Label::invalidate() const {
    if (!form_) return;
    RECT r = area(dpi_);
    // What the label uncovered is repainted too: the labels below it show there now.
    r.bottom = std::max<LONG>(r.bottom, pixelRect(control_, dpi_).bottom);
    InvalidateRect(form_, &r, FALSE);
}

void Label::paint(HDC dc, UINT dpi) const {
    const RECT shown = this->shown(dpi);
    if (shown.bottom <= shown.top) return;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, shown.left, shown.top, shown.right, shown.bottom);
    FillRect(dc, &shown, solidBrush(colorRef(control_.back.value_or(formDescription_.back))));
    SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    // The form's fore colour is the light scheme's black, whatever the desktop's scheme.
    SetTextColor(dc, colorRef({0, 0, 0}));
    RECT text = pixelRect(control_, dpi);
    text.bottom = text.top + 0x7FFF; // top-aligned; the clip cuts what the height hides
    DrawTextW(dc, wide(caption_), -1, &text, DT_CENTER | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
    RestoreDC(dc, saved);
}

} // namespace ui::win32
