// ListBox: the system's list box; the selection is the control's own.
#pragma once

#include "ui/win32/windowed.h"

namespace ui::win32 {

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
    void notified(WORD code) override {
        if (code == LBN_SELCHANGE && selectedIndex() >= 0 && onSelect) onSelect();
    }
};

} // namespace ui::win32
