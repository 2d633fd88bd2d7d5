#include "file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace quillet {

std::optional<QString> chooseFile(QWidget* parent, bool save, const QString& current) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QFileInfo file(current);
    dialog.setDirectory(file.absolutePath());
    // A save dialog proposes the name in the box; an open dialog names only a file that exists.
    if (save || file.isFile()) {
        dialog.selectFile(file.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

}  // namespace quillet
