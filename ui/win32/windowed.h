// The controls that are windows of their own, on the plain Win32 control classes:
// command and option buttons, the frame, list boxes, the scroll bar and the text boxes.
// Operations from code send the control's messages; only the user's actions come back
// as events, through the form's WM_COMMAND and WM_HSCROLL.
#pragma once

#include "ui/kept_scroll_bar.h"
#include "ui/peers.h"
#include "ui/win32/native.h"

namespace ui::win32 {

// A child window of the form made from a control's description.
class Windowed {
public:
    Windowed(HWND form, const FormDescription& formDescription, const ControlDescription& control,
             const wchar_t* windowClass, DWORD style, DWORD exStyle = 0);
    virtual ~Windowed();
    Windowed(const Windowed&) = delete;
    Windowed& operator=(const Windowed&) = delete;

    HWND hwnd() const { return hwnd_; }
    const ControlDescription& description() const { return control_; }
    // Places the control at a DPI, inside its container (which starts at `origin`).
    virtual void layout(UINT dpi, POINT origin);
    // The colour its background is painted in, for WM_CTLCOLOR*; none for the default.
    virtual bool backColour(COLORREF& colour) const;

protected:
    const FormDescription& formDescription_;
    const ControlDescription& control_;
    HWND hwnd_;
    HFONT font_ = nullptr;
};

class CommandButton : public CommandButtonPeer, public Windowed {
public:
    CommandButton(HWND form, const FormDescription& f, const ControlDescription& c);
    // Owner-drawn in the graphical style: the back colour fills the whole face.
    void draw(const DRAWITEMSTRUCT& item) const;
    void clicked() {
        if (onClick) onClick();
    }
};

class OptionButton : public OptionButtonPeer, public Windowed {
public:
    OptionButton(HWND form, const FormDescription& f, const ControlDescription& c);
    bool isChecked() const override;
    void clicked() {
        if (onClick) onClick();
    }
};

class Frame : public FramePeer, public Windowed {
public:
    Frame(HWND form, const FormDescription& f, const ControlDescription& c);
};

class ListBox : public ListBoxPeer, public Windowed {
public:
    ListBox(HWND form, const FormDescription& f, const ControlDescription& c);
    void setAccessibleDescription(const std::u16string& text) override;
    void addItem(const std::u16string& text) override;
    void clear() override;
    int32_t count() const override;
    std::u16string item(int32_t index) const override;
    void setItem(int32_t index, const std::u16string& text) override;
    int32_t selectedIndex() const override;
    bool isVisible() const override;
    void setVisible(bool visible) override;
    bool isEnabled() const override;
    void setEnabled(bool enabled) override;
    // LBN_SELCHANGE comes only from the user's selection.
    void selectionChanged() {
        if (selectedIndex() >= 0 && onSelect) onSelect();
    }
};

class ScrollBar : public KeptScrollBar, public Windowed {
public:
    ScrollBar(HWND form, const FormDescription& f, const ControlDescription& c);
    void setValueText(const std::u16string& text) override;
    // WM_HSCROLL: arrows and track clicks step, a dragged thumb changes on release only.
    void scrolled(WORD request);

private:
    void show() override;
    int16_t smallChange_, largeChange_;
    int16_t dragged_ = 0;
};

class TextBox : public TextBoxPeer, public Windowed {
public:
    TextBox(HWND form, const FormDescription& f, const ControlDescription& c);
    void setText(const std::u16string& text) override;
    bool backColour(COLORREF& colour) const override;
};

} // namespace ui::win32
