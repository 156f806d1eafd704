// The controls on the page: each peer keeps the model's state in memory, shows it through
// its element, and raises its event only for what the user did there.
#pragma once

#include "ui/kept_scroll_bar.h"
#include "ui/peers.h"
#include "ui/web/dom.h"

#include <vector>

namespace ui::web {

// The handle of a control's element, with its events routed here.
class Element : public EventTarget {
public:
    Element() : handle_(registerTarget(this)) {}
    ~Element() override { unregisterTarget(handle_); }
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;
    int handle() const { return handle_; }

private:
    int handle_;
};

class Label : public LabelPeer, public Element {
public:
    explicit Label(const ControlDescription& c) : caption_(c.text), height_(float(c.height)) {}
    std::u16string caption() const override { return caption_; }
    void setCaption(const std::u16string& caption) override;
    float heightTwips() const override { return height_; }
    void setHeightTwips(float twips) override;
    void setHiddenFromReaders(bool hidden) override {
        page::setHiddenFromReaders(handle(), hidden);
    }

private:
    std::u16string caption_;
    float height_;
};

class ListBox : public ListBoxPeer, public Element {
public:
    explicit ListBox(const ControlDescription& c) : items_(c.items), visible_(c.visible) {}
    void addItem(const std::u16string& text) override;
    void clear() override;
    int32_t count() const override { return int32_t(items_.size()); }
    std::u16string item(int32_t index) const override { return items_[std::size_t(index)]; }
    void setItem(int32_t index, const std::u16string& text) override;
    int32_t selectedIndex() const override { return selected_; }
    bool isVisible() const override { return visible_; }
    void setVisible(bool visible) override;
    bool isEnabled() const override { return enabled_; }
    void setEnabled(bool enabled) override;
    void setAccessibleDescription(const std::u16string& text) override {
        page::setAccessibleDescription(handle(), text);
    }
    void selected(int row) override;

private:
    std::vector<std::u16string> items_;
    int32_t selected_ = -1;
    bool visible_;
    bool enabled_ = true;
};

class CommandButton : public CommandButtonPeer, public Element {
public:
    void clicked() override {
        if (onClick) onClick();
    }
};

class OptionButton : public OptionButtonPeer, public Element {
public:
    explicit OptionButton(const ControlDescription& c) : checked_(c.checked) {}
    bool isChecked() const override { return checked_; }
    // The options of one frame: choosing one clears the others.
    void joinGroup(std::vector<OptionButton*>* group) { group_ = group; }
    void clicked() override;

private:
    bool checked_;
    std::vector<OptionButton*>* group_ = nullptr;
};

class Frame : public FramePeer, public Element {};

class ScrollBar : public KeptScrollBar, public Element {
public:
    explicit ScrollBar(const ControlDescription& c) : KeptScrollBar(c.range) {}
    void setValueText(const std::u16string& text) override { page::setValueText(handle(), text); }
    void changed(int value) override { userMoved(value); }

private:
    void show() override;
};

class PictureBox : public PictureBoxPeer, public Element {
public:
    explicit PictureBox(const ControlDescription& c)
        : width_(float(c.width)), height_(float(c.height)) {}
    float widthTwips() const override { return width_; }
    float heightTwips() const override { return height_; }
    void clear() override { page::pictureClear(handle()); }
    void fillBox(double x1, double y1, double x2, double y2, Colour colour) override {
        page::pictureFill(handle(), x1, y1, x2, y2, colour);
    }
    void setAccessibleName(const std::u16string& name) override {
        page::setAccessibleName(handle(), name);
    }

private:
    float width_, height_;
};

class TextBox : public TextBoxPeer, public Element {
public:
    void setText(const std::u16string& text) override { page::setText(handle(), text); }
};

} // namespace ui::web
