// The form: its controls by name, each bound to the peer its binding made for it.
#pragma once

#include "ui/controls.h"
#include "ui/form_description.h"

namespace ui {

class Form {
public:
    explicit Form(FormPeer& peer, const FormDescription& description = kestramoForm());
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    FormPeer& peer() const { return peer_; }
    const FormDescription& description() const { return description_; }

private:
    FormPeer& peer_;
    const FormDescription& description_;

    template <typename Peer> Peer& peerOf(std::string_view name, int16_t index = -1) const;
    template <typename Member> void bindArray(ControlArray<Member>& array, std::string_view name);

public:
    ControlArray<Label> Label1;
    ControlArray<ListBox> List1;
    ListBox List2{peerOf<ListBoxPeer>("List2")};
    ControlArray<CommandButton> Command1;
    ControlArray<OptionButton> Option1;
    ControlArray<TextBox> Text1;
    Frame Frame1{peerOf<FramePeer>("Frame1")};
    PictureBox Picture1{peerOf<PictureBoxPeer>("Picture1")};
    HScrollBar HScroll1{peerOf<ScrollBarPeer>("HScroll1")};
    Timer Timer1{peerOf<ClockPeer>("Timer1")};
};

} // namespace ui
