// What the window is made of: every control with its position, size, tab index,
// texts, colours, font and visibility, in twips as the form was laid out. Plain data,
// so that every binding builds the same window from it.
#pragma once

#include "ui/types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ui {

enum class ControlKind {
    Label,
    ListBox,
    CommandButton,
    Timer,
    Frame,
    OptionButton,
    PictureBox,
    HScrollBar,
    TextBox,
};

struct ScrollRange {
    int16_t min = 0;
    int16_t max = 0;
    int16_t value = 0;
    int16_t smallChange = 1;
    int16_t largeChange = 1;
};

struct ControlDescription {
    std::string name{};
    int16_t index = -1; // -1 for a control that is not part of an array
    ControlKind kind = ControlKind::Label;
    int left = 0; // twips, from the top-left of the container's client area
    int top = 0;
    int width = 0;
    int height = 0;
    int tabIndex = -1;     // -1: no place in the tab order (the timer)
    std::u16string text{}; // caption or text
    std::optional<Colour> back{};
    int fontPoints = 0; // 0: the form's font
    bool visible = true;
    bool checked = false;    // option button only: selected at start
    std::string container{}; // empty: the form itself
    std::vector<std::u16string> items{};
    std::u16string accessibleName{}; // labels are named by their caption instead
    std::u16string role{};           // what the control is for, told to screen readers
    int interval = 0;                // timer only
    ScrollRange range{};             // scroll bar only
};

struct FormDescription {
    std::string name;
    std::u16string caption;
    int clientWidth = 0; // twips
    int clientHeight = 0;
    Colour back;
    Font font; // inherited by every control that names no size of its own
    // Front of the drawing order first: a control drawn above those after it.
    std::vector<ControlDescription> controls;
};

const FormDescription& kestramoForm();

// The font a control is drawn in: the form's, at the control's own size where it names one.
Font fontOf(const FormDescription& form, const ControlDescription& control);

// A rectangle on the desktop in a binding's own units (pixels), and a point there.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Where a window of the outer size given opens: centred on the work area, and kept inside
// it; one larger than the work area keeps its top-left corner, its title bar and system
// menu, there, so that it can still be moved.
ScreenPoint windowOrigin(const ScreenRect& work, int width, int height);

} // namespace ui
