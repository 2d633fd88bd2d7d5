// What an image file's first bytes say about it, read without the rest, and whether a file holds
// an image's removal already.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "image_facts.h"
#include "intro.h"

namespace quillet {

// Reads the size and the first 4 bytes of the image at path with the engine's own file reading,
// so that it fails as the engine does on the same trouble.
ImageProbe probeImage(const std::string& path);

// Whether the file at path holds exactly bytes.
bool fileHolds(const std::string& path, std::span<const std::byte> bytes);

// Whether the file at resultPath holds exactly what taking the intro off the image at imagePath
// with fill writes: the result of an earlier removal.
bool holdsRemoval(const std::string& resultPath, const std::string& imagePath, FillChoice fill);

}  // namespace quillet
