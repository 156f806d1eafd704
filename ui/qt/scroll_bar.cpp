#include "ui/qt/scroll_bar.h"

#include "ui/qt/convert.h"

#include <QAccessibleWidget>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
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
    void setCurrentValue(const QVariant& value) override {
        bar()->moveQuietly([&] { bar()->setValue(value.toInt()); });
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

// Qt 6.4's AT-SPI bridge speaks a moved slider as its bare step ("1"), for an AT-SPI value
// has no text there, and its description changes carry the object in place of the new
// text, so Orca can read neither. While the user moves the slider, its value change is kept
// from the bridge, and the new pace goes out as the description change the bridge should
// have sent: Orca speaks it once a move, the pace first ("397 мс. От 400 до 100 …"). The
// whole description goes with it, as the bridge's clients keep it for the next reading.
ScrollView* movedByUser = nullptr;
QAccessible::UpdateHandler passOn = nullptr;

void keepMoveQuiet(QAccessibleEvent* event) {
    if (event->type() == QAccessible::ValueChanged && event->object() == movedByUser) return;
    if (passOn) return passOn(event);
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(keepMoveQuiet);
}

// The bridge's own connection and its name for the object, as it sends its events.
void sendDescriptionChange(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    const QDBusConnection bus(QStringLiteral("a11y"));
    if (!accessible || !bus.isConnected()) return;
    QDBusMessage change = QDBusMessage::createSignal(
        QStringLiteral("/org/a11y/atspi/accessible/") +
            QString::number(QAccessible::uniqueId(accessible)),
        QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("PropertyChange"));
    change << QStringLiteral("accessible-description") << 0 << 0
           << QVariant::fromValue(QDBusVariant(accessible->text(QAccessible::Description)))
           << QVariantMap();
    bus.send(change);
}

} // namespace

ScrollView::ScrollView(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    static const bool installed = (QAccessible::installFactory(sliderAccessible), true);
    Q_UNUSED(installed);
}

void ScrollView::setValueText(const QString& text) {
    if (text == valueText_) return;
    valueText_ = text;
    if (QAccessible::isActive()) sendDescriptionChange(this);
}

void ScrollView::moveQuietly(const std::function<void()>& move) {
    if (!QAccessible::isActive() || movedByUser) return move();
    movedByUser = this;
    passOn = QAccessible::installUpdateHandler(keepMoveQuiet);
    move();
    quietEnds();
}

void ScrollView::quietEnds() {
    if (movedByUser != this) return;
    QAccessible::installUpdateHandler(passOn);
    movedByUser = nullptr;
    passOn = nullptr;
}

bool ScrollView::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::Timer: { // a held arrow's repeat
        bool handled = false;
        moveQuietly([&] { handled = QScrollBar::event(event); });
        return handled;
    }
    default:
        return QScrollBar::event(event);
    }
}

void ScrollView::sliderChange(SliderChange change) {
    // The value change has passed the bridge by now: whatever the change causes is heard.
    if (change == SliderValueChange) quietEnds();
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
