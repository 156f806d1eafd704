#include "ui/controls.h"

#include <QSignalBlocker>

#include <cmath>

namespace ui {

using rt::ErrorNumber;

void Label::Height(float twips) {
    if (!(twips >= 0.0f) || std::isinf(twips)) rt::raise(ErrorNumber::InvalidPropertyValue);
    view_->setHeightTwips(twips);
}

ListBox::ListBox(QListWidget* view) : view_(view) {
    QObject::connect(view_, &QListWidget::itemSelectionChanged, view_, [this] {
        // Operations from code run with signals blocked, so only the user gets here.
        if (ListIndex() >= 0 && onClick) onClick();
    });
}

void ListBox::AddItem(const QString& text) {
    const QSignalBlocker quiet(view_);
    view_->addItem(text);
}

void ListBox::Clear() {
    const QSignalBlocker quiet(view_);
    view_->clear();
}

QString ListBox::List(int32_t index) const {
    if (index < 0 || index >= view_->count()) rt::raise(ErrorNumber::InvalidPropertyIndex);
    return view_->item(index)->text();
}

void ListBox::List(int32_t index, const QString& text) {
    if (index < 0 || index >= view_->count()) rt::raise(ErrorNumber::InvalidPropertyIndex);
    const QSignalBlocker quiet(view_);
    view_->item(index)->setText(text);
}

int32_t ListBox::ListIndex() const {
    const QList<QListWidgetItem*> selected = view_->selectedItems();
    return selected.isEmpty() ? -1 : view_->row(selected.first());
}

Timer::Timer(TickClock* clock) : clock_(clock) {
    clock_->onTick = [this] {
        if (onTimer) onTimer();
    };
}

void Timer::Enabled(bool enabled) {
    if (!enabled) {
        clock_->stop();
    } else if (!clock_->isActive()) {
        if (onSchedule) onSchedule();
        clock_->start(); // a start waits a whole interval for the first tick
    }
}

void Timer::Interval(int32_t milliseconds) {
    if (milliseconds < 1 || milliseconds > 65535) rt::raise(ErrorNumber::InvalidPropertyValue);
    // On a running timer this restarts the wait, so the next tick is one new interval away.
    if (clock_->isActive() && onSchedule) onSchedule();
    clock_->setInterval(milliseconds);
}

HScrollBar::HScrollBar(QScrollBar* view) : view_(view) {
    // With tracking off, a dragged thumb reports its value only when released.
    view_->setTracking(false);
    QObject::connect(view_, &QScrollBar::valueChanged, view_, [this] {
        if (onChange) onChange();
    });
}

void HScrollBar::setRange(int minimum, int maximum) {
    const int before = view_->value();
    {
        const QSignalBlocker quiet(view_);
        view_->setRange(minimum, maximum);
    }
    // A range that moves the thumb changes the value like any other set from code.
    if (view_->value() != before && onChange) onChange();
}

void HScrollBar::Min(int16_t value) {
    setRange(value, std::max<int>(value, view_->maximum()));
}

void HScrollBar::Max(int16_t value) {
    setRange(std::min<int>(value, view_->minimum()), value);
}

void HScrollBar::Value(int16_t value) {
    if (value < view_->minimum() || value > view_->maximum())
        rt::raise(ErrorNumber::InvalidPropertyValue);
    if (value == view_->value()) return;
    {
        const QSignalBlocker quiet(view_);
        view_->setValue(value);
    }
    if (onChange) onChange();
}

void PictureBox::LineBF(double x1, double y1, double x2, double y2, const QColor& colour) {
    view_->fillBox(QRectF(QPointF(x1, y1), QPointF(x2, y2)), colour);
}

CommandButton::CommandButton(QPushButton* view) : view_(view) {
    QObject::connect(view_, &QPushButton::clicked, view_, [this] {
        if (onClick) onClick();
    });
}

OptionButton::OptionButton(OptionView* view) : view_(view) {
    QObject::connect(view_, &QRadioButton::clicked, view_, [this] {
        if (onClick) onClick();
    });
}

void TextBox::Text(const QString& text) {
    text_ = text;
    // Shown with plain line feeds and without the closing line break, so that no
    // stray glyph stands for the CR and no empty line follows the last one.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);
    view_->setPlainText(shown);
}

} // namespace ui
