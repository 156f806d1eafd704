#include "ui/web/list_box.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, kw_make_list_box, (const char* description), {
    KestramoPage.make(KestramoPage.kinds.ListBox, JSON.parse(UTF8ToString(description)));
});
EM_JS(void, kw_list_add, (int handle, const char16_t* text, int length), {
    KestramoPage.at(handle).add(KestramoPage.text(text, length));
});
EM_JS(void, kw_list_clear, (int handle), { KestramoPage.at(handle).clear(); });
EM_JS(void, kw_list_set, (int handle, int index, const char16_t* text, int length), {
    KestramoPage.at(handle).set(index, KestramoPage.text(text, length));
});
EM_JS(void, kw_list_select, (int handle, int row), { KestramoPage.at(handle).select(row); });
EM_JS(void, kw_list_visible, (int handle, int visible), {
    KestramoPage.at(handle).setVisible(!!visible);
});
EM_JS(void, kw_list_enabled, (int handle, int enabled), {
    KestramoPage.at(handle).setEnabled(!!enabled);
});
EM_JS(void, kw_list_description, (int handle, const char16_t* text, int length), {
    KestramoPage.at(handle).setAccessibleDescription(KestramoPage.text(text, length));
});
// clang-format on

namespace ui::web {

ListBox::ListBox(const Placement& p) : KeptListBox(p.control) {
    kw_make_list_box(described(p).text().c_str());
    for (int32_t row = 0; row < count(); ++row)
        drawAdded(item(row));
}

void ListBox::setAccessibleDescription(const std::u16string& text) {
    kw_list_description(handle(), text.c_str(), int(text.size()));
}

void ListBox::drawAdded(const std::u16string& text) {
    kw_list_add(handle(), text.c_str(), int(text.size()));
}

void ListBox::drawCleared() {
    kw_list_clear(handle());
}

void ListBox::drawItem(int32_t index, const std::u16string& text) {
    kw_list_set(handle(), index, text.c_str(), int(text.size()));
}

void ListBox::drawSelected(int32_t row) {
    kw_list_select(handle(), row);
}

void ListBox::drawVisible(bool visible) {
    kw_list_visible(handle(), visible);
}

void ListBox::drawEnabled(bool enabled) {
    kw_list_enabled(handle(), enabled);
}

} // namespace ui::web
