#include "ui/web/option_button.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, kw_make_option_button, (const char* description), {
    KestramoPage.make(KestramoPage.kinds.OptionButton, JSON.parse(UTF8ToString(description)));
});
EM_JS(void, kw_option_checked, (int handle, int checked), {
    KestramoPage.at(handle).setChecked(!!checked);
});
// clang-format on

namespace ui::web {

OptionButton::OptionButton(const Placement& p) : KeptOptionButton(p.control) {
    // The options of one container are one group: the browser's arrows move within it.
    kw_make_option_button(described(p)
                              .field("text", p.control.text)
                              .field("checked", isChecked())
                              .field("group", "group-" + p.control.container)
                              .text()
                              .c_str());
}

void OptionButton::drawChecked(bool checked) {
    kw_option_checked(handle(), checked);
}

} // namespace ui::web
