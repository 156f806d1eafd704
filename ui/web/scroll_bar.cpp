#include "ui/web/scroll_bar.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, kw_make_scroll_bar, (const char* description), {
    KestramoPage.make(KestramoPage.kinds.HScrollBar, JSON.parse(UTF8ToString(description)));
});
EM_JS(void, kw_scroll_show, (int handle, int min, int max, int value), {
    KestramoPage.at(handle).show(min, max, value);
});
EM_JS(void, kw_scroll_value_text, (int handle, const char16_t* text, int length), {
    KestramoPage.at(handle).setValueText(KestramoPage.text(text, length));
});
// clang-format on

namespace ui::web {

ScrollBar::ScrollBar(const Placement& p) : KeptScrollBar(p.control.range) {
    kw_make_scroll_bar(described(p).text().c_str());
    show();
}

void ScrollBar::setValueText(const std::u16string& text) {
    kw_scroll_value_text(handle(), text.c_str(), int(text.size()));
}

void ScrollBar::show() {
    kw_scroll_show(handle(), minimum(), maximum(), value());
}

} // namespace ui::web
