// The page the browser tests drive where they need what no user can do: the same binding
// and form as the shipped page, with draws the test scripts and a way to break a run, so
// that a run-time error and its report can be seen.
#include "../scripted_random.h"
#include "app/kestramo.h"
#include "ui/web/window.h"

#include <emscripten.h>

namespace {
Kestramo* form = nullptr;
testing_support::ScriptedDraws* draws = nullptr;
} // namespace

// The next draws, each given as the whole number n that round(r * 100) is to give.
extern "C" EMSCRIPTEN_KEEPALIVE void kestramo_test_draw(int n) {
    (*draws)->push(testing_support::drawFor(n));
}

// Empties the proverbs, so the next start divides by zero.
extern "C" EMSCRIPTEN_KEEPALIVE void kestramo_test_break() {
    form->List2.Clear();
}

int main() {
    draws = new testing_support::ScriptedDraws();
    auto* window = new ui::web::FormWindow();
    form = new Kestramo(*window);
    window->show();
    return 0;
}
