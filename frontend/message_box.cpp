#include "message_box.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace quillet {

void showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

}  // namespace quillet
