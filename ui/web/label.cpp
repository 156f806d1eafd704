#include "ui/web/label.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, kw_make_label, (const char* description), {
    KestramoPage.make(KestramoPage.kinds.Label, JSON.parse(UTF8ToString(description)));
});
EM_JS(void, kw_label_height, (int handle, double twips), {
    KestramoPage.at(handle).setHeight(twips);
});
EM_JS(void, kw_label_hidden, (int handle, int hidden), {
    KestramoPage.at(handle).setHiddenFromReaders(!!hidden);
});
// clang-format on

namespace ui::web {

Label::Label(const Placement& p) : caption_(p.control.text), height_(float(p.control.height)) {
    kw_make_label(described(p).field("text", caption_).text().c_str());
}

void Label::setCaption(const std::u16string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    page::setText(handle(), caption_);
}

void Label::setHeightTwips(float twips) {
    height_ = twips;
    kw_label_height(handle(), twips);
}

void Label::setHiddenFromReaders(bool hidden) {
    kw_label_hidden(handle(), hidden);
}

} // namespace ui::web
