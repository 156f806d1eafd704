#include "ui/web/text_box.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, kw_make_text_box, (const char* description), {
    KestramoPage.make(KestramoPage.kinds.TextBox, JSON.parse(UTF8ToString(description)));
});
// clang-format on

namespace ui::web {

TextBox::TextBox(const Placement& p) {
    kw_make_text_box(described(p).field("text", p.control.text).text().c_str());
}

} // namespace ui::web
