#include "ui/web/element.h"

namespace ui::web {

page::Json Element::described(const Placement& p) const {
    const ControlDescription& c = p.control;
    return std::move(page::Json()
                         .field("handle", handle())
                         .field("name", c.name)
                         .field("index", int(c.index))
                         .field("left", c.left)
                         .field("top", c.top)
                         .field("width", c.width)
                         .field("height", c.height)
                         .colour("back", c.back)
                         .field("points", int(fontOf(p.form, c).points))
                         .field("container", p.container)
                         .field("stack", p.stack)
                         .field("tabIndex", int(c.tabIndex))
                         .field("visible", bool(c.visible))
                         .field("accessibleName", c.accessibleName)
                         .field("role", c.role));
}

} // namespace ui::web
