// A scroll bar whose range and value the program keeps itself, for the bindings whose
// control only draws what it is told (the page, Win32's scroll bar control, the headless
// binding): the value stays inside the range, and a user's move is a change only when it
// moves the value.
#pragma once

#include "ui/form_description.h"
#include "ui/peers.h"

#include <algorithm>

namespace ui {

class KeptScrollBar : public ScrollBarPeer {
public:
    explicit KeptScrollBar(const ScrollRange& range)
        : min_(range.min), max_(range.max), value_(range.value) {}
    int16_t minimum() const override { return min_; }
    int16_t maximum() const override { return max_; }
    int16_t value() const override { return value_; }
    void setRange(int16_t minimum, int16_t maximum) override {
        min_ = minimum;
        max_ = maximum;
        value_ = std::clamp(value_, min_, max_);
        show();
    }
    void setValue(int16_t value) override {
        value_ = value;
        show();
    }

protected:
    // The user put the thumb at `to` (an arrow, the track, a released thumb, a key): kept
    // inside the range and drawn there, and a change when it moved the value.
    void userMoved(int to) {
        const auto kept = int16_t(std::clamp(to, int(min_), int(max_)));
        const bool moved = kept != value_;
        value_ = kept;
        show();
        if (moved && onChange) onChange();
    }
    // Draws the range and the value as they are now.
    virtual void show() {}

private:
    int16_t min_, max_, value_;
};

} // namespace ui
