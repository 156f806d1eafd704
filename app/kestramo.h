// The form Kestramo: its controls, its one variable and its event handlers.
// The handlers live beside the part of the program they belong to:
// app/ (start-up, buttons), exercise/ (runs, choice of test, lookup), speed/ (slider).
#pragma once

#include "ui/form.h"

#include <cstdint>
#include <functional>

class Kestramo : public ui::Form {
public:
    // Shows a run-time error to the user; the default opens a message box.
    using ErrorReporter = std::function<void(QWidget* window, const QString& message)>;

    explicit Kestramo(ErrorReporter reporter = {});

    // 0: the text test, 1: the letter test.
    int16_t TestKind = 0;

    void Form_Load();
    void Command1_Click(int16_t Index);
    void Timer1_Timer();
    void Option1_Click(int16_t Index);
    void List1_Click(int16_t Index);
    void HScroll1_Change();

    // Runs a handler for an event; a run-time error ends it and is reported once.
    void dispatch(const std::function<void()>& handler);

private:
    void ResetExercise();
    void StartExercise();

    void report(const QString& message);

    ErrorReporter reporter_;
    int depth_ = 0;
    bool reporting_ = false;
};
