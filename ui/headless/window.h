// The headless binding: every control's state held in memory, no toolkit and no display.
// Tests act as the user through it (click, select, move the slider) and step its clock
// by hand, so whole runs take microseconds and come out the same every time.
#pragma once

#include "ui/form_description.h"
#include "ui/form_window.h"
#include "ui/kept_controls.h"
#include "ui/peers.h"
#include "ui/tick_schedule.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ui::headless {

class Label : public LabelPeer {
public:
    explicit Label(const ControlDescription& d) : caption_(d.text), height_(float(d.height)) {}
    std::u16string caption() const override { return caption_; }
    void setCaption(const std::u16string& caption) override { caption_ = caption; }
    float heightTwips() const override { return height_; }
    void setHeightTwips(float twips) override { height_ = twips; }
    void setHiddenFromReaders(bool hidden) override { hiddenFromReaders_ = hidden; }
    bool hiddenFromReaders() const { return hiddenFromReaders_; }

private:
    std::u16string caption_;
    float height_;
    bool hiddenFromReaders_ = false;
};

class ListBox : public KeptListBox {
public:
    using KeptListBox::KeptListBox;
    void setAccessibleDescription(const std::u16string& text) override {
        accessibleDescription = text;
    }
    std::u16string accessibleDescription;
    // The user picks a row; false when refused.
    bool select(int32_t row) { return choose(row); }
};

// A clock whose time moves only when the test says so.
class Clock : public ClockPeer {
public:
    explicit Clock(const ControlDescription& d) : interval_(d.interval) {}
    void start() override;
    void stop() override { active_ = false; }
    bool isActive() const override { return active_; }
    int32_t interval() const override { return interval_; }
    void setInterval(int32_t milliseconds) override;

    TickSchedule::Nanoseconds now() const { return now_; }
    // Time passes by `ms`, waking exactly at each deadline on the way. Returns the ticks.
    int advance(double ms);
    // Time passes by `ms` with no wake-up on the way, then one wake-up: a late one.
    int wakeLate(double ms);
    // Wakes at each deadline until the clock stops by itself, at most `limit` ticks.
    int runToTheEnd(int limit = 100000);
    int ticks() const { return ticks_; }

private:
    bool wake();

    TickSchedule schedule_;
    TickSchedule::Nanoseconds now_ = 0;
    int32_t interval_;
    bool active_ = false;
    int ticks_ = 0;
};

class ScrollBar : public KeptScrollBar {
public:
    explicit ScrollBar(const ControlDescription& d) : KeptScrollBar(d.range) {}
    void setValueText(const std::u16string& text) override { valueText = text; }
    std::u16string valueText;

    // The user puts the thumb at `value` with a click or a key: a change if it moved.
    void userSet(int value) { request(ScrollRequest::Thumb, value); }
    // The user drags the thumb: nothing changes until it is released.
    void drag(int value) { dragged_ = value; }
    void release();

private:
    std::optional<int> dragged_;
};

// Keeps the fills in order, as the screen would show them, until cleared.
class PictureBox : public PictureBoxPeer {
public:
    struct Fill {
        double left, top, right, bottom; // twips of the inside, normalised
        Colour colour;
    };
    // The default 3-D border is two pixels on each side.
    static constexpr double kBorderTwips = 30;

    explicit PictureBox(const ControlDescription& d)
        : width_(float(d.width)), height_(float(d.height)) {}
    float widthTwips() const override { return width_; }
    float heightTwips() const override { return height_; }
    void clear() override { fills_.clear(); }
    void fillBox(double x1, double y1, double x2, double y2, Colour colour) override;
    void setAccessibleName(const std::u16string& name) override {
        accessibleName = name;
        ++renamed;
    }
    std::u16string accessibleName;
    int renamed = 0;

    const std::vector<Fill>& fills() const { return fills_; }
    // The colour shown at a point of the inside, in twips; nullopt for the back colour.
    std::optional<Colour> colourAt(double x, double y) const;
    double insideWidth() const { return width_ - 2 * kBorderTwips; }
    double insideHeight() const { return height_ - 2 * kBorderTwips; }

private:
    float width_, height_;
    std::vector<Fill> fills_;
};

class CommandButton : public CommandButtonPeer {
public:
    void click() {
        if (onClick) onClick();
    }
};

class OptionButton : public KeptOptionButton {
public:
    using KeptOptionButton::KeptOptionButton;
    // Selects this option, clears the others of its frame and raises the click.
    void click() { choose(); }
};

class TextBox : public TextBoxPeer {
public:
    void setText(const std::u16string& text) override { text_ = text; }
    const std::u16string& text() const { return text_; }

private:
    std::u16string text_;
};

class Frame : public FramePeer {};

class Window : public FormWindowBase {
public:
    explicit Window(const FormDescription& description = kestramoForm());
    void reportError(const std::u16string& message) override;
    void announce(const std::u16string& message) override { announcements.push_back(message); }

    // The peers by kind, for tests: window.label(2) is Label1(2).
    Label& label(int16_t index) { return peer<Label>("Label1", index); }
    ListBox& list(int16_t index) { return peer<ListBox>("List1", index); }
    CommandButton& button(int16_t index) { return peer<CommandButton>("Command1", index); }
    OptionButton& option(int16_t index) { return peer<OptionButton>("Option1", index); }
    TextBox& text(int16_t index) { return peer<TextBox>("Text1", index); }
    ScrollBar& slider() { return peer<ScrollBar>("HScroll1"); }
    PictureBox& bar() { return peer<PictureBox>("Picture1"); }
    Clock& clock() { return peer<Clock>("Timer1"); }

    std::vector<std::u16string> reports;
    std::vector<std::u16string> announcements;
    // Run inside a report, as a toolkit's message loop may deliver events while it shows.
    std::function<void()> duringReport;

private:
    template <typename Peer> Peer& peer(std::string_view name, int16_t index = -1) {
        return dynamic_cast<Peer&>(control(name, index));
    }
};

} // namespace ui::headless
