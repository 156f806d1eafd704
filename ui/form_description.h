// What the window is made of: every control with its position, size, tab index,
// texts, colours, font and visibility, in twips as the form was laid out.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
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
    QString name{};
    int16_t index = -1; // -1 for a control that is not part of an array
    ControlKind kind = ControlKind::Label;
    int left = 0; // twips, from the top-left of the container's client area
    int top = 0;
    int width = 0;
    int height = 0;
    int tabIndex = -1; // -1: no place in the tab order (the timer)
    QString text{};    // caption or text
    std::optional<QColor> back{};
    int fontPoints = 0; // 0: the form's font
    bool visible = true;
    bool checked = false; // option button only: selected at start
    QString container{};  // empty: the form itself
    QStringList items{};
    QString accessibleName{}; // labels are named by their caption instead
    QString role{};           // what the control is for, told to screen readers
    int interval = 0;         // timer only
    ScrollRange range{};      // scroll bar only
};

struct FormDescription {
    QString name;
    QString caption;
    int clientWidth = 0; // twips
    int clientHeight = 0;
    QColor back;
    QString fontFamily;
    int fontPoints = 0;
    // Front of the drawing order first: a control drawn above those after it.
    std::vector<ControlDescription> controls;
};

const FormDescription& kestramoForm();

// The font the form names, at a size given in points, laid out at 96 dots per inch
// (15 twips a pixel) whatever the screen's own resolution.
QFont formFont(const FormDescription& form, int points);

} // namespace ui
