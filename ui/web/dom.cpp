#include "ui/web/dom.h"

#include "ui/runtime.h"

#include <emscripten.h>

#include <cstdio>
#include <map>

// The page's functions live in page.js (KestramoPage, each control answering for itself)
// and clock.js (KestramoClock). Those that take numbers alone are called as they are
// (dom.h declares them); texts cross as UTF-16 code units in the module's memory, read
// there by the browser's decoder, and a form or a control's description as one JSON object.
// clang-format off
EM_JS(void, kw_form, (const char* description), {
    KestramoPage.makeForm(JSON.parse(UTF8ToString(description)));
});
EM_JS(void, kw_make, (const char* description), {
    KestramoPage.make(JSON.parse(UTF8ToString(description)));
});
EM_JS(void, kw_set_text, (int handle, const char16_t* text, int length), {
    KestramoPage.at(handle).setText(KestramoPage.text(text, length));
});
EM_JS(void, setLabelHeight, (int handle, double twips), {
    KestramoPage.at(handle).setHeight(twips);
});
EM_JS(void, setVisible, (int handle, int visible), {
    KestramoPage.at(handle).setVisible(!!visible);
});
EM_JS(void, setEnabled, (int handle, int enabled), {
    KestramoPage.at(handle).setEnabled(!!enabled);
});
EM_JS(void, kw_list_add, (int handle, const char16_t* text, int length), {
    KestramoPage.at(handle).add(KestramoPage.text(text, length));
});
EM_JS(void, listClear, (int handle), { KestramoPage.at(handle).clear(); });
EM_JS(void, kw_list_set, (int handle, int index, const char16_t* text, int length), {
    KestramoPage.at(handle).set(index, KestramoPage.text(text, length));
});
EM_JS(void, scrollShow, (int handle, int min, int max, int value), {
    KestramoPage.at(handle).show(min, max, value);
});
EM_JS(void, pictureClear, (int handle), { KestramoPage.at(handle).clear(); });
EM_JS(void, kw_picture_fill, (int handle, double x1, double y1, double x2, double y2, int colour), {
    KestramoPage.at(handle).fill(x1, y1, x2, y2, colour);
});
EM_JS(void, wakeAt, (int handle, double deadline), { KestramoClock.wakeAt(handle, deadline); });
EM_JS(void, cancelWake, (int handle), { KestramoClock.cancelWake(handle); });
EM_JS(void, kw_report, (const char16_t* title, int titleLength, const char16_t* text, int length), {
    KestramoPage.report(KestramoPage.text(title, titleLength), KestramoPage.text(text, length));
});
EM_JS(void, show, (), { KestramoPage.show(); });
EM_JS(void, setHiddenFromReaders, (int handle, int hidden), {
    KestramoPage.at(handle).setHiddenFromReaders(!!hidden);
});
EM_JS(void, kw_value_text, (int handle, const char16_t* text, int length), {
    KestramoPage.at(handle).setValueText(KestramoPage.text(text, length));
});
EM_JS(void, kw_accessible_name, (int handle, const char16_t* text, int length), {
    KestramoPage.at(handle).setAccessibleName(KestramoPage.text(text, length));
});
EM_JS(void, kw_accessible_description, (int handle, const char16_t* text, int length), {
    KestramoPage.at(handle).setAccessibleDescription(KestramoPage.text(text, length));
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

EventTarget* target(int handle) {
    const auto found = targets().find(handle);
    return found == targets().end() ? nullptr : found->second;
}

int rgb(std::optional<Colour> colour) {
    return colour ? colour->red << 16 | colour->green << 8 | colour->blue : -1;
}

int length(const std::u16string& text) {
    return int(text.size());
}

// The page's constructors go by these names (page.js: kinds).
const char* kindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
        return "Label";
    case ControlKind::ListBox:
        return "ListBox";
    case ControlKind::CommandButton:
        return "CommandButton";
    case ControlKind::Timer:
        return "Timer";
    case ControlKind::Frame:
        return "Frame";
    case ControlKind::OptionButton:
        return "OptionButton";
    case ControlKind::PictureBox:
        return "PictureBox";
    case ControlKind::HScrollBar:
        return "HScrollBar";
    case ControlKind::TextBox:
        return "TextBox";
    }
    return "";
}

// A JSON object written field by field: its texts are quoted and escaped.
class Json {
public:
    Json& field(const char* name, std::u16string_view text) {
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
    Json& field(const char* name, const std::string& text) {
        return field(name, std::u16string(text.begin(), text.end()));
    }
    Json& field(const char* name, int number) { return raw(name, std::to_string(number)); }
    Json& field(const char* name, bool flag) { return raw(name, flag ? "true" : "false"); }
    std::string text() const { return out_ + '}'; }

private:
    Json& raw(const char* name, const std::string& value) {
        out_ += out_.size() > 1 ? ",\"" : "\"";
        out_ += name;
        out_ += "\":" + value;
        return *this;
    }
    std::string out_ = "{";
};

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
    // The family is the page's own embedded font, named in page.css.
    kw_form(Json()
                .field("caption", form.caption)
                .field("width", form.clientWidth)
                .field("height", form.clientHeight)
                .field("back", rgb(form.back))
                .field("points", int(form.font.points))
                .text()
                .c_str());
}

void make(int handle, const FormDescription& form, const ControlDescription& c, int container,
          int stack) {
    kw_make(Json()
                .field("handle", handle)
                .field("kind", std::string(kindName(c.kind)))
                .field("name", c.name)
                .field("index", int(c.index))
                .field("left", c.left)
                .field("top", c.top)
                .field("width", c.width)
                .field("height", c.height)
                .field("back", rgb(c.back))
                .field("points", int(fontOf(form, c).points))
                .field("container", container)
                .field("stack", stack)
                .field("tabIndex", int(c.tabIndex))
                .field("visible", bool(c.visible))
                .field("checked", bool(c.checked))
                .field("text", c.text)
                .field("accessibleName", c.accessibleName)
                .field("role", c.role)
                .field("smallChange", int(c.range.smallChange))
                .field("largeChange", int(c.range.largeChange))
                .text()
                .c_str());
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

// The page's ways in, one for each thing a user does and one for a clock's wake-up; a
// handle with no control (gone, or never made) is ignored.
using ui::web::target;
extern "C" {
EMSCRIPTEN_KEEPALIVE void kestramo_click(int handle, int) {
    if (auto* t = target(handle)) t->clicked();
}
EMSCRIPTEN_KEEPALIVE void kestramo_select(int handle, int row) {
    if (auto* t = target(handle)) t->selected(row);
}
EMSCRIPTEN_KEEPALIVE void kestramo_change(int handle, int value) {
    if (auto* t = target(handle)) t->changed(value);
}
EMSCRIPTEN_KEEPALIVE void kestramo_expired(int handle, int) {
    if (auto* t = target(handle)) t->expired();
}
}
