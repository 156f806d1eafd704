// Helpers for driving the real form under the offscreen platform.
#pragma once

#include "app/kestramo.h"

#include <QImage>
#include <QTest>

#include <deque>
#include <memory>

namespace testing {

// A random source that hands out the values it was given, in order; after the last
// one it repeats the last (and counts the overrun, so tests can notice).
class ScriptedRandom : public rt::RandomSource {
public:
    void reseed() override { ++reseeds; }
    float next() override;
    void push(std::initializer_list<float> values) { values_.insert(values_.end(), values); }
    void push(float value) { values_.push_back(value); }
    std::size_t left() const { return values_.size(); }

    int reseeds = 0;
    int draws = 0;
    int overruns = 0;

private:
    std::deque<float> values_;
    float last_ = 0.0f;
};

// Installs a scripted source for the lifetime of the object and puts the old one back.
class ScriptedDraws {
public:
    ScriptedDraws();
    ~ScriptedDraws();
    ScriptedRandom* operator->() const { return source_; }

private:
    ScriptedRandom* source_;
    std::unique_ptr<rt::RandomSource> previous_;
};

// The form with its run-time error reports recorded instead of shown.
struct TestForm {
    TestForm();
    QStringList reports; // before the form: its load may report already
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

// A draw r with round(r * 100) == n (the middle of n's interval).
float drawFor(int n);

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
