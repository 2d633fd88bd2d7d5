#include "file_names.h"

#include <QFile>
#include <filesystem>
#include <system_error>

namespace quillet {

bool namesSameFile(const QString& first, const QString& second) {
    if (first == second) {
        return true;
    }
    std::error_code error;
    return std::filesystem::equivalent(QFile::encodeName(first).toStdString(),
                                       QFile::encodeName(second).toStdString(), error);
}

}  // namespace quillet
