// What quillet-cli says about an image, worked out from its size and its entry branch alone.
#pragma once

#include <string>

#include "image_facts.h"
#include "intro.h"

namespace quillet::cli {

// The line `info` prints for an image after its name: its size, its first 4 bytes, where they
// jump to, and what that makes of the image.
std::string infoLine(const ImageFacts& image);

// What removal did to an image that it succeeded on, after the engine's rules: a cut keeps the
// bytes before the branch target, a fill overwrites the bytes from it to the end.
std::string removalSummary(const ImageFacts& image, FillChoice fill);

}  // namespace quillet::cli
