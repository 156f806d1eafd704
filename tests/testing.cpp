#include "testing.h"

#include "app/application.h"

#include <QApplication>

namespace testing {

float ScriptedRandom::next() {
    ++draws;
    if (values_.empty()) {
        ++overruns;
        return last_;
    }
    last_ = values_.front();
    values_.pop_front();
    return last_;
}

ScriptedDraws::ScriptedDraws() {
    auto source = std::make_unique<ScriptedRandom>();
    source_ = source.get();
    previous_ = rt::setRandomSource(std::move(source));
}

ScriptedDraws::~ScriptedDraws() { rt::setRandomSource(std::move(previous_)); }

TestForm::TestForm()
    : form([this](QWidget*, const QString& message) { reports << message; }) {
    form.showCentred();
    QApplication::setActiveWindow(form.window());
}

float drawFor(int n) {
    // A quarter inside n's rounding interval, so single-precision error cannot matter;
    // below 1 for n = 100 too.
    return n == 0 ? 0.0025f : float((n - 0.25) / 100.0);
}

QImage snapshot(const Kestramo& form) { return form.window()->grab().toImage(); }

QColor colourAt(const Kestramo& form, QPoint point) {
    const QImage image = snapshot(form);
    const qreal dpr = image.devicePixelRatio();
    return image.pixelColor(QPoint(int(point.x() * dpr), int(point.y() * dpr)));
}

QPoint originOf(const QWidget* widget) { return widget->mapTo(widget->window(), QPoint(0, 0)); }

void click(QWidget* widget, QPoint at) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier,
                      at.isNull() ? widget->rect().center() : at);
}

void moveSlider(Kestramo& form, int value) {
    // As a keyboard or mouse step does: the widget's own value change, not the model's.
    form.HScroll1.widget()->setValue(value);
}

} // namespace testing
