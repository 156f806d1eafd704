// A control's element on the page: its handle, with the user's events routed back here,
// and the description its kind's constructor on the page (a script beside this file) is
// made from.
#pragma once

#include "ui/web/dom.h"

namespace ui::web {

// Where a control's element goes: the form, the handle of the control it lies in (-1 for
// the form) and its place in the drawing order, 0 at the back.
struct Placement {
    const FormDescription& form;
    const ControlDescription& control;
    int container;
    int stack;
};

class Element : public EventTarget {
public:
    Element() : handle_(registerTarget(this)) {}
    ~Element() override { unregisterTarget(handle_); }
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;
    int handle() const { return handle_; }

protected:
    // What every kind's element is made from: its place, size, back colour, font, tab
    // stop, visibility and what a screen reader calls it; a kind adds its own fields.
    page::Json described(const Placement& p) const;

private:
    int handle_;
};

} // namespace ui::web
