#include "ui/web/picture_box.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, kw_make_picture_box, (const char* description), {
    KestramoPage.make(KestramoPage.kinds.PictureBox, JSON.parse(UTF8ToString(description)));
});
EM_JS(void, kw_picture_clear, (int handle), { KestramoPage.at(handle).clear(); });
EM_JS(void, kw_picture_fill, (int handle, double x1, double y1, double x2, double y2, int colour), {
    KestramoPage.at(handle).fill(x1, y1, x2, y2, colour);
});
EM_JS(void, kw_picture_name, (int handle, const char16_t* text, int length), {
    KestramoPage.at(handle).setAccessibleName(KestramoPage.text(text, length));
});
// clang-format on

namespace ui::web {

PictureBox::PictureBox(const Placement& p)
    : width_(float(p.control.width)), height_(float(p.control.height)) {
    kw_make_picture_box(described(p).text().c_str());
}

void PictureBox::clear() {
    kw_picture_clear(handle());
}

void PictureBox::fillBox(double x1, double y1, double x2, double y2, Colour colour) {
    kw_picture_fill(handle(), x1, y1, x2, y2, page::rgb(colour));
}

void PictureBox::setAccessibleName(const std::u16string& name) {
    kw_picture_name(handle(), name.c_str(), int(name.size()));
}

} // namespace ui::web
