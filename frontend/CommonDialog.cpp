#include "CommonDialog.h"

#include <QFileDialog>

namespace quillet {

void CommonDialog::showOpen(QWidget* parent) {
    show(parent, false);
}

void CommonDialog::showSave(QWidget* parent) {
    show(parent, true);
}

void CommonDialog::show(QWidget* parent, bool save) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!fileName_.isEmpty()) {
        dialog.selectFile(fileName_);
    }
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        fileName_ = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    }
}

}  // namespace quillet
