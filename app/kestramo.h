// The form Kestramo: its controls, its one variable and its event handlers.
// The handlers live beside the part of the program they belong to:
// app/ (start-up, buttons), exercise/ (runs, choice of test, lookup), speed/ (slider).
#pragma once

#include "ui/form.h"

#include <cstdint>
#include <functional>
#include <string>

class Kestramo : public ui::Form {
public:
    // Shows a run-time error to the user; the default is the binding's own report.
    using ErrorReporter = std::function<void(const std::u16string& message)>;

    // Binds the controls to the window a binding made, wires the events and loads.
    explicit Kestramo(ui::FormPeer& window, ErrorReporter reporter = {});

    // 0: the text test, 1: the letter test.
    int16_t TestKind = 0;

    void Form_Load();
    void Command1_Click(int16_t Index);
    void Timer1_Timer();
    void Option1_Click(int16_t Index);
    void List1_Click(int16_t Index);
    void HScroll1_Change();

    // Runs a handler for an event; a run-time error ends it and is reported once. False
    // when it ended so (or was dropped behind an open report).
    bool dispatch(const std::function<void()>& handler);

private:
    void ResetExercise();
    void StartExercise();

    // What a screen reader is told beyond what the controls show (app/heard.cpp).
    void announceStart();
    void announceEnd();
    void announceLookup();
    void forgetLookup(); // a new run or «Чисти» empties the list
    // After every handler: what the cover hides, and the pace in milliseconds.
    void tellReaders();

    void report(const std::u16string& message);

    ErrorReporter reporter_;
    int depth_ = 0;
    bool reporting_ = false;
};
