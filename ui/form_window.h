// What every binding's window has in common: the peers it made for the form's controls,
// kept by name and array index. They outlive the binding's own widgets, which are torn down
// first, in the derived window.
#pragma once

#include "ui/form_description.h"
#include "ui/peers.h"

#include <map>
#include <memory>
#include <string>
#include <utility>

namespace ui {

class FormWindowBase : public FormPeer {
public:
    // A missing control is a fault of the program, thrown as std::out_of_range.
    ControlPeer& control(std::string_view name, int16_t index) override;

protected:
    // The peer of a control, or null when the form has none of that name.
    ControlPeer* find(std::string_view name, int16_t index) const;
    template <typename Peer> Peer& keep(const ControlDescription& d, std::unique_ptr<Peer> peer) {
        Peer& kept = *peer;
        peers_[{d.name, d.index}] = std::move(peer);
        return kept;
    }

private:
    std::map<std::pair<std::string, int16_t>, std::unique_ptr<ControlPeer>, std::less<>> peers_;
};

} // namespace ui
