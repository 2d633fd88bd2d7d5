#pragma once

#include <QString>

namespace quillet {

// Whether two file names name the same file: the same text, or the same existing file once
// links and relative parts are resolved.
bool namesSameFile(const QString& first, const QString& second);

}  // namespace quillet
