// OptionButton on QRadioButton; the options of one frame exclude each other.
#pragma once

#include "ui/peers.h"

#include <QRadioButton>

namespace ui::qt {

// A radio button that takes a click anywhere on its rectangle, not only on its indicator
// and text, and moves to the other option with Left and Right as with Up and Down.
// A screen reader's toggle is a click, so it reaches the handler as the mouse does.
class OptionView : public QRadioButton {
    Q_OBJECT

public:
    OptionView(const QString& text, QWidget* parent);

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    void keyPressEvent(QKeyEvent* event) override;
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
