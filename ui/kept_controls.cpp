#include "ui/kept_controls.h"

#include <algorithm>

namespace ui {

int16_t requestedValue(const ScrollRange& range, ScrollRequest request, int thumbAt) {
    int to = range.value;
    switch (request) {
    case ScrollRequest::LineLess:
        to -= range.smallChange;
        break;
    case ScrollRequest::LineMore:
        to += range.smallChange;
        break;
    case ScrollRequest::PageLess:
        to -= range.largeChange;
        break;
    case ScrollRequest::PageMore:
        to += range.largeChange;
        break;
    case ScrollRequest::Start:
        to = range.min;
        break;
    case ScrollRequest::End:
        to = range.max;
        break;
    case ScrollRequest::Thumb:
        to = thumbAt;
        break;
    }
    return int16_t(std::clamp(to, int(range.min), int(range.max)));
}

void KeptScrollBar::setRange(int16_t minimum, int16_t maximum) {
    range_.min = minimum;
    range_.max = maximum;
    range_.value = std::clamp(range_.value, minimum, maximum);
    show();
}

void KeptScrollBar::setValue(int16_t value) {
    range_.value = value;
    show();
}

void KeptScrollBar::request(ScrollRequest request, int thumbAt) {
    const int16_t to = requestedValue(range_, request, thumbAt);
    const bool moved = to != range_.value;
    range_.value = to;
    // Drawn even when it stayed: a thumb let go away from its value goes back to it.
    show();
    if (moved && onChange) onChange();
}

void KeptListBox::addItem(const std::u16string& text) {
    items_.push_back(text);
    drawAdded(text);
}

void KeptListBox::clear() {
    items_.clear();
    selected_ = -1;
    drawCleared();
}

void KeptListBox::setItem(int32_t index, const std::u16string& text) {
    items_.at(std::size_t(index)) = text;
    drawItem(index, text);
}

void KeptListBox::setVisible(bool visible) {
    visible_ = visible;
    drawVisible(visible);
}

void KeptListBox::setEnabled(bool enabled) {
    enabled_ = enabled;
    drawEnabled(enabled);
}

bool KeptListBox::choose(int32_t row) {
    if (!visible_ || !enabled_ || row < 0 || row >= count()) return false;
    if (row == selected_) return true;
    selected_ = row;
    drawSelected(row);
    if (onSelect) onSelect();
    return true;
}

void KeptOptionButton::choose() {
    if (group_)
        for (KeptOptionButton* other : *group_)
            if (other != this && other->checked_) {
                other->checked_ = false;
                other->drawChecked(false);
            }
    checked_ = true;
    drawChecked(true);
    if (onClick) onClick();
}

void OptionGroups::add(const ControlDescription& d, KeptOptionButton& option) {
    auto& group = groups_[d.container];
    if (!group) group = std::make_shared<std::vector<KeptOptionButton*>>();
    group->push_back(&option);
    option.group_ = group;
}

} // namespace ui
