#include "testing.h"

#include "ui/qt/application.h"

#include <QApplication>

namespace testing {

TestForm::TestForm()
    : form(window,
           [this](const std::u16string& message) { reports << ui::qt::toQString(message); }) {
    window.showCentred();
    QApplication::setActiveWindow(window.window());
}

namespace {

QStringList items(const ui::ListBox& list) {
    QStringList all;
    for (int i = 0; i < list.ListCount(); ++i)
        all << ui::qt::toQString(list.List(i));
    return all;
}

} // namespace

RunState stateOf(const Kestramo& form) {
    RunState s;
    s.counter = ui::qt::toQString(form.Label1[3].Caption());
    s.cover = ui::qt::toQString(form.Label1[2].Caption());
    s.coverHeight = form.Label1[2].Height();
    s.prompt = ui::qt::toQString(form.Label1[1].Caption());
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
    ui::qt::PictureView* box = ui::qt::widgetOf(form.Picture1);
    const QImage image = box->grab().toImage();
    const QRect inside = box->contentsRect();
    const qreal dpr = image.devicePixelRatio();
    QList<QColor> columns;
    const int y = int((inside.top() + inside.height() / 2) * dpr);
    for (int x = int(inside.left() * dpr); x < int((inside.right() + 1) * dpr); ++x)
        columns << image.pixelColor(x, y);
    return columns;
}

QImage snapshot(const Kestramo& form) {
    return ui::qt::windowOf(form)->grab().toImage();
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
    ui::qt::widgetOf(form.HScroll1)->setValue(value);
}

} // namespace testing
