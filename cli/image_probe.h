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

// Reads the size and the first 4 bytes of the image at path, with the engine's own file
// reading, so that it fails with the status the engine gives for the same trouble.
ImageProbe probeImage(const std::string& path);

}  // namespace quillet::cli
