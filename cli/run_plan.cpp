#include "run_plan.h"

#include <map>

#include "file_names.h"
#include "messages.h"

namespace quillet::cli {

std::vector<Step> plannedSteps(const std::vector<std::string>& images,
                               const std::vector<std::string>& outputs) {
    std::vector<Step> steps;
    std::map<std::string, std::size_t> stepOfImage;
    std::map<std::string, std::vector<std::size_t>> writersOf;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto [first, isNew] = stepOfImage.emplace(fileIdentity(images[i]), steps.size());
        steps.push_back({images[i], outputs[i], {}, {}, {}, {}, false});
        if (!isNew) {
            steps.back().sameAs = first->second;
        } else if (!outputs[i].empty()) {
            writersOf[fileIdentity(steps.back().output)].push_back(steps.size() - 1);
        }
    }
    for (const auto& [output, writers] : writersOf) {
        const auto image = stepOfImage.find(output);
        for (const std::size_t writer : writers) {
            if (image != stepOfImage.end()) {
                steps[writer].replaced = image->second;
            } else if (writers.size() > 1) {
                steps[writer].sharedWith = writers[writers[0] == writer ? 1 : 0];
            }
        }
    }
    return steps;
}

std::string sharedOutputMessage(const std::string& otherImage) {
    return "The output file is also the output of " + otherImage + ".";
}

std::string refusalOf(const Step& step, const std::vector<Step>& steps) {
    if (step.replaced) {
        return &steps[*step.replaced] == &step
                   ? kOutputIsInputMessage
                   : "The output file would replace " + steps[*step.replaced].image +
                         ", an image of this run.";
    }
    return step.sharedWith ? sharedOutputMessage(steps[*step.sharedWith].image) : std::string();
}

}  // namespace quillet::cli
