// The window's colours in Qt: system colours are resolved from the application's palette.
#pragma once

#include <QtGlobal>

class QWidget;

namespace quillet {

// Paints the background of box in the colour value.
void setBackColor(QWidget* box, quint32 value);

// Gives every child of form that carries a backColor property (as "0x..." text in the form
// description) that colour.
void applyStoredBackColors(QWidget* form);

}  // namespace quillet
