#include "ui/headless/window.h"

#include <algorithm>
#include <stdexcept>

namespace ui::headless {

void ListBox::clear() {
    items_.clear();
    selected_ = -1;
}

void ListBox::setItem(int32_t index, const std::u16string& text) {
    items_.at(std::size_t(index)) = text;
}

bool ListBox::select(int32_t row) {
    if (!visible_ || !enabled_ || row < 0 || row >= count()) return false;
    selected_ = row;
    if (onSelect) onSelect();
    return true;
}

void Clock::start() {
    active_ = true;
    schedule_.start(now_, interval_);
}

void Clock::setInterval(int32_t milliseconds) {
    interval_ = milliseconds;
    if (active_) schedule_.start(now_, interval_);
}

bool Clock::wake() {
    if (!active_ || !schedule_.due(now_)) return false;
    ++ticks_;
    if (onTick) onTick();
    return true;
}

int Clock::advance(double ms) {
    const auto end = now_ + TickSchedule::Nanoseconds(ms * 1e6);
    int ticks = 0;
    // The handler may stop the clock or change its interval: look again after each tick.
    while (active_ && schedule_.hasDeadline() && schedule_.next() <= end) {
        now_ = schedule_.next();
        ticks += wake();
    }
    now_ = end;
    return ticks;
}

int Clock::wakeLate(double ms) {
    now_ += TickSchedule::Nanoseconds(ms * 1e6);
    return wake();
}

int Clock::runToTheEnd(int limit) {
    int ticks = 0;
    while (active_ && schedule_.hasDeadline() && ticks < limit) {
        now_ = schedule_.next();
        ticks += wake();
    }
    return ticks;
}

void ScrollBar::release() {
    if (!dragged_) return;
    const int value = *dragged_;
    dragged_.reset();
    userSet(value);
}

void PictureBox::fillBox(double x1, double y1, double x2, double y2, Colour colour) {
    fills_.push_back(
        {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2), colour});
}

std::optional<Colour> PictureBox::colourAt(double x, double y) const {
    if (x < 0 || y < 0 || x >= insideWidth() || y >= insideHeight()) return std::nullopt;
    for (auto it = fills_.rbegin(); it != fills_.rend(); ++it)
        if (x >= it->left && x < it->right && y >= it->top && y < it->bottom) return it->colour;
    return std::nullopt;
}

void OptionButton::click() {
    for (OptionButton* other : group_)
        other->checked_ = other == this;
    checked_ = true;
    if (onClick) onClick();
}

Window::Window(const FormDescription& description) {
    for (const ControlDescription& d : description.controls) {
        std::unique_ptr<ControlPeer> made;
        switch (d.kind) {
        case ControlKind::Label:
            made = std::make_unique<Label>(d);
            break;
        case ControlKind::ListBox:
            made = std::make_unique<ListBox>(d);
            break;
        case ControlKind::CommandButton:
            made = std::make_unique<CommandButton>();
            break;
        case ControlKind::Timer:
            made = std::make_unique<Clock>(d);
            break;
        case ControlKind::Frame:
            made = std::make_unique<Frame>();
            break;
        case ControlKind::OptionButton:
            made = std::make_unique<OptionButton>(d);
            break;
        case ControlKind::PictureBox:
            made = std::make_unique<PictureBox>(d);
            break;
        case ControlKind::HScrollBar:
            made = std::make_unique<ScrollBar>(d);
            break;
        case ControlKind::TextBox:
            made = std::make_unique<TextBox>();
            break;
        }
        peers_[{d.name, d.index}] = std::move(made);
    }
    // Options in the same container form one group.
    for (const ControlDescription& d : description.controls) {
        if (d.kind != ControlKind::OptionButton) continue;
        auto& option = peer<OptionButton>(d.name, d.index);
        for (const ControlDescription& other : description.controls)
            if (other.kind == ControlKind::OptionButton && other.container == d.container)
                option.group_.push_back(&peer<OptionButton>(other.name, other.index));
    }
}

ControlPeer& Window::control(std::string_view name, int16_t index) {
    const auto found = peers_.find(std::pair<std::string, int16_t>(name, index));
    if (found == peers_.end()) throw std::out_of_range("no control " + std::string(name));
    return *found->second;
}

void Window::reportError(const std::u16string& message) {
    reports.push_back(message);
    if (duringReport) duringReport();
}

} // namespace ui::headless
