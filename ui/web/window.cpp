#include "ui/web/window.h"

#include "ui/kept_controls.h"
#include "ui/web/clock.h"
#include "ui/web/command_button.h"
#include "ui/web/frame.h"
#include "ui/web/label.h"
#include "ui/web/list_box.h"
#include "ui/web/option_button.h"
#include "ui/web/picture_box.h"
#include "ui/web/scroll_bar.h"
#include "ui/web/text_box.h"

#include <vector>

namespace ui::web {

FormWindow::FormWindow(const FormDescription& description) {
    page::makeForm(description);
    // The page places each element at its place in the drawing order, the back at 0; a
    // container is made before the controls that lie in it.
    const auto& controls = description.controls;
    std::vector<std::pair<const ControlDescription*, int>> order;
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t i = 0; i < controls.size(); ++i)
            if (controls[i].container.empty() == (pass == 0))
                order.emplace_back(&controls[i], int(controls.size() - 1 - i));
    OptionGroups groups;
    for (const auto& [described, stack] : order) {
        const ControlDescription& c = *described;
        const int container =
            c.container.empty() ? -1 : dynamic_cast<Element&>(control(c.container, -1)).handle();
        const Placement p{description, c, container, stack};
        switch (c.kind) {
        case ControlKind::Label:
            keep(c, std::make_unique<Label>(p));
            break;
        case ControlKind::Timer: // no element: the page only wakes it
            keep(c, std::make_unique<Clock>(c.interval));
            break;
        case ControlKind::CommandButton:
            keep(c, std::make_unique<CommandButton>(p));
            break;
        case ControlKind::OptionButton:
            groups.add(c, keep(c, std::make_unique<OptionButton>(p)));
            break;
        case ControlKind::Frame:
            keep(c, std::make_unique<Frame>(p));
            break;
        case ControlKind::ListBox:
            keep(c, std::make_unique<ListBox>(p));
            break;
        case ControlKind::HScrollBar:
            keep(c, std::make_unique<ScrollBar>(p));
            break;
        case ControlKind::TextBox:
            keep(c, std::make_unique<TextBox>(p));
            break;
        case ControlKind::PictureBox:
            keep(c, std::make_unique<PictureBox>(p));
            break;
        }
    }
}

void FormWindow::reportError(const std::u16string& message) {
    page::report(u"Kestramo", message);
}

} // namespace ui::web
