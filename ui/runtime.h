// The run-time services the handlers rely on: errors, rounding, number-text
// conversion, letters, colours and the random source. Text is UTF-16, as both
// toolkits hold it, so a string passes to a widget without a change of encoding.
#pragma once

#include "ui/types.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace rt {

// Error numbers follow the classic run-time numbering so reports stay familiar.
enum class ErrorNumber : int {
    DivisionByZero = 11,
    Overflow = 6,
    InvalidPropertyValue = 380,
    InvalidPropertyIndex = 381,
    NoSuchArrayElement = 340,
};

// A run-time error: ends the handler that raised it and is reported once.
class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(ErrorNumber number);
    ErrorNumber number() const { return number_; }
    std::u16string description() const;

private:
    ErrorNumber number_;
};

[[noreturn]] void raise(ErrorNumber number);

// The Bulgarian description of an error number.
std::u16string describe(ErrorNumber number);

// Rounds to the nearest integer, ties to the even neighbour; Overflow outside the width.
int16_t CInt(double value);
int32_t CLng(double value);

// Integer remainder as the handlers use it: both operands rounded to 32 bits first.
int32_t Mod(double a, double b);

// Division in double precision: 0 / 0 overflows, any other x / 0 divides by zero.
double Divide(double a, double b);

// 16-bit signed arithmetic with an overflow check.
int16_t Add16(int16_t a, int16_t b);
int16_t Mul16(int16_t a, int16_t b);
int16_t Sub16(int16_t a, int16_t b);

// The decimal number at the start of the text (leading blanks skipped), 0 when none.
double Val(std::u16string_view text);

// Whole numbers below 10^15 in full digits, others in the shortest decimal form; a minus
// sign for negatives and no leading blank.
std::u16string Str(double value);

// The value with exactly `decimals` digits after a decimal point, whatever the locale.
std::u16string Fixed(double value, int decimals);

// The single character with code `code` (65 gives "A").
std::u16string Chr(int32_t code);

// A colour from its components; each is kept to 0..255.
ui::Colour RGB(int red, int green, int blue);

// UTF-16 to UTF-8 and back, for messages on standard error and for tests.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);

// A uniform sequence in [0, 1) of single-precision values.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void reseed() = 0;
    virtual float next() = 0;
};

// Replaces the program's random source (tests install a scripted one); returns the old.
std::unique_ptr<RandomSource> setRandomSource(std::unique_ptr<RandomSource> source);

// Re-seeds the random source from the system clock.
void Randomize();

// A non-zero argument gives the next value of the sequence, 0 repeats the last one.
float Rnd(float argument);

} // namespace rt
