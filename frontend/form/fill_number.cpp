#include "fill_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace quillet {

namespace {

bool isDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexDigitValue(char c) {
    if (isDecimalDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Where the run of characters from start on that satisfy accepts ends.
template <typename Accepts>
std::size_t endOfRun(std::string_view text, std::size_t start, Accepts accepts) {
    while (start < text.size() && accepts(text[start])) {
        ++start;
    }
    return start;
}

// The power of ten of number's leading digit, enough to tell the tiny from the huge.
long long decimalOrder(std::string_view number) {
    // Far beyond every double either way, and far enough from the ends of 64 bits that the sums
    // below cannot overflow.
    constexpr long long kFar = 1LL << 40;
    const std::size_t exponentStart = number.find_first_of("eE");
    long long exponent = 0;
    if (exponentStart != std::string_view::npos) {
        std::string_view digits = number.substr(exponentStart + 1);
        digits.remove_prefix(digits.starts_with('+') ? 1 : 0);
        const bool fits =
            std::from_chars(digits.data(), digits.data() + digits.size(), exponent).ec ==
            std::errc{};
        exponent = fits                      ? std::clamp(exponent, -kFar, kFar)
                   : digits.starts_with('-') ? -kFar
                                             : kFar;
    }
    const std::string_view mantissa = number.substr(0, exponentStart);
    const std::string_view integer = mantissa.substr(0, mantissa.find('.'));
    const std::size_t firstNonZero = endOfRun(integer, 0, [](char c) { return c == '0'; });
    if (firstNonZero < integer.size()) {
        return static_cast<long long>(integer.size() - firstNonZero) - 1 + exponent;
    }
    const std::string_view fraction =
        mantissa.substr(std::min(integer.size() + 1, mantissa.size()));
    return -static_cast<long long>(endOfRun(fraction, 0, [](char c) { return c == '0'; })) - 1 +
           exponent;
}

// The decimal number at the start of text: digits, a fraction, an exponent with digits.
double leadingDecimal(std::string_view text) {
    // from_chars would also read "inf" and "nan", which are no numbers here.
    if (text.empty() || !(isDecimalDigit(text[0]) || text[0] == '.')) {
        return 0;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::invalid_argument) {
        return 0;
    }
    if (error == std::errc::result_out_of_range) {
        // Beyond the range of a double: far below 1, which rounds to 0, or far above.
        const std::string_view number = text.substr(0, static_cast<std::size_t>(end - text.data()));
        return decimalOrder(number) < 0 ? 0 : std::numeric_limits<double>::infinity();
    }
    return value;
}

double leadingHexadecimal(std::string_view digits) {
    double value = 0;
    for (const char c : digits) {
        const int digit = hexDigitValue(c);
        if (digit < 0) {
            break;
        }
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace

std::optional<std::int16_t> manualFillNumber(std::string_view text) {
    text.remove_prefix(endOfRun(text, 0, [](char c) { return c == ' ' || c == '\t'; }));
    double sign = 1;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        sign = text[0] == '-' ? -1 : 1;
        text.remove_prefix(1);
    }
    const bool hexadecimal = text.size() > 2 && text[0] == '0' &&
                             (text[1] == 'x' || text[1] == 'X') && hexDigitValue(text[2]) >= 0;
    const double number = hexadecimal ? leadingHexadecimal(text.substr(2)) : leadingDecimal(text);
    // nearbyint rounds halves to even in the default rounding mode.
    const double whole = std::nearbyint(sign * number);
    if (!(whole >= std::numeric_limits<std::int16_t>::min() &&
          whole <= std::numeric_limits<std::int16_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(whole);
}

}  // namespace quillet
