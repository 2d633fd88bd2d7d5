#include "CommonDialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace quillet {

void CommonDialog::showOpen(QWidget* parent, const QString& current) {
    show(parent, false, current);
}

void CommonDialog::showSave(QWidget* parent, const QString& current) {
    show(parent, true, current);
}

void CommonDialog::show(QWidget* parent, bool save, const QString& current) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QFileInfo file(current);
    dialog.setDirectory(file.absolutePath());
    if (file.isFile()) {
        dialog.selectFile(file.fileName());
    }
    fileName_ = current;
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        fileName_ = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    }
}

}  // namespace quillet
