#include "ui/web/controls.h"

#include <algorithm>

namespace ui::web {

void Label::setCaption(const std::u16string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    page::setText(handle(), caption_);
}

void Label::setHeightTwips(float twips) {
    height_ = twips;
    page::setLabelHeight(handle(), twips);
}

void ListBox::addItem(const std::u16string& text) {
    items_.push_back(text);
    page::listAdd(handle(), text);
}

void ListBox::clear() {
    items_.clear();
    selected_ = -1;
    page::listClear(handle());
}

void ListBox::setItem(int32_t index, const std::u16string& text) {
    items_[std::size_t(index)] = text;
    page::listSet(handle(), index, text);
}

void ListBox::setVisible(bool visible) {
    visible_ = visible;
    page::setVisible(handle(), visible);
}

void ListBox::setEnabled(bool enabled) {
    enabled_ = enabled;
    page::setEnabled(handle(), enabled);
}

void ListBox::selected(int row) {
    // The page cannot select in a greyed or hidden list; a stray report is ignored.
    if (!enabled_ || !visible_) return;
    if (row < 0 || row >= count()) return;
    selected_ = row;
    if (onSelect) onSelect();
}

void OptionButton::clicked() {
    if (group_)
        for (OptionButton* other : *group_)
            other->checked_ = other == this;
    checked_ = true;
    if (onClick) onClick();
}

void ScrollBar::show() {
    page::scrollShow(handle(), minimum(), maximum(), value());
}

} // namespace ui::web
