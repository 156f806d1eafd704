// TextBox: a read-only multi-line box with a vertical scroll bar.
#pragma once

#include "ui/peers.h"

#include <QPlainTextEdit>

namespace ui::qt {

class TextBox : public TextBoxPeer {
public:
    explicit TextBox(QWidget* form);
    void setText(const std::u16string& text) override;
    QPlainTextEdit* view() const { return view_; }

private:
    QPlainTextEdit* view_;
};

} // namespace ui::qt
