// What a run does with each of its images, planned for the whole run before anything is
// written, so that no output replaces an image of the run and no two images share an output.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quillet::cli {

struct Step {
    std::string image;
    std::string output;
    std::optional<std::size_t> replaced;    // the step whose image the output would replace
    std::optional<std::size_t> sharedWith;  // another step that writes the same output
    std::optional<std::size_t> resultOf;    // the step whose earlier result this image is
    std::optional<std::size_t> sameAs;      // the step of the same image named before
    bool done = false;                      // its output holds its result already
};

// One step per image, each writing outputs[i] for images[i], or nothing for an empty output.
// An image named twice, under any name, is done once.
std::vector<Step> plannedSteps(const std::vector<std::string>& images,
                               const std::vector<std::string>& outputs);

std::string sharedOutputMessage(const std::string& otherImage);

// Why a step's output must not be written, or nothing.
std::string refusalOf(const Step& step, const std::vector<Step>& steps);

}  // namespace quillet::cli
