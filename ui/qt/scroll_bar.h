// HScrollBar on QScrollBar, with tracking off: a dragged thumb reports its value only
// when released, as the change event must.
#pragma once

#include "ui/form_description.h"
#include "ui/peers.h"

#include <QScrollBar>

namespace ui::qt {

// A horizontal scroll bar that also steps with the arrow keys, one step a press, as
// a click on an arrow does (Qt's scroll bar leaves those keys to its scroll area). A click
// in the track with any button is one step: no button jumps the thumb to the pointer.
// It shows that it has the focus.
class ScrollView : public QScrollBar {
public:
    // Its steps are the program's: each of Qt's actions is taken as the user's request,
    // and the program's rule decides where it leads.
    ScrollView(QWidget* parent, const ScrollRange& steps);
    // The value as a screen reader hears it ("289 мс"), kept in the description, since an
    // AT-SPI value here is a bare number; a change is heard as the pace alone.
    const QString& valueText() const { return valueText_; }
    void setValueText(const QString& text);

protected:
    bool event(QEvent* event) override;
    void sliderChange(SliderChange change) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void actionTaken(int action);
    ScrollRange steps_;
    QString valueText_;
};

class ScrollBar : public ScrollBarPeer {
public:
    ScrollBar(QWidget* form, const ScrollRange& range);
    int16_t minimum() const override { return int16_t(view_->minimum()); }
    int16_t maximum() const override { return int16_t(view_->maximum()); }
    int16_t value() const override { return int16_t(view_->value()); }
    void setRange(int16_t minimum, int16_t maximum) override;
    void setValue(int16_t value) override;
    void setValueText(const std::u16string& text) override;
    ScrollView* view() const { return view_; }

private:
    ScrollView* view_;
};

} // namespace ui::qt
