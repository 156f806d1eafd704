#include "ui/web/command_button.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, kw_make_command_button, (const char* description), {
    KestramoPage.make(KestramoPage.kinds.CommandButton, JSON.parse(UTF8ToString(description)));
});
// clang-format on

namespace ui::web {

CommandButton::CommandButton(const Placement& p) {
    kw_make_command_button(described(p).field("text", p.control.text).text().c_str());
}

} // namespace ui::web
