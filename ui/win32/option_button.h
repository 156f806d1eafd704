// OptionButton: a radio button; the first of an array starts its group.
#pragma once

#include "ui/win32/windowed.h"

namespace ui::win32 {

class OptionButton : public OptionButtonPeer, public Windowed {
public:
    OptionButton(HWND form, const FormDescription& f, const ControlDescription& c);
    bool isChecked() const override;
    void notified(WORD code) override {
        if (code == BN_CLICKED && onClick) onClick();
    }
    // Of a group of options only the chosen one is a stop, as in a dialog.
    bool isTabStop() const override { return isChecked(); }
};

} // namespace ui::win32
