#include "fill_number.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

namespace quillet {

namespace {

bool isDecimalDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

int hexDigitValue(QChar c) {
    if (isDecimalDigit(c)) {
        return c.unicode() - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c.unicode() - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c.unicode() - u'A' + 10;
    }
    return -1;
}

// Where the run of characters from start on that satisfy accepts ends.
template <typename Accepts>
qsizetype endOfRun(QStringView text, qsizetype start, Accepts accepts) {
    while (start < text.size() && accepts(text[start])) {
        ++start;
    }
    return start;
}

// The power of ten of number's leading digit, enough to tell the tiny from the huge.
qint64 decimalOrder(QStringView number) {
    const qsizetype exponentStart = std::max(number.indexOf(u'e'), number.indexOf(u'E'));
    const QStringView mantissa = exponentStart < 0 ? number : number.left(exponentStart);
    bool exponentFits = false;
    qint64 exponent =
        exponentStart < 0 ? 0 : number.mid(exponentStart + 1).toLongLong(&exponentFits);
    if (exponentStart >= 0 && !exponentFits) {
        // Too many digits for 64 bits: far beyond every double either way.
        exponent = number[exponentStart + 1] == u'-' ? -(qint64{1} << 40) : qint64{1} << 40;
    }
    const qsizetype point = mantissa.indexOf(u'.');
    const QStringView integer = point < 0 ? mantissa : mantissa.left(point);
    const qsizetype firstNonZero = endOfRun(integer, 0, [](QChar c) { return c == u'0'; });
    if (firstNonZero < integer.size()) {
        return integer.size() - firstNonZero - 1 + exponent;
    }
    const QStringView fraction = point < 0 ? QStringView() : mantissa.mid(point + 1);
    return -endOfRun(fraction, 0, [](QChar c) { return c == u'0'; }) - 1 + exponent;
}

// The decimal number at the start of text: digits, a fraction, an exponent with digits.
double leadingDecimal(QStringView text) {
    qsizetype end = endOfRun(text, 0, isDecimalDigit);
    const bool integerDigits = end > 0;
    if (end < text.size() && text[end] == u'.') {
        const qsizetype fractionEnd = endOfRun(text, end + 1, isDecimalDigit);
        if (!integerDigits && fractionEnd == end + 1) {
            return 0;
        }
        end = fractionEnd;
    }
    if (end == 0) {
        return 0;
    }
    if (end < text.size() && (text[end] == u'e' || text[end] == u'E')) {
        qsizetype exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == u'+' || text[exponent] == u'-')) {
            ++exponent;
        }
        const qsizetype exponentEnd = endOfRun(text, exponent, isDecimalDigit);
        if (exponentEnd > exponent) {
            end = exponentEnd;
        }
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(text.left(end), &ok);
    if (ok) {
        return value;
    }
    // Beyond the range of a double: far below 1, which rounds to 0, or far above.
    return decimalOrder(text.left(end)) < 0 ? 0 : std::numeric_limits<double>::infinity();
}

double leadingHexadecimal(QStringView digits) {
    double value = 0;
    for (QChar c : digits) {
        const int digit = hexDigitValue(c);
        if (digit < 0) {
            break;
        }
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace

std::optional<qint16> manualFillNumber(const QString& text) {
    QStringView rest(text);
    rest = rest.mid(endOfRun(rest, 0, [](QChar c) { return c == u' ' || c == u'\t'; }));
    double sign = 1;
    if (!rest.isEmpty() && (rest[0] == u'+' || rest[0] == u'-')) {
        sign = rest[0] == u'-' ? -1 : 1;
        rest = rest.mid(1);
    }
    const bool hexadecimal = rest.size() > 2 && rest[0] == u'0' &&
                             (rest[1] == u'x' || rest[1] == u'X') && hexDigitValue(rest[2]) >= 0;
    const double number = hexadecimal ? leadingHexadecimal(rest.mid(2)) : leadingDecimal(rest);
    // nearbyint rounds halves to even in the default rounding mode.
    const double whole = std::nearbyint(sign * number);
    if (!(whole >= std::numeric_limits<qint16>::min() &&
          whole <= std::numeric_limits<qint16>::max())) {
        return std::nullopt;
    }
    return static_cast<qint16>(whole);
}

}  // namespace quillet
