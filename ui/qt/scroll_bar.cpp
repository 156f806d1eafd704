#include "ui/qt/scroll_bar.h"

#include "ui/kept_controls.h"
#include "ui/qt/convert.h"
#include "ui/qt/quiet_move.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionFocusRect>

#include <map>

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
    void setCurrentValue(const QVariant& value) override {
        const QuietMove quiet(bar());
        bar()->setValue(value.toInt());
    }
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

ScrollView::ScrollView(QWidget* parent, const ScrollRange& steps)
    : QScrollBar(Qt::Horizontal, parent), steps_(steps) {
    static const bool installed = (QAccessible::installFactory(sliderAccessible), true);
    Q_UNUSED(installed);
    setRange(steps.min, steps.max);
    setValue(steps.value);
    // For the thumb's length and what a screen reader reads as the step.
    setSingleStep(steps.smallChange);
    setPageStep(steps.largeChange);
    connect(this, &QAbstractSlider::actionTriggered, this, &ScrollView::actionTaken);
}

void ScrollView::actionTaken(int action) {
    static const std::map<int, ScrollRequest> requests{
        {SliderSingleStepSub, ScrollRequest::LineLess},
        {SliderSingleStepAdd, ScrollRequest::LineMore},
        {SliderPageStepSub, ScrollRequest::PageLess},
        {SliderPageStepAdd, ScrollRequest::PageMore},
        {SliderToMinimum, ScrollRequest::Start},
        {SliderToMaximum, ScrollRequest::End},
        {SliderMove, ScrollRequest::Thumb}};
    const auto found = requests.find(action);
    if (found == requests.end()) return;
    const ScrollRange now{int16_t(minimum()), int16_t(maximum()), int16_t(value()),
                          steps_.smallChange, steps_.largeChange};
    setSliderPosition(requestedValue(now, found->second, sliderPosition()));
}

void ScrollView::setValueText(const QString& text) {
    valueText_ = text;
    if (QAccessible::isActive()) describeAnew(this);
}

bool ScrollView::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::Timer: { // a held arrow's repeat
        const QuietMove quiet(this);
        return QScrollBar::event(event);
    }
    default:
        return QScrollBar::event(event);
    }
}

void ScrollView::sliderChange(SliderChange change) {
    // The value change has passed the bridge by now: whatever the change causes is heard.
    if (change == SliderValueChange) QuietMove::endFor(this);
    QScrollBar::sliderChange(change);
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

ScrollBar::ScrollBar(QWidget* form, const ScrollRange& range) : view_(new ScrollView(form, range)) {
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
