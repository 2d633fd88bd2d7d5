#include "modal_answerer.h"

#include <QAbstractButton>
#include <QApplication>

namespace quillet::test {

ModalAnswerer::ModalAnswerer(std::function<void(QFileDialog*)> fileDialogAnswer)
    : fileDialogAnswer_(std::move(fileDialogAnswer)) {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::answerActiveModal);
    timer_.start(5);
}

QStringList ModalAnswerer::messageTexts() const {
    QStringList texts;
    for (const SeenMessage& message : messages_) {
        texts << message.text;
    }
    return texts;
}

void ModalAnswerer::answerActiveModal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) {
        return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        messages_.append({box->text(), box->windowTitle(), box->icon(),
                          static_cast<int>(box->buttons().size())});
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        if (ok != nullptr) {
            ok->click();
        } else {
            box->reject();
        }
    } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
        fileDialogsSaving_.append(dialog->acceptMode() == QFileDialog::AcceptSave);
        if (fileDialogAnswer_) {
            fileDialogAnswer_(dialog);
        }
        if (dialog->isVisible()) {
            dialog->reject();
        }
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
    }
}

}  // namespace quillet::test
