// quillet-cli remove: takes the intro off each image.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdint>
#include <map>
#include <new>
#include <set>
#include <span>

#include "commands.h"
#include "destination.h"
#include "file_names.h"
#include "fill_byte.h"
#include "image_check.h"
#include "image_summary.h"
#include "listed.h"
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
            "\nWith --dat LIST, each intro comes off the one way whose result LIST holds: filled "
            "with\n0xFF or 0x00, cut off, or cut off and padded with 0xFF or 0x00 up to the next "
            "power of\ntwo. The line says which dump it gives; an IMAGE that gives none is "
            "refused.\n"
            "\nExample:\n  quillet-cli remove *.gba");
        CLI::Option* cut =
            remove.add_flag("--cut", cut_, "Cut each image off where its intro begins");
        CLI::Option* fill =
            remove.add_option("--fill", fillText_,
                              "Fill the intro with BYTE: 0 to 255, or 0x00 to 0xFF (default 0xFF)");
        fill->type_name("BYTE")->excludes(cut)->check(CLI::Validator(
            [](const std::string& text) {
                return parseFillByte(text)
                           ? std::string()
                           : "'" + text + "' is not a byte: give 0 to 255, or 0x00 to 0xFF";
            },
            ""));
        remove.add_flag("--force", force_,
                        "Also process an image whose entry branch is already the standard one");
        CLI::Option* output =
            addDestination(remove, destination_, "Write to OUTPUT (with a single IMAGE only)");
        CLI::Option* dat = list_
                               .add(remove,
                                    "Take each intro off the way that gives a dump that the "
                                    "list LIST holds, and name it")
                               ->excludes(cut)
                               ->excludes(fill);
        remove
            .add_flag("--rename", rename_,
                      "With --dat: name each output as LIST names its dump, in the IMAGE's folder "
                      "or in FOLDER")
            ->needs(dat)
            ->excludes(output);
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
        list_.load();
    }

    int run(bool quiet) override {
        Report report(quiet);
        OutputFolder folder(report);
        if (!folder.make(destination_)) {
            return report.finish();
        }
        // With --rename an output's name is its dump's, which only the image's bytes tell; an
        // image that has none is refused for its reason.
        std::vector<std::string> outputs;
        std::vector<Refusal> refused(images_.size());
        for (std::size_t i = 0; i < images_.size(); ++i) {
            if (!rename_) {
                outputs.push_back(outputFor(images_[i], destination_));
                continue;
            }
            ListedResult result = resultByList(images_[i]);
            outputs.push_back(renamedOutput(images_[i], result));
            refused[i] = std::move(result.refusal);
        }
        std::vector<Step> steps = plannedSteps(images_, outputs);
        findEarlierResults(steps);
        // The outputs written so far: where a file system ignores letter case, two names that
        // differ only in it meet in one file, which the first image of the two keeps.
        std::map<std::string, std::string> imageOfOutput;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const Step& step = steps[i];
            const std::string subject = step.image + " -> " + step.output;
            if (step.sameAs) {
                report.result(step.image,
                              "the same image as " + steps[*step.sameAs].image + ", named before");
            } else if (step.resultOf) {
                report.result(step.image,
                              "the result of " + steps[*step.resultOf].image + ", left as it is");
            } else if (step.done) {
                report.result(subject, "already done, nothing written");
            } else if (!refused[i].message.empty()) {
                report.failure(step.image, refused[i].message, refused[i].status);
            } else if (const std::string refusal = refusalOf(step, steps); !refusal.empty()) {
                report.failure(subject, refusal, kExitRefused);
            } else if (const auto written = imageOfOutput.find(fileIdentity(step.output));
                       written != imageOfOutput.end()) {
                report.failure(subject, sharedOutputMessage(written->second), kExitRefused);
            } else if (list_.given() ? removeByList(step, report)
                                     : removeIntroFrom(step.image, step.output, report)) {
                imageOfOutput.emplace(fileIdentity(step.output), step.image);
            }
        }
        return report.finish();
    }

  private:
    // Why an image gets no output, with the exit status that says so; no message when it does.
    struct Refusal {
        std::string message;
        int status = 0;
    };

    // What taking the intro off an image gives by the list: the result, or why there is none.
    struct ListedResult {
        Refusal refusal;
        WholeImage image;
        std::unique_ptr<ImageBuffer> padded;  // for a result larger than the image
        verify::ListedRemoval removal;
        std::span<const std::byte> bytes;
        // The result written beside its output, and how that went; none when it was not.
        std::unique_ptr<PendingOutput> pending;
        QuilletStatus written = QUILLET_OK;
        int writeError = 0;
    };

    // The removal of image whose result the list holds: there must be exactly one. Given an
    // output, the result is written beside it while the image's hashes are made, when CRC32
    // alone tells which removal it must be; result.pending then waits to replace the output.
    ListedResult resultByList(const std::string& image, const std::string* output = nullptr) const
        try {
        ListedResult result;
        if (const char* refusal = removalRefusal(probeImage(image));
            refusal != nullptr && !force_) {
            result.refusal = {refusal + std::string(kForceHint), kExitRefused};
            return result;
        }
        std::optional<verify::RemovalCandidate> built;
        const auto build = [&result, &built](const verify::RemovalCandidate& candidate) {
            std::span<std::byte> buffer = result.image.buffer->bytes();
            if (candidate.size > buffer.size()) {
                result.padded = std::make_unique<ImageBuffer>(candidate.size);
                std::ranges::copy(buffer, result.padded->bytes().begin());
                buffer = result.padded->bytes();
            }
            result.bytes = verify::applyRemoval(buffer, result.image.probe.facts.size, candidate);
            built = candidate;
        };
        const auto writeMeanwhile = [&](const verify::RemovalCandidate& candidate) {
            build(candidate);
            result.pending = std::make_unique<PendingOutput>();
            result.written = result.pending->write(output->c_str(), result.bytes);
            result.writeError = errno;
        };
        result.image = readWholeImage(image);
        if (const ImageProbe& probe = result.image.probe; probe.status != QUILLET_OK) {
            result.refusal = {statusMessage(probe.status, probe.errorNumber), probe.status};
            return result;
        }
        const auto removals = verify::listedRemovals(
            result.image.bytes(), list_.list(),
            output != nullptr ? writeMeanwhile
                              : std::function<void(const verify::RemovalCandidate&)>());
        if (removals.size() != 1) {
            result.refusal = {removals.empty()
                                  ? "No removal of its intro gives a dump that the list holds."
                                  : "Removals give different listed dumps, which remove --dat "
                                    "does not choose between: " +
                                        removalsText(result.image.probe.facts, removals) + ".",
                              kExitNotListed};
            return result;
        }
        result.removal = removals[0];
        // What ran meanwhile ran with the one removal that could be listed.
        if (!built) {
            build(result.removal.candidate);
        }
        return result;
    } catch (const std::bad_alloc&) {
        // A result padded to twice the image's size may not fit.
        ListedResult failed;
        failed.refusal = {statusMessage(QUILLET_INPUT_TOO_LARGE, 0), QUILLET_INPUT_TOO_LARGE};
        return failed;
    }

    // The output that --rename names after the dump that result gives; nothing, with the reason
    // in result, when it names none that can be a file's name.
    std::string renamedOutput(const std::string& image, ListedResult& result) const {
        if (!result.refusal.message.empty()) {
            return "";
        }
        const std::vector<const verify::ListedDump*>& dumps = result.removal.dumps;
        const std::string& name = dumps[0]->name;
        if (std::ranges::any_of(dumps, [&name](const auto* dump) { return dump->name != name; })) {
            result.refusal = {
                "The list names its dump in more than one way: " + listedAs(dumps) + ".",
                kExitNotListed};
        } else if (const char* reason = fileNameRefusal(name)) {
            result.refusal = {
                "The list names its dump '" + name + "', which is no file name: " + reason + ".",
                kExitRefused};
        }
        return result.refusal.message.empty() ? outputNamed(image, destination_, name) : "";
    }

    // Whether the file at path holds exactly bytes.
    static bool holds(const std::string& path, std::span<const std::byte> bytes) {
        const WholeImage held = readWholeImage(path);
        return held.probe.status == QUILLET_OK && std::ranges::equal(held.bytes(), bytes);
    }

    // Whether the listed dump that the image gives was written to the output.
    bool removeByList(const Step& step, Report& report) const {
        const std::string subject = step.image + " -> " + step.output;
        ListedResult result = resultByList(step.image, &step.output);
        if (rename_ && result.refusal.message.empty() &&
            renamedOutput(step.image, result) != step.output) {
            result.refusal = {"The image changed while it was read: it now gives another dump.",
                              QUILLET_INPUT_NOT_READ};
        }
        if (!result.refusal.message.empty()) {
            report.failure(subject, result.refusal.message, result.refusal.status);
            return false;
        }
        if (result.pending == nullptr) {
            result.written = replaceFile(step.output.c_str(), result.bytes);
            result.writeError = errno;
        } else if (result.written == QUILLET_OK) {
            result.written = result.pending->replace();
            result.writeError = errno;
        }
        if (result.written != QUILLET_OK) {
            report.failure(subject, statusMessage(result.written, result.writeError),
                           result.written);
            return false;
        }
        report.written(subject, removalsText(result.image.probe.facts, {result.removal}));
        return true;
    }

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
            if (!step.replaced || *step.replaced == i) {
                continue;
            }
            const std::string& earlier = steps[*step.replaced].image;
            if (list_.given()) {
                const ListedResult result = resultByList(step.image);
                if (!result.refusal.message.empty() || !holds(earlier, result.bytes)) {
                    continue;
                }
            } else if ((removalRefusal(probeImage(step.image)) != nullptr && !force_) ||
                       !holdsRemoval(earlier, step.image, chosenFill())) {
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
        report.written(subject, probe.status == QUILLET_OK ? removalSummary(probe.facts, fill)
                                                           : statusMessage(status, 0));
        return true;
    }

    bool cut_ = false;
    std::string fillText_;
    bool force_ = false;
    Destination destination_;
    DatOption list_;
    bool rename_ = false;
    std::vector<std::string> images_;
};

}  // namespace

std::unique_ptr<Command> removeCommand(CLI::App& app) {
    return std::make_unique<Remove>(app);
}

}  // namespace quillet::cli
