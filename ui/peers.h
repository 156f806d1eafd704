// What a toolkit binding gives the form: one peer per control, which carries the model's
// operations to its widget, in twips, and the user's events back. A binding makes the
// window and every peer from the form's description; the model never sees a widget.
// Operations from code raise no event; only what the user does calls a peer's event.
#pragma once

#include "ui/types.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ui {

class ControlPeer {
public:
    virtual ~ControlPeer() = default;
};

// A windowless label painted on the form: caption centred, top-aligned, wrapped at blanks.
class LabelPeer : public ControlPeer {
public:
    virtual std::u16string caption() const = 0;
    virtual void setCaption(const std::u16string& caption) = 0;
    // The top edge stays; a smaller height cuts the label off from the bottom.
    virtual float heightTwips() const = 0;
    virtual void setHeightTwips(float twips) = 0;
    // Left out of what a screen reader reads while another label hides it from sight.
    virtual void setHiddenFromReaders(bool hidden) = 0;
};

class ListBoxPeer : public ControlPeer {
public:
    virtual void addItem(const std::u16string& text) = 0;
    virtual void clear() = 0;
    virtual int32_t count() const = 0;
    // Indexes are checked by the model before they get here.
    virtual std::u16string item(int32_t index) const = 0;
    virtual void setItem(int32_t index, const std::u16string& text) = 0;
    // The selected row, -1 when none.
    virtual int32_t selectedIndex() const = 0;
    virtual bool isVisible() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    // The description a screen reader gives the list (the last lookup's answer leads it).
    virtual void setAccessibleDescription(const std::u16string& text) = 0;

    std::function<void()> onSelect; // the user selected a row
};

// The timer's clock: ticks on the window's thread by a TickSchedule's rules.
class ClockPeer : public ControlPeer {
public:
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual int32_t interval() const = 0;
    // On an active clock this restarts the timetable from now.
    virtual void setInterval(int32_t milliseconds) = 0;

    std::function<void()> onTick;
};

class ScrollBarPeer : public ControlPeer {
public:
    virtual int16_t minimum() const = 0;
    virtual int16_t maximum() const = 0;
    virtual int16_t value() const = 0;
    // The value is kept inside the new range.
    virtual void setRange(int16_t minimum, int16_t maximum) = 0;
    virtual void setValue(int16_t value) = 0;
    // What a screen reader says for the value, in place of the bare number.
    virtual void setValueText(const std::u16string& text) = 0;

    // After an arrow or track click, a dragged thumb's release, or a key; not during a drag.
    std::function<void()> onChange;
};

// A box with the 3-D border whose fills stay, through repaints, until it is cleared.
class PictureBoxPeer : public ControlPeer {
public:
    // The outer size, border included.
    virtual float widthTwips() const = 0;
    virtual float heightTwips() const = 0;
    virtual void clear() = 0;
    // Corners in the box's own twips from the top-left of its inside; clipped to it.
    virtual void fillBox(double x1, double y1, double x2, double y2, Colour colour) = 0;
    // The name a screen reader gives the picture, as it changes with what it shows.
    virtual void setAccessibleName(const std::u16string& name) = 0;
};

class CommandButtonPeer : public ControlPeer {
public:
    std::function<void()> onClick;
};

class OptionButtonPeer : public ControlPeer {
public:
    virtual bool isChecked() const = 0;
    std::function<void()> onClick; // selecting it clears the other option of its frame
};

// A read-only multi-line box.
class TextBoxPeer : public ControlPeer {
public:
    // Lines ended by CR LF, as the model holds them.
    virtual void setText(const std::u16string& text) = 0;
};

class FramePeer : public ControlPeer {};

// The window: it owns the peers it made and reports a run-time error to the user.
class FormPeer {
public:
    virtual ~FormPeer() = default;
    // The peer of a control by name and array index (-1 for a single control).
    virtual ControlPeer& control(std::string_view name, int16_t index) = 0;
    // One report the user must acknowledge; it returns once he has.
    virtual void reportError(const std::u16string& message) = 0;
    // Tells a screen reader a message once, politely (after what it is saying), with
    // nothing shown on screen.
    virtual void announce(const std::u16string& message) = 0;
};

} // namespace ui
