#include "ui/headless/window.h"

#include <algorithm>
#include <stdexcept>

namespace ui::headless {

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

Window::Window(const FormDescription& description) {
    OptionGroups groups;
    for (const ControlDescription& d : description.controls) {
        switch (d.kind) {
        case ControlKind::Label:
            keep(d, std::make_unique<Label>(d));
            break;
        case ControlKind::ListBox:
            keep(d, std::make_unique<ListBox>(d));
            break;
        case ControlKind::CommandButton:
            keep(d, std::make_unique<CommandButton>());
            break;
        case ControlKind::Timer:
            keep(d, std::make_unique<Clock>(d));
            break;
        case ControlKind::Frame:
            keep(d, std::make_unique<Frame>());
            break;
        case ControlKind::OptionButton:
            groups.add(d, keep(d, std::make_unique<OptionButton>(d)));
            break;
        case ControlKind::PictureBox:
            keep(d, std::make_unique<PictureBox>(d));
            break;
        case ControlKind::HScrollBar:
            keep(d, std::make_unique<ScrollBar>(d));
            break;
        case ControlKind::TextBox:
            keep(d, std::make_unique<TextBox>());
            break;
        }
    }
}

void Window::reportError(const std::u16string& message) {
    reports.push_back(message);
    if (duringReport) duringReport();
}

} // namespace ui::headless
