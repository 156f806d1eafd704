#include "ui/qt/scroll_bar.h"

#include "ui/qt/convert.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionFocusRect>

namespace ui::qt {

namespace {

// A screen reader meets the speed control as a slider (it sets a value; a scroll bar moves
// a view). Its value stays the control's own 0 to 100, which a screen reader can set; the
// pace in milliseconds leads its description, kept current, since Qt's AT-SPI value has no
// text of its own.
class SliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SliderAccessible(ScrollView* view) : QAccessibleWidget(view, QAccessible::Slider) {}
    QString text(QAccessible::Text kind) const override {
        const QString text = QAccessibleWidget::text(kind);
        if (kind != QAccessible::Description) return text;
        const QString& value = bar()->valueText();
        return value.isEmpty() ? text : value + QStringLiteral(". ") + text;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override { return bar()->value(); }
    void setCurrentValue(const QVariant& value) override { bar()->setValue(value.toInt()); }
    QVariant maximumValue() const override { return bar()->maximum(); }
    QVariant minimumValue() const override { return bar()->minimum(); }
    QVariant minimumStepSize() const override { return bar()->singleStep(); }

private:
    ScrollView* bar() const { return static_cast<ScrollView*>(widget()); }
};

QAccessibleInterface* sliderAccessible(const QString&, QObject* object) {
    auto* view = dynamic_cast<ScrollView*>(object);
    return view ? new SliderAccessible(view) : nullptr;
}

} // namespace

ScrollView::ScrollView(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    static const bool installed = (QAccessible::installFactory(sliderAccessible), true);
    Q_UNUSED(installed);
}

void ScrollView::setValueText(const QString& text) {
    if (text == valueText_) return;
    valueText_ = text;
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

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

namespace {

// The event as a plain left click: the middle button and Shift would jump the thumb.
QMouseEvent asLeftClick(const QMouseEvent& event) {
    const auto buttons = [](Qt::MouseButtons pressed) {
        return pressed & (Qt::LeftButton | Qt::MiddleButton) ? Qt::MouseButtons(Qt::LeftButton)
                                                             : Qt::MouseButtons();
    };
    return QMouseEvent(event.type(), event.position(), event.scenePosition(),
                       event.globalPosition(), Qt::LeftButton, buttons(event.buttons()),
                       event.modifiers() & ~Qt::ShiftModifier, event.pointingDevice());
}

bool isMiddleOrShifted(const QMouseEvent& event) {
    return event.button() == Qt::MiddleButton || (event.buttons() & Qt::MiddleButton) ||
           (event.modifiers() & Qt::ShiftModifier);
}

} // namespace

void ScrollView::mousePressEvent(QMouseEvent* event) {
    if (!isMiddleOrShifted(*event)) return QScrollBar::mousePressEvent(event);
    QMouseEvent left = asLeftClick(*event);
    QScrollBar::mousePressEvent(&left);
    event->setAccepted(left.isAccepted());
}

void ScrollView::mouseReleaseEvent(QMouseEvent* event) {
    if (!isMiddleOrShifted(*event)) return QScrollBar::mouseReleaseEvent(event);
    QMouseEvent left = asLeftClick(*event);
    QScrollBar::mouseReleaseEvent(&left);
    event->setAccepted(left.isAccepted());
}

void ScrollView::mouseMoveEvent(QMouseEvent* event) {
    if (!isMiddleOrShifted(*event)) return QScrollBar::mouseMoveEvent(event);
    QMouseEvent left = asLeftClick(*event);
    QScrollBar::mouseMoveEvent(&left);
    event->setAccepted(left.isAccepted());
}

void ScrollView::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    // Shown however the focus came, as the buttons show theirs.
    focus.state |= QStyle::State_KeyboardFocusChange;
    focus.rect = rect();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
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

void ScrollBar::setValueText(const std::u16string& text) {
    view_->setValueText(toQString(text));
}

} // namespace ui::qt
