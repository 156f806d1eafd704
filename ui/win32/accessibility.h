// What screen readers (Narrator, NVDA) read of the controls that have no text of their
// own to be named by: a Bulgarian name and description set on the window through the
// accessibility layer's dynamic annotation.
#pragma once

#include "ui/win32/native.h"

#include <memory>
#include <string>
#include <vector>

namespace ui::win32 {

// False where the system offers no annotation service.
bool annotate(HWND control, const std::u16string& name, const std::u16string& description);
// A role other than the window class's own (the speed control is a slider, the bar a
// picture), and a value as a screen reader says it ("289 мс").
bool annotateRole(HWND control, long role);
bool annotateValue(HWND control, const std::u16string& value);
// Marks a window as a polite live region: a screen reader reads its text when it
// signals EVENT_OBJECT_LIVEREGIONCHANGED.
bool annotateLiveRegion(HWND control);

} // namespace ui::win32

namespace ui::win32 {

class Label;

// The painted labels as the form's accessible object sees them. The form empties it when
// its window ends; an object a screen reader still holds then answers that it is gone.
struct AccessibleLabels {
    std::vector<const Label*> labels; // back to front, as painted
};

// The form's answer to WM_GETOBJECT for its client area: the standard object, with the
// painted labels added after the windowed children as static texts named by their current
// captions. Returns the LRESULT the message wants, or 0 to let the system answer.
LRESULT formAccessibleObject(HWND form, WPARAM wParam, LPARAM lParam,
                             const std::shared_ptr<const AccessibleLabels>& labels);

// Loads the accessibility library from the system folder, once; false where it is missing
// (the form's object is then the system's own).
bool loadAccessibilityLibrary();

// The child id of the first label in that object: the form's child windows come first.
LONG firstLabelChildId(HWND form);

} // namespace ui::win32
