// A random source that hands out the values it was given, in order, so that the draws
// of a test come out the same every time. Standard C++ only: every suite shares it.
#pragma once

#include "ui/runtime.h"

#include <deque>
#include <initializer_list>
#include <memory>

namespace testing_support {

// After the last value it repeats the last (and counts the overrun, so tests can notice).
class ScriptedRandom : public rt::RandomSource {
public:
    void reseed() override { ++reseeds; }
    float next() override {
        ++draws;
        if (values_.empty()) {
            ++overruns;
            return last_;
        }
        last_ = values_.front();
        values_.pop_front();
        return last_;
    }
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
    ScriptedDraws() {
        auto source = std::make_unique<ScriptedRandom>();
        source_ = source.get();
        previous_ = rt::setRandomSource(std::move(source));
    }
    ~ScriptedDraws() { rt::setRandomSource(std::move(previous_)); }
    ScriptedDraws(const ScriptedDraws&) = delete;
    ScriptedDraws& operator=(const ScriptedDraws&) = delete;
    ScriptedRandom* operator->() const { return source_; }

private:
    ScriptedRandom* source_;
    std::unique_ptr<rt::RandomSource> previous_;
};

// A draw r with round(r * 100) == n (a quarter inside n's rounding interval, so single-
// precision error cannot matter; below 1 for n = 100 too).
inline float drawFor(int n) {
    return n == 0 ? 0.0025f : float((n - 0.25) / 100.0);
}

// The draw that shows a letter on a tick of the letter test.
inline float letter(char c) {
    return drawFor(c - 'A');
}

} // namespace testing_support
