// The run-time services: rounding, overflow, number-text conversion and the random source.
#include "../scripted_random.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using rt::ErrorNumber;

namespace {

ErrorNumber errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const rt::RuntimeError& error) {
        return error.number();
    }
    return ErrorNumber(0);
}

TEST(Rounding, ToNearestTiesToEven) {
    const struct {
        double value;
        int expected;
    } rows[] = {
        {0.5, 0},       {1.5, 2},         {2.5, 2},           {-2.5, -2},
        {2.5000001, 3}, {32767.4, 32767}, {-32768.4, -32768}, {99.5, 100},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(rt::CInt(row.value), row.expected) << row.value;
        EXPECT_EQ(rt::CLng(row.value), row.expected) << row.value;
    }
}

TEST(Rounding, SinglePrecisionDraws) {
    const struct {
        float draw;
        int rounded;
    } rows[] = {
        {0.995f, 100}, {0.004999f, 0}, {0.005f, 0},
        {0.015f, 2},   {0.025f, 2},    {std::nextafter(1.0f, 0.0f), 100},
    };
    for (const auto& row : rows)
        EXPECT_EQ(rt::CInt(row.draw * 100), row.rounded) << row.draw;
}

TEST(Rounding, OverflowsOutsideTheWidth) {
    const struct {
        double value;
        bool in16, in32;
    } rows[] = {
        {32767.5, false, true},
        {-32768.5, true, true},
        {-32769.0, false, true},
        {2147483648.0, false, false},
        {std::numeric_limits<double>::quiet_NaN(), false, false},
        {std::numeric_limits<double>::infinity(), false, false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(errorOf([&] { rt::CInt(row.value); }) == ErrorNumber::Overflow, !row.in16)
            << row.value;
        EXPECT_EQ(errorOf([&] { rt::CLng(row.value); }) == ErrorNumber::Overflow, !row.in32)
            << row.value;
    }
}

TEST(Arithmetic, Errors) {
    const struct {
        const char* name;
        std::function<void()> operation;
        ErrorNumber error;
    } rows[] = {
        {"32767 + 1", [] { rt::Add16(32767, 1); }, ErrorNumber::Overflow},
        {"3 * 11000", [] { rt::Mul16(3, 11000); }, ErrorNumber::Overflow},
        {"-32768 - 1", [] { rt::Sub16(-32768, 1); }, ErrorNumber::Overflow},
        {"5 mod 0", [] { rt::Mod(5, 0); }, ErrorNumber::DivisionByZero},
        {"1 / 0", [] { rt::Divide(1, 0); }, ErrorNumber::DivisionByZero},
        {"0 / 0", [] { rt::Divide(0, 0); }, ErrorNumber::Overflow},
        {"Chr(-1)", [] { rt::Chr(-1); }, ErrorNumber::InvalidPropertyValue},
        {"Val(1e999)", [] { rt::Val(u"1e999"); }, ErrorNumber::Overflow},
        {"Val(-4e400)", [] { rt::Val(u"-4e400"); }, ErrorNumber::Overflow},
        {"Val(0.001e312)", [] { rt::Val(u"0.001e312"); }, ErrorNumber::Overflow},
        {"Val(1e99999999999999999999)", [] { rt::Val(u"1e99999999999999999999"); },
         ErrorNumber::Overflow},
    };
    for (const auto& row : rows)
        EXPECT_EQ(errorOf(row.operation), row.error) << row.name;
}

TEST(Arithmetic, Results) {
    EXPECT_EQ(rt::Add16(32766, 1), 32767);
    EXPECT_EQ(rt::Sub16(400, rt::Mul16(3, 100)), 100);
    EXPECT_EQ(rt::Mod(100, 21), 16);
    EXPECT_EQ(rt::Mod(-7, 3), -1); // the sign of the dividend
    EXPECT_EQ(rt::Mod(-2147483648.0, -1), 0);
    EXPECT_EQ(rt::Chr(65), u"A");
    EXPECT_EQ(rt::Chr(65 + 25), u"Z");
}

TEST(Text, NumericValue) {
    const struct {
        const char16_t* text;
        double value;
    } rows[] = {
        {u"0", 0.0},
        {u"43", 43.0},
        {u"   12", 12.0},
        {u"\t7", 7.0},
        {u"12abc", 12.0},
        {u"abc", 0.0},
        {u"", 0.0},
        {u" ", 0.0},
        {u"-5", -5.0},
        {u"+5", 5.0},
        {u"0.25", 0.25},
        {u".5", 0.5},
        {u".", 0.0},
        {u"-", 0.0},
        {u"1e3", 1000.0},
        {u"12e", 12.0},
        {u"3 броя", 3.0},
        {u"K = 3", 0.0},
        {u"32767", 32767.0},
        {u"999999999999999", 999999999999999.0},
        {u"1234567890123456", 1234567890123456.0},
        {u"-2.5", -2.5},
        {u"+25E-1", 2.5},
        {u"\uFF11", 0.0}, // a full-width digit is no digit here
        // Too small for a double: the nearest value, 0, and no overflow.
        {u"1e-400", 0.0},
        {u"-2.5E-999", 0.0},
        {u"0.0000000001e-320", 0.0},
        {u"1e-99999999999999999999", 0.0},
        {u"4.9e-324", 4.9e-324},
    };
    for (const auto& row : rows)
        EXPECT_EQ(rt::Val(row.text), row.value) << rt::toUtf8(row.text);
}

TEST(Text, ShortestDecimal) {
    const struct {
        double value;
        const char16_t* text;
    } rows[] = {
        {0.0, u"0"},         {-0.0, u"0"},
        {1.0, u"1"},         {43.0, u"43"},
        {235.0, u"235"},     {-7.0, u"-7"},
        {0.25, u"0.25"},     {100000.0, u"100000"},
        {-1e6, u"-1000000"}, {999999999999999.0, u"999999999999999"},
        {1e15, u"1e+15"},    {12345.5, u"12345.5"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(rt::Str(row.value), row.text) << row.value;
}

TEST(Text, FixedDecimalsIgnoreTheLocale) {
    EXPECT_EQ(rt::Fixed(0.5, 2), u"0.50");
    EXPECT_EQ(rt::Fixed(1.0 / 3.0, 2), u"0.33");
    EXPECT_EQ(rt::Fixed(1.0, 2), u"1.00");
    EXPECT_EQ(rt::Fixed(0.0, 2), u"0.00");
    // Read back, each v / 100 of the slider is exactly its two-decimal form.
    for (int v = 0; v <= 100; ++v)
        EXPECT_EQ(rt::Val(rt::Fixed(v / 100.0, 2)), v / 100.0) << v;
}

TEST(Text, CounterRoundTrips) {
    // The counter is read back and written again on every tick.
    std::u16string counter = u"0";
    for (int i = 0; i < 300; ++i)
        counter = rt::Str(rt::Val(counter) + 1);
    EXPECT_EQ(counter, u"300");
}

TEST(Text, Utf8BothWays) {
    const std::u16string bulgarian = u"Грешка при изпълнение 6: Препълване";
    EXPECT_EQ(rt::fromUtf8(rt::toUtf8(bulgarian)), bulgarian);
    EXPECT_EQ(rt::toUtf8(u"Я"), "\xD0\xAF");
    EXPECT_EQ(rt::toUtf8(u"\U0001F354"), "\xF0\x9F\x8D\x94"); // a surrogate pair
    EXPECT_EQ(rt::fromUtf8("\xF0\x9F\x8D\x94"), u"\U0001F354");
    EXPECT_EQ(rt::fromUtf8("a\xFFz"), u"a\uFFFDz"); // not UTF-8: replaced, not dropped
    EXPECT_EQ(rt::fromUtf8("\xD0"), u"\uFFFD");     // cut short
}

TEST(Errors, DescriptionsAreBulgarian) {
    EXPECT_EQ(rt::describe(ErrorNumber::Overflow), u"Препълване");
    EXPECT_EQ(rt::describe(ErrorNumber::DivisionByZero), u"Деление на нула");
    EXPECT_STREQ(rt::RuntimeError(ErrorNumber::Overflow).what(), "Препълване");
}

TEST(Random, ClockSourceStaysInRange) {
    rt::Randomize();
    float smallest = 1, largest = 0;
    for (int i = 0; i < 100000; ++i) {
        const float r = rt::Rnd(100);
        ASSERT_TRUE(r >= 0.0f && r < 1.0f) << r;
        smallest = std::min(smallest, r);
        largest = std::max(largest, r);
    }
    EXPECT_LT(smallest, 0.001f);
    EXPECT_GT(largest, 0.999f);
    const float last = rt::Rnd(250);
    EXPECT_EQ(rt::Rnd(0), last);
}

TEST(Random, ScriptedSourceReplacesTheClock) {
    testing_support::ScriptedDraws draws;
    draws->push({0.5f, 0.25f});
    rt::Randomize();
    EXPECT_EQ(draws->reseeds, 1);
    EXPECT_EQ(rt::Rnd(100), 0.5f);
    EXPECT_EQ(rt::Rnd(250), 0.25f);
    EXPECT_EQ(draws->overruns, 0);
}

} // namespace
