#include "ui/form_window.h"

#include <stdexcept>

namespace ui {

ControlPeer& FormWindowBase::control(std::string_view name, int16_t index) {
    if (ControlPeer* peer = find(name, index)) return *peer;
    throw std::out_of_range("no control " + std::string(name));
}

ControlPeer* FormWindowBase::find(std::string_view name, int16_t index) const {
    const auto found = peers_.find(std::pair<std::string, int16_t>(name, index));
    return found == peers_.end() ? nullptr : found->second.get();
}

} // namespace ui
