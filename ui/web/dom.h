// The page's side of the web binding: every control is an element of the page, made and
// changed by the scripts beside this file (page.js and a file per control kind), which the
// functions here call. Handles number the controls; the page reports the user's actions
// back through the entries kestramo_click, _select, _change and _expired (dom.cpp).
#pragma once

#include "ui/form_description.h"

#include <cstdint>
#include <string>

namespace ui::web {

// Receives a control's events from the page; each kind of control answers its own.
class EventTarget {
public:
    virtual ~EventTarget() = default;
    virtual void clicked() {}
    // The user chose a row, by mouse, key or touch.
    virtual void selected(int) {}
    // The page's arrow, track, released thumb or key put the thumb at a value.
    virtual void changed(int) {}
    virtual void expired() {}
};

// Registers a control under a new handle; events for that handle go to `target`.
int registerTarget(EventTarget* target);
void unregisterTarget(int handle);

namespace page {

// Functions of the page that take numbers alone, defined in dom.cpp (EM_JS) and called
// directly; C names, so one name stands for each on both sides.
extern "C" {
void setLabelHeight(int handle, double twips);
void setVisible(int handle, int visible);
void setEnabled(int handle, int enabled);
void listClear(int handle);
void scrollShow(int handle, int min, int max, int value);
void pictureClear(int handle);
// Wakes the control with expired() once performance.now() reaches `deadlineMs`.
void wakeAt(int handle, double deadlineMs);
void cancelWake(int handle);
void setHiddenFromReaders(int handle, int hidden);
// Shows the form, and places the focus on the first control of the tab order.
void show();
}

void makeForm(const FormDescription& form);
// `container` is the handle of the control it lies in, -1 for the form; `stack` is its
// place in the drawing order, 0 at the back.
void make(int handle, const FormDescription& form, const ControlDescription& control, int container,
          int stack);
void setText(int handle, const std::u16string& text);
void listAdd(int handle, const std::u16string& text);
void listSet(int handle, int32_t index, const std::u16string& text);
void pictureFill(int handle, double x1, double y1, double x2, double y2, Colour colour);
void setValueText(int handle, const std::u16string& text);
void setAccessibleName(int handle, const std::u16string& name);
void setAccessibleDescription(int handle, const std::u16string& text);
// Tells a screen reader once, politely, through the page's status region.
void announce(const std::u16string& message);
// Shows the modal report; the rest of the page takes no input until it is closed.
void report(const std::u16string& title, const std::u16string& message);

} // namespace page

} // namespace ui::web
