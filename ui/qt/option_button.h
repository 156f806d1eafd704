// OptionButton on QRadioButton; the options of one frame exclude each other.
#pragma once

#include "ui/peers.h"

#include <QRadioButton>

namespace ui::qt {

// A radio button that takes a click anywhere on its rectangle, not only on its
// indicator and text.
class OptionView : public QRadioButton {
public:
    OptionView(const QString& text, QWidget* parent) : QRadioButton(text, parent) {}

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

class OptionButton : public OptionButtonPeer {
public:
    OptionButton(QWidget* form, const std::u16string& caption, bool checked);
    bool isChecked() const override { return view_->isChecked(); }
    OptionView* view() const { return view_; }

private:
    OptionView* view_;
};

} // namespace ui::qt
