#include "ui/web/frame.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, kw_make_frame, (const char* description), {
    KestramoPage.make(KestramoPage.kinds.Frame, JSON.parse(UTF8ToString(description)));
});
// clang-format on

namespace ui::web {

Frame::Frame(const Placement& p) {
    kw_make_frame(described(p).field("text", p.control.text).text().c_str());
}

} // namespace ui::web
