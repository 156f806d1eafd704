// CommandButton: a click, a tap, Enter or Space on the page is its Click.
#pragma once

#include "ui/peers.h"
#include "ui/web/element.h"

namespace ui::web {

class CommandButton : public CommandButtonPeer, public Element {
public:
    explicit CommandButton(const Placement& p);
    void clicked() override {
        if (onClick) onClick();
    }
};

} // namespace ui::web
