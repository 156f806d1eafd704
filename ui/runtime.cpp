#include "ui/runtime.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace rt {

std::u16string describe(ErrorNumber number) {
    switch (number) {
    case ErrorNumber::DivisionByZero:
        return u"Деление на нула";
    case ErrorNumber::Overflow:
        return u"Препълване";
    case ErrorNumber::InvalidPropertyValue:
        return u"Невалидна стойност на свойство";
    case ErrorNumber::InvalidPropertyIndex:
        return u"Невалиден индекс на елемент";
    case ErrorNumber::NoSuchArrayElement:
        return u"Няма такъв елемент в масива от контроли";
    }
    return u"Неизвестна грешка";
}

namespace {

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
    : std::runtime_error(toUtf8(describe(number))), number_(number) {}

std::u16string RuntimeError::description() const {
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

namespace {

// Decimal text and doubles with no locale in the way: std::to_chars and from_chars where
// the library has them for floating point; elsewhere (WebAssembly's library has not) the C
// functions, whose locale there is always "C".
#ifdef __cpp_lib_to_chars
// False when the number lies beyond a double's range, either way.
bool parseDouble(const std::string& ascii, double& value) {
    return std::from_chars(ascii.data(), ascii.data() + ascii.size(), value).ec !=
           std::errc::result_out_of_range;
}
std::string shortest(double value) {
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}
std::string fixed(double value, int decimals) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) raise(ErrorNumber::Overflow);
    return std::string(buffer, result.ptr);
}
#else
bool parseDouble(const std::string& ascii, double& value) {
    errno = 0;
    value = std::strtod(ascii.c_str(), nullptr);
    return errno != ERANGE;
}
std::string shortest(double value) {
    // The fewest significant digits that read back as the same double.
    char buffer[64];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
        if (std::strtod(buffer, nullptr) == value) break;
    }
    return buffer;
}
std::string fixed(double value, int decimals) {
    char buffer[400];
    const int length = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    if (length < 0 || std::size_t(length) >= sizeof buffer) raise(ErrorNumber::Overflow);
    return std::string(buffer, std::size_t(length));
}
#endif

// Whether a decimal number written as [-]digits[.digits][e[-]digits] is less than 1 in
// magnitude, however many digits its exponent has.
bool belowOne(std::string_view number) {
    std::size_t i = number.find_first_not_of("+-");
    if (i == std::string_view::npos) return true;
    const auto digit = [&](std::size_t at) {
        return at < number.size() && number[at] >= '0' && number[at] <= '9';
    };
    // The power of ten just above the first non-zero digit, before the exponent.
    long long magnitude = 0;
    bool seen = false;
    for (; digit(i); ++i) {
        seen = seen || number[i] != '0';
        if (seen) ++magnitude;
    }
    if (i < number.size() && number[i] == '.') {
        for (++i; digit(i); ++i) {
            if (seen) continue;
            if (number[i] != '0')
                seen = true;
            else
                --magnitude;
        }
    }
    if (!seen) return true;
    long long exponent = 0;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
        for (; digit(i); ++i)
            exponent = std::min(exponent * 10 + (number[i] - '0'), 1'000'000'000LL);
        if (negative) exponent = -exponent;
    }
    return magnitude + exponent <= 0;
}

} // namespace

double Val(std::u16string_view s) {
    // Read straight from the UTF-16 text: the tick handler calls this, and a conversion
    // to another encoding would touch far more code than the number itself needs.
    const std::size_t n = s.size();
    const auto digit = [&](std::size_t at) { return at < n && s[at] >= u'0' && s[at] <= u'9'; };
    std::size_t i = 0;
    while (i < n && (s[i] == u' ' || s[i] == u'\t'))
        ++i;
    const std::size_t start = i;
    bool negative = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
    const std::size_t digitsStart = i;
    // Whole numbers of up to 15 digits are exact in a double: the common case, summed here.
    std::int64_t whole = 0;
    while (digit(i)) {
        if (i - digitsStart < 15) whole = whole * 10 + (s[i] - u'0');
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
        std::size_t j = i + 1;
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
    ascii.reserve(i - start);
    for (std::size_t k = start; k < i; ++k)
        if (s[k] != u'+') ascii.push_back(char(s[k])); // from_chars takes no plus
    double value = 0.0;
    if (!parseDouble(ascii, value)) {
        // Too small for a double is no overflow: the nearest double is 0.
        if (belowOne(ascii)) return 0.0;
        raise(ErrorNumber::Overflow);
    }
    return value;
}

std::u16string Str(double value) {
    if (value == 0.0) return u"0"; // no "-0"
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
        return std::u16string(at, digits + 17);
    }
    const std::string text = shortest(value);
    return std::u16string(text.begin(), text.end());
}

std::u16string Fixed(double value, int decimals) {
    // No locale is asked, so the separator is always a point.
    const std::string text = fixed(value, decimals);
    return std::u16string(text.begin(), text.end());
}

std::u16string Chr(int32_t code) {
    if (code < 0 || code > 0xFFFF) raise(ErrorNumber::InvalidPropertyValue);
    return std::u16string(1, char16_t(code));
}

ui::Colour RGB(int red, int green, int blue) {
    const auto component = [](int c) { return std::uint8_t(std::clamp(c, 0, 255)); };
    return {component(red), component(green), component(blue)};
}

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD; // a lone surrogate
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string fromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = std::uint8_t(text[i]);
        const std::size_t extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        bool ok = (lead < 0x80 || lead >= 0xC0) && lead < 0xF8 && i + extra < text.size();
        for (std::size_t k = 1; ok && k <= extra; ++k) {
            const auto next = std::uint8_t(text[i + k]);
            ok = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!ok || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
            out += char16_t(0xFFFD); // not UTF-8: one replacement for the byte
            ++i;
            continue;
        }
        i += extra + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += char16_t(0xD800 + (c >> 10));
            out += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            out += char16_t(c);
        }
    }
    return out;
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
