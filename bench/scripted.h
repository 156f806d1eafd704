// Draws given in advance, for the benchmark and the scripted session.
#pragma once

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

// A draw r with round(r * 100) == n.
inline float drawFor(int n) {
    return n == 0 ? 0.0025f : float((n - 0.25) / 100.0);
}

} // namespace bench
