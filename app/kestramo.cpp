#include "app/kestramo.h"

#include <cstdio>

Kestramo::Kestramo(ui::FormPeer& window, ErrorReporter reporter)
    : ui::Form(window), reporter_(std::move(reporter)) {
    if (!reporter_)
        reporter_ = [&window](const std::u16string& message) { window.reportError(message); };
    // After each handler, a screen reader hears what the screen shows without a word: a
    // run that starts or ends, the answer of a lookup; and the cover's labels are read as
    // they are seen.
    for (int16_t i = 0; i < Command1.count(); ++i)
        Command1[i].onClick = [this, i] {
            if (dispatch([this, i] { Command1_Click(i); }) && Timer1.Enabled()) announceStart();
            forgetLookup();
            tellReaders();
        };
    for (int16_t i = 0; i < Option1.count(); ++i)
        Option1[i].onClick = [this, i] {
            dispatch([this, i] { Option1_Click(i); });
            tellReaders();
        };
    for (int16_t i = 0; i < List1.count(); ++i)
        List1[i].onClick = [this, i] {
            if (dispatch([this, i] { List1_Click(i); }) && i == 1) announceLookup();
        };
    Timer1.onTimer = [this] {
        if (dispatch([this] { Timer1_Timer(); }) && !Timer1.Enabled()) announceEnd();
        tellReaders();
    };
    HScroll1.onChange = [this] {
        dispatch([this] { HScroll1_Change(); });
        tellReaders();
    };
    dispatch([this] { Form_Load(); });
    tellReaders();
}

bool Kestramo::dispatch(const std::function<void()>& handler) {
    // While a report is open its message loop still delivers events: they are dropped.
    if (reporting_) return false;
    // A handler raised from inside another (a slider set from code) passes its error on,
    // so that the outer handler ends too.
    if (depth_ > 0) {
        handler();
        return true;
    }
    std::u16string failure;
    ++depth_;
    try {
        handler();
    } catch (const rt::RuntimeError& error) {
        failure =
            u"Грешка при изпълнение " + rt::Str(int(error.number())) + u": " + error.description();
    } catch (const std::exception& error) {
        failure = u"Вътрешна грешка: " + rt::fromUtf8(error.what());
    } catch (...) {
        failure = u"Вътрешна грешка";
    }
    --depth_;
    if (failure.empty()) return true;
    report(failure);
    return false;
}

void Kestramo::report(const std::u16string& message) {
    reporting_ = true;
    // The run that failed cannot go on reliably: stop its ticks, so that one error gives
    // one report. The rest of the window stays as the error left it, ready for a new run.
    Timer1.Enabled(false);
    // stdio, not iostream: the page would otherwise carry all of iostream's locale code.
    std::fprintf(stderr, "%s: %s\n", description().name.c_str(), rt::toUtf8(message).c_str());
    reporter_(message);
    reporting_ = false;
}
