#include "ui/runtime.h"

#include <cstdint>
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
    // Read straight from the UTF-16 text: the tick handler calls this, and a conversion
    // to another encoding would touch far more code than the number itself needs.
    const QChar* s = text.constData();
    const qsizetype n = text.size();
    const auto digit = [&](qsizetype at) { return at < n && s[at] >= u'0' && s[at] <= u'9'; };
    qsizetype i = 0;
    while (i < n && (s[i] == u' ' || s[i] == u'\t'))
        ++i;
    const qsizetype start = i;
    bool negative = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
    const qsizetype digitsStart = i;
    // Whole numbers of up to 15 digits are exact in a double: the common case, summed here.
    std::int64_t whole = 0;
    while (digit(i)) {
        if (i - digitsStart < 15) whole = whole * 10 + (s[i].unicode() - u'0');
        ++i;
    }
    bool simple = i - digitsStart <= 15;
    if (i < n && s[i] == u'.') {
        simple = false;
        ++i;
        while (digit(i))
            ++i;
    }
    const bool hasDigits = i > digitsStart && !(i == digitsStart + 1 && s[digitsStart] == u'.');
    if (!hasDigits) return 0.0;
    // An exponent counts only when digits follow it ("12e" is 12).
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (s[j] == u'+' || s[j] == u'-')) ++j;
        if (digit(j)) {
            while (digit(j))
                ++j;
            i = j;
            simple = false;
        }
    }
    if (simple) return negative ? -double(whole) : double(whole);
    // Everything scanned is ASCII, so each UTF-16 unit narrows to one char.
    std::string ascii;
    ascii.reserve(std::size_t(i - start));
    for (qsizetype k = start; k < i; ++k)
        if (s[k] != u'+') ascii.push_back(char(s[k].unicode())); // from_chars takes no plus
    double value = 0.0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (result.ec == std::errc::result_out_of_range) raise(ErrorNumber::Overflow);
    return value;
}

QString Str(double value) {
    if (value == 0.0) return QStringLiteral("0"); // no "-0"
    // Whole numbers below 10^15 are written in full ("100000", not "1e+05").
    if (std::abs(value) < 1e15 && value == std::trunc(value)) {
        char16_t digits[17];
        char16_t* at = digits + 17;
        auto whole = static_cast<std::int64_t>(std::abs(value));
        do {
            *--at = char16_t(u'0' + whole % 10);
            whole /= 10;
        } while (whole != 0);
        if (value < 0) *--at = u'-';
        return QString(reinterpret_cast<const QChar*>(at), digits + 17 - at);
    }
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
