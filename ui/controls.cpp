#include "ui/controls.h"

#include <algorithm>
#include <cmath>

namespace ui {

using rt::ErrorNumber;

void Label::Height(float twips) {
    if (!(twips >= 0.0f) || std::isinf(twips)) rt::raise(ErrorNumber::InvalidPropertyValue);
    peer_.setHeightTwips(twips);
}

ListBox::ListBox(ListBoxPeer& peer) : Control(peer) {
    forward(peer_.onSelect, onClick);
}

std::u16string ListBox::List(int32_t index) const {
    if (index < 0 || index >= peer_.count()) rt::raise(ErrorNumber::InvalidPropertyIndex);
    return peer_.item(index);
}

void ListBox::List(int32_t index, const std::u16string& text) {
    if (index < 0 || index >= peer_.count()) rt::raise(ErrorNumber::InvalidPropertyIndex);
    peer_.setItem(index, text);
}

Timer::Timer(ClockPeer& peer) : Control(peer) {
    forward(peer_.onTick, onTimer);
}

void Timer::Enabled(bool enabled) {
    if (!enabled) {
        peer_.stop();
    } else if (!peer_.isActive()) {
        if (onSchedule) onSchedule();
        peer_.start(); // a start waits a whole interval for the first tick
    }
}

void Timer::Interval(int32_t milliseconds) {
    if (milliseconds < 1 || milliseconds > 65535) rt::raise(ErrorNumber::InvalidPropertyValue);
    // On a running timer this restarts the wait, so the next tick is one new interval away.
    if (peer_.isActive() && onSchedule) onSchedule();
    peer_.setInterval(milliseconds);
}

HScrollBar::HScrollBar(ScrollBarPeer& peer) : Control(peer) {
    forward(peer_.onChange, onChange);
}

void HScrollBar::setRange(int16_t minimum, int16_t maximum) {
    const int16_t before = peer_.value();
    peer_.setRange(minimum, maximum);
    // A range that moves the thumb changes the value like any other set from code.
    if (peer_.value() != before && onChange) onChange();
}

void HScrollBar::Min(int16_t value) {
    setRange(value, std::max(value, peer_.maximum()));
}

void HScrollBar::Max(int16_t value) {
    setRange(std::min(value, peer_.minimum()), value);
}

void HScrollBar::Value(int16_t value) {
    if (value < peer_.minimum() || value > peer_.maximum())
        rt::raise(ErrorNumber::InvalidPropertyValue);
    if (value == peer_.value()) return;
    peer_.setValue(value);
    if (onChange) onChange();
}

CommandButton::CommandButton(CommandButtonPeer& peer) : Control(peer) {
    forward(peer_.onClick, onClick);
}

OptionButton::OptionButton(OptionButtonPeer& peer) : Control(peer) {
    forward(peer_.onClick, onClick);
}

void TextBox::Text(const std::u16string& text) {
    text_ = text;
    peer_.setText(text);
}

} // namespace ui
