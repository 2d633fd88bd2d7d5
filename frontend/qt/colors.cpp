#include "colors.h"

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <QWidget>

#include "Form1Behaviour.h"

namespace quillet {

namespace {

// The palette colour that plays each system colour's part.
QPalette::ColorRole roleOfSystemColor(quint32 index) {
    switch (index) {
        case 0:  // scroll bar
            return QPalette::Midlight;
        case 4:  // menu
            return QPalette::Window;
        case 5:  // window background of a text box
            return QPalette::Base;
        case 15:  // button face
            return QPalette::Button;
        default:
            return QPalette::Window;
    }
}

QColor colorFromValue(quint32 value) {
    if (value & kSystemColorFlag) {
        return QApplication::palette().color(QPalette::Active,
                                             roleOfSystemColor(value & ~kSystemColorFlag));
    }
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

}  // namespace

void setBackColor(QWidget* box, quint32 value) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colorFromValue(value));
    box->setPalette(palette);
}

void applyStoredBackColors(QWidget* form) {
    for (QWidget* child : form->findChildren<QWidget*>()) {
        const QVariant stored = child->property("backColor");
        if (stored.isValid()) {
            setBackColor(child, stored.toString().toUInt(nullptr, 16));
        }
    }
}

}  // namespace quillet
