// The number typed as the manual fill value.
#pragma once

#include <QString>
#include <optional>

namespace quillet {

// The number that text begins with, rounded to a whole number: blanks are skipped, then an
// optional sign and either decimal digits with an optional fraction and exponent, or hexadecimal
// digits after "0x". Halves round to the even neighbour. A text that begins with no number gives
// 0. nullopt when the number lies outside -32768 to 32767.
std::optional<qint16> manualFillNumber(const QString& text);

}  // namespace quillet
