// The control model: the operations the handlers use, in twips, each carried to its
// widget by the peer a binding made. Only what the user does raises an event; operations
// from code raise none, except a change of the scroll bar's value, which runs its change
// handler at once.
#pragma once

#include "ui/peers.h"
#include "ui/runtime.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

// Controls are bound to their peers by address, so they stay where they were made.
template <typename Peer> class Control {
public:
    explicit Control(Peer& peer) : peer_(peer) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    // The peer may outlive the control (a window tears down after the form): its event
    // is cut here, so nothing it raises then can reach a handler that is gone.
    ~Control() {
        if (event_) *event_ = nullptr;
    }
    // The binding's side, for the binding itself and its tests.
    Peer& peer() const { return peer_; }

protected:
    // Wires the peer's event to the model's handler slot, looked up when the event comes.
    void forward(std::function<void()>& event, const std::function<void()>& handler) {
        event_ = &event;
        event = [&handler] {
            if (handler) handler();
        };
    }

    Peer& peer_;

private:
    std::function<void()>* event_ = nullptr;
};

class Label : public Control<LabelPeer> {
public:
    using Control::Control;
    std::u16string Caption() const { return peer_.caption(); }
    void Caption(const std::u16string& text) { peer_.setCaption(text); }
    float Height() const { return peer_.heightTwips(); }
    void Height(float twips);
    void HiddenFromReaders(bool hidden) { peer_.setHiddenFromReaders(hidden); }
};

class ListBox : public Control<ListBoxPeer> {
public:
    explicit ListBox(ListBoxPeer& peer);
    void AddItem(const std::u16string& text) { peer_.addItem(text); }
    void Clear() { peer_.clear(); }
    std::u16string List(int32_t index) const;
    void List(int32_t index, const std::u16string& text);
    int32_t ListCount() const { return peer_.count(); }
    // The selected row, -1 when none is selected.
    int32_t ListIndex() const { return peer_.selectedIndex(); }
    bool Visible() const { return peer_.isVisible(); }
    void Visible(bool visible) { peer_.setVisible(visible); }
    bool Enabled() const { return peer_.isEnabled(); }
    void Enabled(bool enabled) { peer_.setEnabled(enabled); }
    void AccessibleDescription(const std::u16string& text) { peer_.setAccessibleDescription(text); }

    // Raised when the user selects a row.
    std::function<void()> onClick;
};

class Timer : public Control<ClockPeer> {
public:
    explicit Timer(ClockPeer& peer);
    bool Enabled() const { return peer_.isActive(); }
    void Enabled(bool enabled);
    int32_t Interval() const { return peer_.interval(); }
    void Interval(int32_t milliseconds);

    // Raised once per interval while enabled.
    std::function<void()> onTimer;
    // Told just before a start or a new interval begins a new timetable of ticks, for
    // those who measure how well the ticks keep to it.
    std::function<void()> onSchedule;
};

class HScrollBar : public Control<ScrollBarPeer> {
public:
    explicit HScrollBar(ScrollBarPeer& peer);
    int16_t Min() const { return peer_.minimum(); }
    void Min(int16_t value);
    int16_t Max() const { return peer_.maximum(); }
    void Max(int16_t value);
    int16_t Value() const { return peer_.value(); }
    // A change raises onChange at once, nested in the caller; the same value raises nothing.
    void Value(int16_t value);
    // Said anew only when it changed: a screen reader hears each change.
    void ValueText(const std::u16string& text) {
        if (text != valueText_) peer_.setValueText(valueText_ = text);
    }

    std::function<void()> onChange;

private:
    void setRange(int16_t minimum, int16_t maximum);
    std::u16string valueText_;
};

class PictureBox : public Control<PictureBoxPeer> {
public:
    using Control::Control;
    float Width() const { return peer_.widthTwips(); }
    float Height() const { return peer_.heightTwips(); }
    void Cls() { peer_.clear(); }
    // The box-fill form of Line: fills the rectangle between two corners with one colour.
    void LineBF(double x1, double y1, double x2, double y2, Colour colour) {
        peer_.fillBox(x1, y1, x2, y2, colour);
    }
    // Renamed only when the name changed: a screen reader hears each renaming.
    void AccessibleName(const std::u16string& name) {
        if (name != name_) peer_.setAccessibleName(name_ = name);
    }

private:
    std::u16string name_;
};

class CommandButton : public Control<CommandButtonPeer> {
public:
    explicit CommandButton(CommandButtonPeer& peer);
    std::function<void()> onClick;
};

class OptionButton : public Control<OptionButtonPeer> {
public:
    explicit OptionButton(OptionButtonPeer& peer);
    bool Value() const { return peer_.isChecked(); }
    std::function<void()> onClick;
};

// A read-only multi-line box; it keeps its text as given (lines ended by CR LF).
class TextBox : public Control<TextBoxPeer> {
public:
    using Control::Control;
    const std::u16string& Text() const { return text_; }
    void Text(const std::u16string& text);

private:
    std::u16string text_;
};

class Frame : public Control<FramePeer> {
public:
    using Control::Control;
};

// Members addressed by a 16-bit index; a missing index is a run-time error.
template <typename Member> class ControlArray {
public:
    template <typename Peer> void add(int16_t index, Peer& peer) {
        if (std::size_t(index) >= members_.size()) members_.resize(std::size_t(index) + 1);
        members_[std::size_t(index)] = std::make_unique<Member>(peer);
    }
    Member& operator[](int16_t index) const {
        if (index < 0 || std::size_t(index) >= members_.size() || !members_[std::size_t(index)])
            rt::raise(rt::ErrorNumber::NoSuchArrayElement);
        return *members_[std::size_t(index)];
    }
    int16_t count() const { return int16_t(members_.size()); }

private:
    std::vector<std::unique_ptr<Member>> members_;
};

} // namespace ui
