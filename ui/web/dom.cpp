#include "ui/web/dom.h"

#include "ui/runtime.h"

#include <emscripten.h>

#include <cstdio>
#include <map>

// Texts cross as UTF-16 code units in the module's memory, read there by the browser's
// decoder; a form's or a control's description as one JSON object.
// clang-format off
EM_JS(void, kw_form, (const char* description), {
    KestramoPage.makeForm(JSON.parse(UTF8ToString(description)));
});
EM_JS(void, kw_set_text, (int handle, const char16_t* text, int length), {
    KestramoPage.at(handle).setText(KestramoPage.text(text, length));
});
EM_JS(void, kw_report, (const char16_t* title, int titleLength, const char16_t* text, int length), {
    KestramoPage.report(KestramoPage.text(title, titleLength), KestramoPage.text(text, length));
});
EM_JS(void, kw_show, (), { KestramoPage.show(); });
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

// A handle with no control (gone, or never made) is ignored.
EventTarget* target(int handle) {
    const auto found = targets().find(handle);
    return found == targets().end() ? nullptr : found->second;
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

Json& Json::field(const char* name, std::u16string_view text) {
    std::string quoted = "\"";
    for (const char c : rt::toUtf8(text)) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return raw(name, quoted + '"');
}

Json& Json::colour(const char* name, std::optional<Colour> colour) {
    return field(name, colour ? rgb(*colour) : -1);
}

Json& Json::raw(const char* name, const std::string& value) {
    out_ += out_.size() > 1 ? ",\"" : "\"";
    out_ += name;
    out_ += "\":" + value;
    return *this;
}

int rgb(Colour colour) {
    return colour.red << 16 | colour.green << 8 | colour.blue;
}

void makeForm(const FormDescription& form) {
    // The family is the page's own embedded font, named in page.css.
    kw_form(Json()
                .field("caption", form.caption)
                .field("width", form.clientWidth)
                .field("height", form.clientHeight)
                .colour("back", form.back)
                .field("points", int(form.font.points))
                .text()
                .c_str());
}

void setText(int handle, const std::u16string& text) {
    kw_set_text(handle, text.c_str(), int(text.size()));
}
void announce(const std::u16string& message) {
    kw_announce(message.c_str(), int(message.size()));
}
void report(const std::u16string& title, const std::u16string& message) {
    kw_report(title.c_str(), int(title.size()), message.c_str(), int(message.size()));
}
void show() {
    kw_show();
}

} // namespace page

} // namespace ui::web

// The page's ways in, one for each thing a user does and one for a clock's wake-up.
using ui::web::target;
extern "C" {
EMSCRIPTEN_KEEPALIVE void kestramo_click(int handle) {
    if (auto* t = target(handle)) t->clicked();
}
EMSCRIPTEN_KEEPALIVE void kestramo_select(int handle, int row) {
    if (auto* t = target(handle)) t->selected(row);
}
EMSCRIPTEN_KEEPALIVE void kestramo_line(int handle, int sign) {
    if (auto* t = target(handle)) t->stepLine(sign);
}
EMSCRIPTEN_KEEPALIVE void kestramo_page(int handle, int sign) {
    if (auto* t = target(handle)) t->stepPage(sign);
}
EMSCRIPTEN_KEEPALIVE void kestramo_end(int handle, int sign) {
    if (auto* t = target(handle)) t->toEnd(sign);
}
EMSCRIPTEN_KEEPALIVE void kestramo_thumb(int handle, int value) {
    if (auto* t = target(handle)) t->thumbAt(value);
}
EMSCRIPTEN_KEEPALIVE void kestramo_expired(int handle) {
    if (auto* t = target(handle)) t->expired();
}
}
