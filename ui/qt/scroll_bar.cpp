#include "ui/qt/scroll_bar.h"

#include <QKeyEvent>
#include <QSignalBlocker>

namespace ui::qt {

void ScrollView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        triggerAction(SliderSingleStepSub);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        triggerAction(SliderSingleStepAdd);
        break;
    default:
        QScrollBar::keyPressEvent(event);
    }
}

ScrollBar::ScrollBar(QWidget* form) : view_(new ScrollView(form)) {
    view_->setTracking(false);
    view_->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(view_, &QScrollBar::valueChanged, view_, [this] {
        if (onChange) onChange();
    });
}

void ScrollBar::setRange(int16_t minimum, int16_t maximum) {
    const QSignalBlocker quiet(view_);
    view_->setRange(minimum, maximum);
}

void ScrollBar::setValue(int16_t value) {
    const QSignalBlocker quiet(view_);
    view_->setValue(value);
}

} // namespace ui::qt
