// The controls whose state the program keeps itself, for the bindings whose widgets only
// draw what they are told (the page, Win32's scroll bar control, the headless binding).
// What the user asked for comes in as a request; what it changes is decided here, drawn
// through the hooks, and raised as an event only when it changed something.
#pragma once

#include "ui/form_description.h"
#include "ui/peers.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ui {

// What a user can ask of a scroll bar, whatever the toolkit calls it.
enum class ScrollRequest { LineLess, LineMore, PageLess, PageMore, Start, End, Thumb };

// The value a request moves to from the range's value: a line or a page less or more,
// either end, or the thumb let go at `thumbAt`; always inside the range.
int16_t requestedValue(const ScrollRange& range, ScrollRequest request, int thumbAt = 0);

class KeptScrollBar : public ScrollBarPeer {
public:
    explicit KeptScrollBar(const ScrollRange& range) : range_(range) {}
    int16_t minimum() const override { return range_.min; }
    int16_t maximum() const override { return range_.max; }
    int16_t value() const override { return range_.value; }
    void setRange(int16_t minimum, int16_t maximum) override;
    void setValue(int16_t value) override;
    // The user's request, drawn where it leads, and a change when it moved the value.
    void request(ScrollRequest request, int thumbAt = 0);

protected:
    // Draws the range and the value as they are now.
    virtual void show() {}

private:
    ScrollRange range_;
};

class KeptListBox : public ListBoxPeer {
public:
    explicit KeptListBox(const ControlDescription& d) : items_(d.items), visible_(d.visible) {}
    void addItem(const std::u16string& text) override;
    void clear() override;
    int32_t count() const override { return int32_t(items_.size()); }
    std::u16string item(int32_t index) const override { return items_.at(std::size_t(index)); }
    void setItem(int32_t index, const std::u16string& text) override;
    int32_t selectedIndex() const override { return selected_; }
    bool isVisible() const override { return visible_; }
    void setVisible(bool visible) override;
    bool isEnabled() const override { return enabled_; }
    void setEnabled(bool enabled) override;
    // The user chose a row. A hidden or greyed list takes no choice, nor a row it does not
    // have (false); the row already chosen is no change and raises nothing.
    bool choose(int32_t row);

protected:
    virtual void drawAdded(const std::u16string&) {}
    virtual void drawCleared() {}
    virtual void drawItem(int32_t, const std::u16string&) {}
    virtual void drawSelected(int32_t) {}
    virtual void drawVisible(bool) {}
    virtual void drawEnabled(bool) {}

private:
    std::vector<std::u16string> items_;
    int32_t selected_ = -1;
    bool visible_;
    bool enabled_ = true;
};

// An option of a frame: choosing it clears the other options of the same container.
class KeptOptionButton : public OptionButtonPeer {
public:
    explicit KeptOptionButton(const ControlDescription& d) : checked_(d.checked) {}
    bool isChecked() const override { return checked_; }
    // The user chose it: it is checked, the others of its frame cleared, then it is clicked.
    void choose();

protected:
    virtual void drawChecked(bool) {}

private:
    friend class OptionGroups;
    bool checked_;
    // Shared by the options of one frame; the grouping may end before they do.
    std::shared_ptr<std::vector<KeptOptionButton*>> group_;
};

// The option buttons of a form, grouped by the container they lie in.
class OptionGroups {
public:
    void add(const ControlDescription& d, KeptOptionButton& option);

private:
    std::map<std::string, std::shared_ptr<std::vector<KeptOptionButton*>>> groups_;
};

} // namespace ui
