// Colours as the window stores them: 32-bit values in which 0x80000000 + n is system colour n
// (resolved from the application's palette) and any other value is 0x00BBGGRR.
#pragma once

#include <QtGlobal>

class QWidget;

namespace quillet {

inline constexpr quint32 kScrollBarColor = 0x80000000;
inline constexpr quint32 kWhite = 0x00FFFFFF;

// Paints the background of box in the colour value.
void setBackColor(QWidget* box, quint32 value);

// Gives every child of form that carries a backColor property (as "0x..." text in the form
// description) that colour.
void applyStoredBackColors(QWidget* form);

}  // namespace quillet
