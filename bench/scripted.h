// Draws given in advance, for the benchmark and the scripted session.
#pragma once

#include "tests/scripted_random.h"
#include "ui/runtime.h"

#include <deque>
#include <memory>

namespace bench {

// Hands out its values in order, then 0.5 for ever.
class ScriptedRandom : public rt::RandomSource {
public:
    void reseed() override {}
    float next() override {
        if (values.empty()) return 0.5f;
        const float v = values.front();
        values.pop_front();
        return v;
    }
    std::deque<float> values;
};

// Makes a scripted source the program's random source; it lives until the program ends.
inline ScriptedRandom& installScriptedRandom() {
    auto owned = std::make_unique<ScriptedRandom>();
    ScriptedRandom& draws = *owned;
    rt::setRandomSource(std::move(owned));
    return draws;
}

// A draw r with round(r * 100) == n, as the tests make them.
using testing_support::drawFor;
using testing_support::letter;

} // namespace bench
