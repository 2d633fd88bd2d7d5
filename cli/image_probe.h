// Reading an image's size and entry branch, without reading the rest of it.
#pragma once

#include <string>

#include "image_summary.h"
#include "quillet.h"

namespace quillet::cli {

struct ImageProbe {
    QuilletStatus status;
    ImageFacts facts;  // meaningful when status is QUILLET_OK
};

// Opens the image at path for reading only. Fails with the status the engine gives for the
// same trouble: a missing file or a folder is not opened, one under 4 bytes is too short.
ImageProbe probeImage(const std::string& path);

}  // namespace quillet::cli
