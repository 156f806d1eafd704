#include "ui/web/dom.h"

#include <emscripten.h>

#include <map>

// The page's functions live in page.js as KestramoPage. Those that take numbers alone are
// called as they are (dom.h declares them); the ones below them carry texts, which cross as
// UTF-16 code units in the module's memory, read there without a change of encoding, and
// the form's descriptions, which cross field by field.
// clang-format off
EM_JS(void, kw_numbers, (int label, int listBox, int commandButton, int timer, int frame,
                         int optionButton, int pictureBox, int hScrollBar, int textBox, int click,
                         int select, int change, int expired), {
    KestramoPage.numbers({Label: label, ListBox: listBox, CommandButton: commandButton,
                          Timer: timer, Frame: frame, OptionButton: optionButton,
                          PictureBox: pictureBox, HScrollBar: hScrollBar, TextBox: textBox},
                         {Click: click, Select: select, Change: change, Expired: expired});
});
EM_JS(void, kw_form, (const char16_t* caption, int length, int width, int height, int back,
                      int points), {
    KestramoPage.makeForm(KestramoPage.text(caption, length), width, height, back, points);
});
EM_JS(void, kw_make, (int handle, int kind, const char* name, int index, int left, int top,
                      int width, int height, int back, int points, int container, int stack,
                      int tabIndex, int visible, int checked, const char16_t* text, int length,
                      const char16_t* accessible, int accessibleLength, const char16_t* role,
                      int roleLength, int smallChange, int largeChange), {
    KestramoPage.make({handle: handle, kind: kind, name: UTF8ToString(name), index: index,
                       left: left, top: top, width: width, height: height, back: back,
                       points: points, container: container, stack: stack, tabIndex: tabIndex,
                       visible: !!visible, checked: !!checked,
                       text: KestramoPage.text(text, length),
                       accessibleName: KestramoPage.text(accessible, accessibleLength),
                       role: KestramoPage.text(role, roleLength),
                       smallChange: smallChange, largeChange: largeChange});
});
EM_JS(void, kw_set_text, (int handle, const char16_t* text, int length), {
    KestramoPage.setText(handle, KestramoPage.text(text, length));
});
EM_JS(void, setLabelHeight, (int handle, double twips), {
    KestramoPage.setLabelHeight(handle, twips);
});
EM_JS(void, setVisible, (int handle, int visible), { KestramoPage.setVisible(handle, !!visible); });
EM_JS(void, setEnabled, (int handle, int enabled), { KestramoPage.setEnabled(handle, !!enabled); });
EM_JS(void, kw_list_add, (int handle, const char16_t* text, int length), {
    KestramoPage.listAdd(handle, KestramoPage.text(text, length));
});
EM_JS(void, listClear, (int handle), { KestramoPage.listClear(handle); });
EM_JS(void, kw_list_set, (int handle, int index, const char16_t* text, int length), {
    KestramoPage.listSet(handle, index, KestramoPage.text(text, length));
});
EM_JS(void, scrollShow, (int handle, int min, int max, int value), {
    KestramoPage.scrollShow(handle, min, max, value);
});
EM_JS(void, pictureClear, (int handle), { KestramoPage.pictureClear(handle); });
EM_JS(void, kw_picture_fill, (int handle, double x1, double y1, double x2, double y2, int colour), {
    KestramoPage.pictureFill(handle, x1, y1, x2, y2, colour);
});
EM_JS(void, wakeAt, (int handle, double deadline), { KestramoPage.wakeAt(handle, deadline); });
EM_JS(void, cancelWake, (int handle), { KestramoPage.cancelWake(handle); });
EM_JS(void, kw_report, (const char16_t* title, int titleLength, const char16_t* text, int length), {
    KestramoPage.report(KestramoPage.text(title, titleLength), KestramoPage.text(text, length));
});
EM_JS(void, show, (), { KestramoPage.show(); });
EM_JS(void, setHiddenFromReaders, (int handle, int hidden), {
    KestramoPage.setHiddenFromReaders(handle, !!hidden);
});
EM_JS(void, kw_value_text, (int handle, const char16_t* text, int length), {
    KestramoPage.setValueText(handle, KestramoPage.text(text, length));
});
EM_JS(void, kw_accessible_name, (int handle, const char16_t* text, int length), {
    KestramoPage.setAccessibleName(handle, KestramoPage.text(text, length));
});
EM_JS(void, kw_accessible_description, (int handle, const char16_t* text, int length), {
    KestramoPage.setAccessibleDescription(handle, KestramoPage.text(text, length));
});
EM_JS(void, kw_announce, (const char16_t* text, int length), {
    KestramoPage.announce(KestramoPage.text(text, length));
});
// clang-format on

