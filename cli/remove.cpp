// quillet-cli remove: takes the intro off each image.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdint>
#include <map>
#include <set>

#include "commands.h"
#include "destination.h"
#include "file_names.h"
#include "fill_byte.h"
#include "image_check.h"
#include "image_summary.h"
#include "messages.h"
#include "quillet.h"
#include "report.h"
#include "run_plan.h"

namespace quillet::cli {

namespace {

constexpr const char* kForceHint = " Give --force to process it anyway.";

std::size_t distinctFiles(const std::vector<std::string>& names) {
    std::set<std::string> identities;
    for (const std::string& name : names) {
        identities.insert(fileIdentity(name));
    }
    return identities.size();
}

class Remove final : public Command {
  public:
    explicit Remove(CLI::App& app)
        : Command(app, "remove",
                  "Take the intro off each IMAGE and write the result to a new file") {
        CLI::App& remove = subcommand();
        remove.footer(
            "The entry branch becomes the standard one again, and the intro is overwritten with "
            "0xFF\n(or --fill BYTE), or cut off with --cut. Each result goes to the IMAGE's name "
            "with -p\nbefore the first dot (game.gba -> game-p.gba) unless -o or --output-dir is "
            "given. An\nimage that has no intro (its entry branch is already the standard one, or "
            "jumps into\nthe header), or that is no Game Boy Advance image, is refused unless "
            "--force. Run again\nover its own results, it finds them done and writes nothing.\n"
            "\nExample:\n  quillet-cli remove *.gba");
        CLI::Option* cut =
            remove.add_flag("--cut", cut_, "Cut each image off where its intro begins");
        remove
            .add_option("--fill", fillText_,
                        "Fill the intro with BYTE: 0 to 255, or 0x00 to 0xFF (default 0xFF)")
            ->type_name("BYTE")
            ->excludes(cut)
            ->check(CLI::Validator(
                [](const std::string& text) {
                    return parseFillByte(text)
                               ? std::string()
                               : "'" + text + "' is not a byte: give 0 to 255, or 0x00 to 0xFF";
                },
                ""));
        remove.add_flag("--force", force_,
                        "Also process an image whose entry branch is already the standard one");
        addDestination(remove, destination_, "Write to OUTPUT (with a single IMAGE only)");
        remove.add_option("IMAGE", images_, "The images to take the intro off")->type_name("");
    }

    void complete(const std::vector<std::string>& named) override {
        images_.insert(images_.end(), named.begin(), named.end());
        requireImages(images_, "remove");
        checkDestination(destination_);
        if (destination_.output && distinctFiles(images_) > 1) {
            throw CLI::ValidationError("--output",
                                       "takes a single IMAGE; without it each IMAGE gets its own "
                                       "output name");
        }
    }

    int run(bool quiet) override {
        Report report(quiet);
        std::vector<std::string> outputs;
        for (const std::string& image : images_) {
            outputs.push_back(outputFor(image, destination_));
        }
        std::vector<Step> steps = plannedSteps(images_, outputs);
        findEarlierResults(steps);
        // The outputs written so far: where a file system ignores letter case, two names that
        // differ only in it meet in one file, which the first image of the two keeps.
        std::map<std::string, std::string> imageOfOutput;
        for (const Step& step : steps) {
            const std::string subject = step.image + " -> " + step.output;
            if (step.sameAs) {
                report.result(step.image,
                              "the same image as " + steps[*step.sameAs].image + ", named before");
            } else if (step.resultOf) {
                report.result(step.image,
                              "the result of " + steps[*step.resultOf].image + ", left as it is");
            } else if (step.done) {
                report.result(subject, "already done, nothing written");
            } else if (const std::string refusal = refusalOf(step, steps); !refusal.empty()) {
                report.failure(subject, refusal, kExitRefused);
            } else if (const auto written = imageOfOutput.find(fileIdentity(step.output));
                       written != imageOfOutput.end()) {
                report.failure(subject, sharedOutputMessage(written->second), kExitRefused);
            } else if (removeIntroFrom(step.image, step.output, report)) {
                imageOfOutput.emplace(fileIdentity(step.output), step.image);
            }
        }
        return report.finish();
    }

  private:
    // The fill the arguments ask for; a --fill text has passed parseFillByte during parsing.
    FillChoice chosenFill() const {
        if (cut_) {
            return std::nullopt;
        }
        if (fillText_.empty()) {
            return kDefaultFillByte;
        }
        return parseFillByte(fillText_);
    }

    // A run again over the images and outputs of an earlier one: an image of the run that holds
    // exactly what the run would write there for another image is that image's earlier result.
    // Both are done already; nothing else that would replace an image of the run is.
    void findEarlierResults(std::vector<Step>& steps) const {
        for (std::size_t i = 0; i < steps.size(); ++i) {
            Step& step = steps[i];
            if (!step.replaced || *step.replaced == i ||
                (removalRefusal(probeImage(step.image)) != nullptr && !force_) ||
                !holdsRemoval(steps[*step.replaced].image, step.image, chosenFill())) {
                continue;
            }
            step.done = true;
            steps[*step.replaced].resultOf = i;
        }
    }

    // Whether the intro came off and the output was written.
    bool removeIntroFrom(const std::string& image, const std::string& output,
                         Report& report) const {
        const std::string subject = image + " -> " + output;
        const ImageProbe probe = probeImage(image);
        if (const char* refusal = removalRefusal(probe); refusal != nullptr && !force_) {
            report.failure(subject, refusal + std::string(kForceHint), kExitRefused);
            return false;
        }
        const FillChoice fill = chosenFill();
        const std::int32_t status =
            RemoveIntroAuto(image.c_str(), output.c_str(), fill ? 1 : 0,
                            fill ? std::to_integer<std::int32_t>(*fill) : 0);
        if (status != QUILLET_OK) {
            report.failure(subject, statusMessage(status, errno), status);
            return false;
        }
        // Without facts only when the image changed since the probe: then the window's "Done!".
        report.result(subject, probe.status == QUILLET_OK ? removalSummary(probe.facts, fill)
                                                          : statusMessage(status, 0));
        return true;
    }

    bool cut_ = false;
    std::string fillText_;
    bool force_ = false;
    Destination destination_;
    std::vector<std::string> images_;
};

}  // namespace

std::unique_ptr<Command> removeCommand(CLI::App& app) {
    return std::make_unique<Remove>(app);
}

}  // namespace quillet::cli
