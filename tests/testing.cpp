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

ScriptedDraws::~ScriptedDraws() {
    rt::setRandomSource(std::move(previous_));
}

TestForm::TestForm() : form([this](QWidget*, const QString& message) { reports << message; }) {
    form.showCentred();
    QApplication::setActiveWindow(form.window());
}

namespace {

QStringList items(const ui::ListBox& list) {
    QStringList all;
    for (int i = 0; i < list.ListCount(); ++i)
        all << list.List(i);
    return all;
}

} // namespace

RunState stateOf(const Kestramo& form) {
    RunState s;
    s.counter = form.Label1[3].Caption();
    s.cover = form.Label1[2].Caption();
    s.coverHeight = form.Label1[2].Height();
    s.prompt = form.Label1[1].Caption();
    s.slider = form.HScroll1.Value();
    s.interval = form.Timer1.Interval();
    s.ticking = form.Timer1.Enabled();
    s.lettersVisible = form.List1[1].Visible();
    s.lettersEnabled = form.List1[1].Enabled();
    s.letters = items(form.List1[1]);
    s.counts = items(form.List1[0]);
    s.testKind = form.TestKind;
    return s;
}

char* toString(const RunState& s) {
    const QString text =
        QStringLiteral("counter %1, cover '%2' %3 tw, prompt '%4', slider %5, interval %6, "
                       "ticking %7, letters %8/%9 [%10], counts [%11], kind %12")
            .arg(s.counter, s.cover)
            .arg(double(s.coverHeight))
            .arg(s.prompt)
            .arg(s.slider)
            .arg(s.interval)
            .arg(s.ticking)
            .arg(s.lettersVisible ? "shown" : "hidden", s.lettersEnabled ? "enabled" : "greyed")
            .arg(s.letters.join(""), s.counts.join(","))
            .arg(s.testKind);
    return qstrdup(text.toUtf8().constData());
}

QList<QColor> barColumns(const Kestramo& form) {
    ui::PictureView* box = form.Picture1.widget();
    const QImage image = box->grab().toImage();
    const QRect inside = box->contentsRect();
    const qreal dpr = image.devicePixelRatio();
    QList<QColor> columns;
    const int y = int((inside.top() + inside.height() / 2) * dpr);
    for (int x = int(inside.left() * dpr); x < int((inside.right() + 1) * dpr); ++x)
        columns << image.pixelColor(x, y);
    return columns;
}

float drawFor(int n) {
    // A quarter inside n's rounding interval, so single-precision error cannot matter;
    // below 1 for n = 100 too.
    return n == 0 ? 0.0025f : float((n - 0.25) / 100.0);
}

QImage snapshot(const Kestramo& form) {
    return form.window()->grab().toImage();
}

QColor colourAt(const Kestramo& form, QPoint point) {
    const QImage image = snapshot(form);
    const qreal dpr = image.devicePixelRatio();
    return image.pixelColor(QPoint(int(point.x() * dpr), int(point.y() * dpr)));
}

bool isPeach(QColor colour) {
    return colour == QColor(255, 192, 128);
}

QPoint originOf(const QWidget* widget) {
    return widget->mapTo(widget->window(), QPoint(0, 0));
}

void click(QWidget* widget, QPoint at) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier,
                      at.isNull() ? widget->rect().center() : at);
}

void moveSlider(Kestramo& form, int value) {
    // As a keyboard or mouse step does: the widget's own value change, not the model's.
    form.HScroll1.widget()->setValue(value);
}

} // namespace testing
