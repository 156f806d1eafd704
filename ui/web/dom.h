// The page's side of the web binding: every control is an element of the page, made and
// changed by the scripts beside this file (page.js and a file per control kind). Each
// kind's peer calls its own constructor and functions there (EM_JS, in its own file);
// handles number the controls, and the page reports the user's actions back through the
// C entries kestramo_click, _select, _line, _page, _end, _thumb and _expired (dom.cpp),
// which it calls by name, checked when the page is built.
#pragma once

#include "ui/form_description.h"

#include <cstdint>
#include <optional>
#include <string>

namespace ui::web {

// Receives a control's events from the page; each kind of control answers its own.
class EventTarget {
public:
    virtual ~EventTarget() = default;
    virtual void clicked() {}
    // The user chose a row, by mouse, key or touch.
    virtual void selected(int) {}
    // A scroll bar's arrow or arrow key (sign -1 or 1), its track or page key, Home or End,
    // or its thumb let go at a value.
    virtual void stepLine(int) {}
    virtual void stepPage(int) {}
    virtual void toEnd(int) {}
    virtual void thumbAt(int) {}
    virtual void expired() {}
};

// Registers a control under a new handle; events for that handle go to `target`.
int registerTarget(EventTarget* target);
void unregisterTarget(int handle);

namespace page {

// A JSON object written field by field: its texts are quoted and escaped.
class Json {
public:
    Json& field(const char* name, std::u16string_view text);
    Json& field(const char* name, const std::string& text) {
        return field(name, std::u16string(text.begin(), text.end()));
    }
    Json& field(const char* name, int number) { return raw(name, std::to_string(number)); }
    Json& field(const char* name, bool flag) { return raw(name, flag ? "true" : "false"); }
    // A colour as 0xRRGGBB, -1 for none.
    Json& colour(const char* name, std::optional<Colour> colour);
    std::string text() const { return out_ + '}'; }

private:
    Json& raw(const char* name, const std::string& value);
    std::string out_ = "{";
};

int rgb(Colour colour);
void makeForm(const FormDescription& form);
// A label's or a text box's text.
void setText(int handle, const std::u16string& text);
// Tells a screen reader once, politely, through the page's status region.
void announce(const std::u16string& message);
// Shows the modal report; the rest of the page takes no input until it is closed.
void report(const std::u16string& title, const std::u16string& message);
// Shows the form, and places the focus on the first control of the tab order.
void show();

} // namespace page

} // namespace ui::web
