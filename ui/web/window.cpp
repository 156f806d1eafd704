#include "ui/web/window.h"

#include "ui/web/clock.h"
#include "ui/web/controls.h"

#include <stdexcept>

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
    for (const auto& [described, stack] : order) {
        const ControlDescription& c = *described;
        std::unique_ptr<ControlPeer> peer;
        switch (c.kind) {
        case ControlKind::Label:
            peer = std::make_unique<Label>(c);
            break;
        case ControlKind::Timer:
            peer = std::make_unique<Clock>(c.interval);
            break;
        case ControlKind::CommandButton:
            peer = std::make_unique<CommandButton>();
            break;
        case ControlKind::OptionButton: {
            auto option = std::make_unique<OptionButton>(c);
            auto& group = groups_[c.container];
            group.push_back(option.get());
            option->joinGroup(&group);
            peer = std::move(option);
            break;
        }
        case ControlKind::Frame:
            peer = std::make_unique<Frame>();
            break;
        case ControlKind::ListBox:
            peer = std::make_unique<ListBox>(c);
            break;
        case ControlKind::HScrollBar:
            peer = std::make_unique<ScrollBar>(c);
            break;
        case ControlKind::TextBox:
            peer = std::make_unique<TextBox>();
            break;
        case ControlKind::PictureBox:
            peer = std::make_unique<PictureBox>(c);
            break;
        }
        if (c.kind != ControlKind::Timer) {
            int container = -1;
            if (!c.container.empty())
                container = dynamic_cast<Element&>(control(c.container, -1)).handle();
            const int handle = dynamic_cast<Element&>(*peer).handle();
            page::make(handle, description, c, container, stack);
            for (const std::u16string& item : c.items)
                page::listAdd(handle, item);
            if (c.kind == ControlKind::HScrollBar)
                page::scrollShow(handle, c.range.min, c.range.max, c.range.value);
        }
        controls_[{c.name, c.index}] = std::move(peer);
    }
}

FormWindow::~FormWindow() = default;

ControlPeer& FormWindow::control(std::string_view name, int16_t index) {
    const auto found = controls_.find(std::pair<std::string, int16_t>(name, index));
    if (found == controls_.end()) throw std::out_of_range("no control " + std::string(name));
    return *found->second;
}

void FormWindow::reportError(const std::u16string& message) {
    page::report(u"Kestramo", message);
}

void FormWindow::show() {
    page::show();
}

} // namespace ui::web
