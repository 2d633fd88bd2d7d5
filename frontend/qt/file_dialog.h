#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace quillet {

// The file chosen in a modal open or save dialog owned by parent, which opens on the file that
// current names; nullopt when the user cancels.
std::optional<QString> chooseFile(QWidget* parent, bool save, const QString& current);

}  // namespace quillet
