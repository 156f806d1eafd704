#include "ui/runtime.h"

#include <cctype>
#include <charconv>
#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace rt {

namespace {

QString describe(ErrorNumber number) {
    switch (number) {
    case ErrorNumber::DivisionByZero:
        return QStringLiteral("Деление на нула");
    case ErrorNumber::Overflow:
        return QStringLiteral("Препълване");
    case ErrorNumber::InvalidPropertyValue:
        return QStringLiteral("Невалидна стойност на свойство");
    case ErrorNumber::InvalidPropertyIndex:
        return QStringLiteral("Невалиден индекс на елемент");
    case ErrorNumber::NoSuchArrayElement:
        return QStringLiteral("Няма такъв елемент в масива от контроли");
    }
    return QStringLiteral("Неизвестна грешка");
}

template <typename Int> Int roundChecked(double value) {
    if (std::isnan(value)) raise(ErrorNumber::Overflow);
    // nearbyint honours the default rounding mode: to nearest, ties to even.
    const double rounded = std::nearbyint(value);
    if (rounded < double(std::numeric_limits<Int>::min()) ||
        rounded > double(std::numeric_limits<Int>::max()))
        raise(ErrorNumber::Overflow);
    return static_cast<Int>(rounded);
}

int16_t checked16(int32_t value) {
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        raise(ErrorNumber::Overflow);
    return static_cast<int16_t>(value);
}

class ClockRandom final : public RandomSource {
public:
    ClockRandom() { reseed(); }
    void reseed() override {
        const auto now = std::chrono::system_clock::now().time_since_epoch().count();
        engine_.seed(static_cast<std::mt19937::result_type>(now ^ (now >> 32)));
    }
    float next() override {
        // 24 random bits give every float of the form k / 2^24 in [0, 1), never 1.
        return float(engine_() >> 8) * 0x1p-24f;
    }

private:
    std::mt19937 engine_;
};

std::unique_ptr<RandomSource>& randomSource() {
    static std::unique_ptr<RandomSource> source = std::make_unique<ClockRandom>();
    return source;
}

float lastDrawn = 0.0f;

} // namespace

RuntimeError::RuntimeError(ErrorNumber number)
    : std::runtime_error(describe(number).toStdString()), number_(number) {}

QString RuntimeError::description() const {
    return describe(number_);
}

void raise(ErrorNumber number) {
    throw RuntimeError(number);
}

int16_t CInt(double value) {
    return roundChecked<int16_t>(value);
}
int32_t CLng(double value) {
    return roundChecked<int32_t>(value);
}

int32_t Mod(double a, double b) {
    const int32_t dividend = CLng(a);
    const int32_t divisor = CLng(b);
    if (divisor == 0) raise(ErrorNumber::DivisionByZero);
    if (divisor == -1) return 0; // INT32_MIN % -1 would trap
    return dividend % divisor;
}

double Divide(double a, double b) {
    if (b == 0.0) raise(a == 0.0 ? ErrorNumber::Overflow : ErrorNumber::DivisionByZero);
    return a / b;
}

int16_t Add16(int16_t a, int16_t b) {
    return checked16(int32_t(a) + int32_t(b));
}
int16_t Sub16(int16_t a, int16_t b) {
    return checked16(int32_t(a) - int32_t(b));
}
int16_t Mul16(int16_t a, int16_t b) {
    return checked16(int32_t(a) * int32_t(b));
}

double Val(const QString& text) {
    const std::string s = text.toStdString();
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    const std::size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const std::size_t digitsStart = i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i;
    }
    const bool hasDigits = i > digitsStart && !(i == digitsStart + 1 && s[digitsStart] == '.');
    if (!hasDigits) return 0.0;
    // An exponent counts only when digits follow it ("12e" is 12).
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
                ++j;
            i = j;
        }
    }
    std::size_t from = start;
    if (s[from] == '+') ++from; // from_chars takes no plus sign
    double value = 0.0;
    const auto result = std::from_chars(s.data() + from, s.data() + i, value);
    if (result.ec == std::errc::result_out_of_range) raise(ErrorNumber::Overflow);
    return value;
}

QString Str(double value) {
    if (value == 0.0) return QStringLiteral("0"); // no "-0"
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, int(result.ptr - buffer));
}

QString Chr(int32_t code) {
    if (code < 0 || code > 0xFFFF) raise(ErrorNumber::InvalidPropertyValue);
    return QString(QChar(char16_t(code)));
}

QColor RGB(int red, int green, int blue) {
    return QColor(red, green, blue);
}

std::unique_ptr<RandomSource> setRandomSource(std::unique_ptr<RandomSource> source) {
    std::swap(randomSource(), source);
    return source;
}

void Randomize() {
    randomSource()->reseed();
}

float Rnd(float argument) {
    if (argument != 0.0f) lastDrawn = randomSource()->next();
    return lastDrawn;
}

} // namespace rt