namespace ui::web {

namespace {

std::map<int, EventTarget*>& targets() {
    static std::map<int, EventTarget*> map;
    return map;
}

int rgb(std::optional<Colour> colour) {
    return colour ? colour->red << 16 | colour->green << 8 | colour->blue : -1;
}

int length(const std::u16string& text) {
    return int(text.size());
}

} // namespace

int registerTarget(EventTarget* target) {
    static int next = 1;
    targets()[next] = target;
    return next++;
}

void unregisterTarget(int handle) {
    targets().erase(handle);
}

namespace page {

void makeForm(const FormDescription& form) {
    using K = ControlKind;
    kw_numbers(int(K::Label), int(K::ListBox), int(K::CommandButton), int(K::Timer), int(K::Frame),
               int(K::OptionButton), int(K::PictureBox), int(K::HScrollBar), int(K::TextBox),
               int(Event::Click), int(Event::Select), int(Event::Change), int(Event::Expired));
    // The family is the page's own embedded font, named in page.css.
    kw_form(form.caption.c_str(), length(form.caption), form.clientWidth, form.clientHeight,
            rgb(form.back), form.font.points);
}

void make(int handle, const FormDescription& form, const ControlDescription& c, int container,
          int stack) {
    kw_make(handle, int(c.kind), c.name.c_str(), c.index, c.left, c.top, c.width, c.height,
            rgb(c.back), fontOf(form, c).points, container, stack, c.tabIndex, c.visible, c.checked,
            c.text.c_str(), length(c.text), c.accessibleName.c_str(), length(c.accessibleName),
            c.role.c_str(), length(c.role), c.range.smallChange, c.range.largeChange);
}

void setText(int handle, const std::u16string& text) {
    kw_set_text(handle, text.c_str(), length(text));
}
void listAdd(int handle, const std::u16string& text) {
    kw_list_add(handle, text.c_str(), length(text));
}
void listSet(int handle, int32_t index, const std::u16string& text) {
    kw_list_set(handle, index, text.c_str(), length(text));
}
void pictureFill(int handle, double x1, double y1, double x2, double y2, Colour colour) {
    kw_picture_fill(handle, x1, y1, x2, y2, rgb(colour));
}
void setValueText(int handle, const std::u16string& text) {
    kw_value_text(handle, text.c_str(), length(text));
}
void setAccessibleName(int handle, const std::u16string& name) {
    kw_accessible_name(handle, name.c_str(), length(name));
}
void setAccessibleDescription(int handle, const std::u16string& text) {
    kw_accessible_description(handle, text.c_str(), length(text));
}
void announce(const std::u16string& message) {
    kw_announce(message.c_str(), length(message));
}
void report(const std::u16string& title, const std::u16string& message) {
    kw_report(title.c_str(), length(title), message.c_str(), length(message));
}

} // namespace page

} // namespace ui::web

// The page's way in: a user's action on a control, or a clock's wake-up.
extern "C" EMSCRIPTEN_KEEPALIVE void kestramo_event(int handle, int kind, int value) {
    const auto found = ui::web::targets().find(handle);
    if (found != ui::web::targets().end()) found->second->event(ui::web::Event(kind), value);
}
