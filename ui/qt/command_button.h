// CommandButton in the graphical style: its back colour fills the whole face.
#pragma once

#include "ui/peers.h"

#include <QPushButton>

namespace ui::qt {

class ButtonView : public QPushButton {
public:
    ButtonView(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

class CommandButton : public CommandButtonPeer {
public:
    CommandButton(QWidget* form, const std::u16string& caption);
    ButtonView* view() const { return view_; }

private:
    ButtonView* view_;
};

} // namespace ui::qt
