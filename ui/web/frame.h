// Frame: a group of options named by its caption.
#pragma once

#include "ui/peers.h"
#include "ui/web/element.h"

namespace ui::web {

class Frame : public FramePeer, public Element {
public:
    explicit Frame(const Placement& p);
};

} // namespace ui::web
