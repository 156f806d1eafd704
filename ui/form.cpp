#include "ui/form.h"

#include <stdexcept>
#include <string>

namespace ui {

template <typename Peer> Peer& Form::peerOf(std::string_view name, int16_t index) const {
    auto* peer = dynamic_cast<Peer*>(&peer_.control(name, index));
    // A binding that made the wrong kind of control is a fault of the program itself.
    if (!peer)
        throw std::logic_error("the binding made no control of this kind: " + std::string(name));
    return *peer;
}

template <typename Member>
void Form::bindArray(ControlArray<Member>& array, std::string_view name) {
    using Peer = std::remove_reference_t<decltype(std::declval<Member&>().peer())>;
    for (const ControlDescription& control : description_.controls)
        if (control.name == name) array.add(control.index, peerOf<Peer>(name, control.index));
}

Form::Form(FormPeer& peer, const FormDescription& description)
    : peer_(peer), description_(description) {
    bindArray(Label1, "Label1");
    bindArray(List1, "List1");
    bindArray(Command1, "Command1");
    bindArray(Option1, "Option1");
    bindArray(Text1, "Text1");
    for (const ControlDescription& control : description.controls)
        if (control.kind == ControlKind::TextBox) Text1[control.index].Text(control.text);
}

} // namespace ui
