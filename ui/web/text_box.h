// TextBox: a read-only multi-line box.
#pragma once

#include "ui/peers.h"
#include "ui/web/element.h"

namespace ui::web {

class TextBox : public TextBoxPeer, public Element {
public:
    explicit TextBox(const Placement& p);
    void setText(const std::u16string& text) override { page::setText(handle(), text); }
};

} // namespace ui::web
