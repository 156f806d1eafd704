// CommandButton: an owner-drawn button, its back colour filling the whole face.
#pragma once

#include "ui/win32/windowed.h"

namespace ui::win32 {

class CommandButton : public CommandButtonPeer, public Windowed {
public:
    CommandButton(HWND form, const FormDescription& f, const ControlDescription& c);
    bool draw(const DRAWITEMSTRUCT& item) const override;
    void notified(WORD code) override {
        if (code == BN_CLICKED && onClick) onClick();
    }
    bool pressedByEnter() const override { return true; }
};

} // namespace ui::win32
