// Helpers for driving the real window of the Qt binding under the offscreen platform.
#pragma once

#include "../scripted_random.h"
#include "app/kestramo.h"
#include "ui/qt/access.h"
#include "ui/qt/convert.h"
#include "ui/qt/window.h"

#include <QImage>
#include <QTest>

#include <string>

// The model's texts compared with Qt's in QCOMPARE.
inline bool operator==(const std::u16string& a, const QString& b) {
    return QStringView(a) == b;
}
namespace QTest {
template <> inline char* toString(const std::u16string& text) {
    return toString(ui::qt::toQString(text));
}
} // namespace QTest

namespace testing {

inline QString qs(const std::u16string& text) {
    return ui::qt::toQString(text);
}

using testing_support::drawFor;
using testing_support::letter;
using testing_support::ScriptedDraws;
using testing_support::ScriptedRandom;

// The window and the form bound to it, with run-time error reports recorded, not shown.
struct TestForm {
    TestForm();
    QStringList reports; // before the form: its load may report already
    ui::qt::FormWindow window;
    Kestramo form;
};

// What a run leaves in the controls, compared as a whole.
struct RunState {
    QString counter;
    QString cover;
    float coverHeight = 0;
    QString prompt;
    int slider = 0;
    int interval = 0;
    bool ticking = false;
    bool lettersVisible = false;
    bool lettersEnabled = false;
    QStringList letters;
    QStringList counts;
    int testKind = 0;
    bool operator==(const RunState&) const = default;
};
RunState stateOf(const Kestramo& form);
char* toString(const RunState& state); // for QCOMPARE

// The colours of the speed bar's inside, one per column, along its middle row.
QList<QColor> barColumns(const Kestramo& form);

// The image of the window as it is on screen now.
QImage snapshot(const Kestramo& form);
// The colour at a point of the window, in logical pixels.
QColor colourAt(const Kestramo& form, QPoint point);
// The labels' back colour, RGB(255, 192, 128).
bool isPeach(QColor colour);
// The top-left corner of a widget in window coordinates.
QPoint originOf(const QWidget* widget);

// Clicks a widget the way the user does, in its middle unless a point is given.
void click(QWidget* widget, QPoint at = {});

// The value of the scroll bar after a user action, with the change handler run.
void moveSlider(Kestramo& form, int value);

} // namespace testing
