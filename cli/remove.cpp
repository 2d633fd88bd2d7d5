// quillet-cli remove: takes the intro off each image.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdint>
#include <functional>
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
                return parseFillByte(text) ? std::string() : notAFillByteMessage(text);
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
        // With --rename an output's name is its dump's, which only the image's bytes tell: each
        // image is checked against the list first, and one that names no output is refused for
        // its reason. What the check found serves again when the output is written.
        std::vector<std::string> outputs;
        std::vector<Checked> checked(rename_ ? images_.size() : 0);
        for (std::size_t i = 0; i < images_.size(); ++i) {
            if (rename_) {
                checked[i] = resultByList(images_[i]).checked;
                outputs.push_back(renamedOutput(images_[i], checked[i]));
            } else {
                outputs.push_back(outputFor(images_[i], destination_));
            }
        }
        std::vector<Step> steps = plannedSteps(images_, outputs);
        // Images that give the same listed dump share its output: the first writes it.
        const auto sameDump = [&](std::size_t first, std::size_t second) {
            return rename_ && checked[first].removal.dumps == checked[second].removal.dumps;
        };
        for (std::size_t i = 0; i < steps.size(); ++i) {
            if (steps[i].sharedWith && sameDump(*steps[i].sharedWith, i)) {
                steps[i].sharedWith.reset();
            }
        }
        findEarlierResults(steps, checked);
        // The step that wrote each output so far: where a file system ignores letter case, two
        // names that differ only in it meet in one file, which the first image of the two keeps.
        std::map<std::string, std::size_t> writerOf;
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
            } else if (rename_ && !checked[i].refusal.message.empty()) {
                report.failure(step.image, checked[i].refusal.message, checked[i].refusal.status);
            } else if (const std::string refusal = refusalOf(step, steps); !refusal.empty()) {
                report.failure(subject, refusal, kExitRefused);
            } else if (list_.given() && namesSameFile(step.output, list_.path())) {
                report.failure(
                    subject,
                    "The output file would replace " + list_.path() + ", the list of this run.",
                    kExitRefused);
            } else if (const auto writer = writerOf.find(fileIdentity(step.output));
                       writer != writerOf.end()) {
                const Step& first = steps[writer->second];
                sameDump(writer->second, i)
                    ? report.result(subject,
                                    "the same dump as " + first.image + " gives, written already")
                    : report.failure(subject, sharedOutputMessage(first.image), kExitRefused);
            } else if (!list_.given() ? removeIntroFrom(step.image, step.output, report)
                       : rename_      ? writeChecked(step, checked[i], report)
                                      : removeByList(step, report)) {
                writerOf.emplace(fileIdentity(step.output), i);
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

    // What the list makes of an image: the one removal of its intro whose result it holds, or
    // why there is none.
    struct Checked {
        Refusal refusal;
        ImageFacts facts{};
        verify::ListedRemoval removal;
    };

    // An image read whole, checked against the list, and the result of its removal built in
    // memory: in the image's own buffer, or in one of its own where it is padded beyond it.
    struct ListedResult {
        Checked checked;
        WholeImage image;
        std::unique_ptr<ImageBuffer> padded;
        std::optional<verify::RemovalCandidate> built;
        std::span<const std::byte> bytes;

        void build(const verify::RemovalCandidate& candidate) {
            std::span<std::byte> buffer = image.bytes();
            // The removal reads the entry branch, which another result built before replaced.
            writeEntryBranch(buffer, image.probe.facts.entryBranch);
            if (candidate.size > buffer.size()) {
                padded = std::make_unique<ImageBuffer>(candidate.size);
                std::ranges::copy(buffer, padded->bytes().begin());
                buffer = padded->bytes();
            }
            bytes = verify::applyRemoval(buffer, image.probe.facts.size, candidate);
            built = candidate;
        }
    };

    // The image at path read whole, with the result that make builds of it; refused where the
    // image cannot be read, or a result cannot be made: a hash that libgcrypt would not compute,
    // or too little memory for a result padded beyond the image.
    static ListedResult made(const std::string& path,
                             const std::function<void(ListedResult&)>& make) {
        ListedResult result{{}, readWholeImage(path), {}, {}, {}};
        const ImageProbe& probe = result.image.probe;
        result.checked.facts = probe.facts;
        try {
            if (probe.status != QUILLET_OK) {
                result.checked.refusal = {statusMessage(probe.status, probe.errorNumber),
                                          probe.status};
            } else {
                make(result);
            }
        } catch (const verify::HashError& error) {
            result.checked.refusal = {error.what(), kExitHashUnavailable};
        } catch (const std::bad_alloc&) {
            result.checked.refusal = {statusMessage(QUILLET_INPUT_TOO_LARGE, 0),
                                      QUILLET_INPUT_TOO_LARGE};
        }
        return result;
    }

    // The one removal of image's intro whose result the list holds, with its result built. Given
    // write, each result built goes to it: the one that CRC32 picks while the image's other
    // hashes are made, and the final one where that was not it.
    ListedResult resultByList(const std::string& image,
                              const std::function<void(const ListedResult&)>& write = {}) const {
        return made(image, [this, &write](ListedResult& result) {
            if (const char* refusal = removalRefusal(result.image.probe);
                refusal != nullptr && !force_) {
                result.checked.refusal = {refusal + std::string(kForceHint), kExitRefused};
                return;
            }
            const auto build = [&](const verify::RemovalCandidate& candidate) {
                result.build(candidate);
                if (write) {
                    write(result);
                }
            };
            const auto removals = verify::listedRemovals(
                result.image.bytes(), list_.list(),
                write ? build : std::function<void(const verify::RemovalCandidate&)>());
            if (removals.size() != 1) {
                result.checked.refusal = {
                    removals.empty()
                        ? "No removal of its intro gives a dump that the list holds."
                        : "Removals give different listed dumps, which remove --dat does not "
                          "choose between: " +
                              removalsText(result.checked.facts, removals) + ".",
                    kExitNotListed};
                return;
            }
            result.checked.removal = removals[0];
            if (result.built != removals[0].candidate) {
                build(removals[0].candidate);
            }
        });
    }

    // The result of the removal that checked found, built from the image read again, which must
    // still give it.
    static ListedResult resultAsChecked(const std::string& image, const Checked& checked) {
        return made(image, [&checked](ListedResult& result) {
            result.checked.removal = checked.removal;
            result.build(checked.removal.candidate);
            if (!verify::stillGives(result.bytes, checked.removal)) {
                result.checked.refusal = {
                    "The image changed after it was checked: it no longer gives that dump.",
                    QUILLET_INPUT_NOT_READ};
            }
        });
    }

    // The output that --rename names after the dump that checked found; nothing, with the
    // reason in checked, when it names none that can be a file's name.
    std::string renamedOutput(const std::string& image, Checked& checked) const {
        if (!checked.refusal.message.empty()) {
            return "";
        }
        const std::vector<const verify::ListedDump*>& dumps = checked.removal.dumps;
        const std::string& name = dumps[0]->name;
        if (std::ranges::any_of(dumps, [&name](const auto* dump) { return dump->name != name; })) {
            checked.refusal = {
                "The list names its dump in more than one way: " + listedAs(dumps) + ".",
                kExitNotListed};
        } else if (const char* reason = fileNameRefusal(name)) {
            checked.refusal = {"The list names its dump " + verify::quoted(name) +
                                   ", which is no file name: " + reason + ".",
                               kExitRefused};
        }
        return checked.refusal.message.empty() ? outputNamed(image, destination_, name) : "";
    }

    // Reports how writing result to step's output went: written is the status, error its errno.
    static bool reportWritten(const Step& step, const Checked& checked, QuilletStatus written,
                              int error, Report& report) {
        const std::string subject = step.image + " -> " + step.output;
        if (!checked.refusal.message.empty()) {
            report.failure(subject, checked.refusal.message, checked.refusal.status);
        } else if (written != QUILLET_OK) {
            report.failure(subject, statusMessage(written, error), written);
        } else {
            report.written(subject, removalsText(checked.facts, {checked.removal}));
        }
        return checked.refusal.message.empty() && written == QUILLET_OK;
    }

    // Whether the listed dump that the image gives was written to the output. The result that
    // CRC32 picks is written beside the output while the other hashes are made, and replaces it
    // once they agree.
    bool removeByList(const Step& step, Report& report) const {
        PendingOutput output;
        QuilletStatus written = QUILLET_OUTPUT_NOT_WRITTEN;
        int error = 0;
        const ListedResult result = resultByList(step.image, [&](const ListedResult& built) {
            written = output.write(step.output.c_str(), built.bytes);
            error = errno;
        });
        if (result.checked.refusal.message.empty() && written == QUILLET_OK) {
            written = output.replace();
            error = errno;
        }
        return reportWritten(step, result.checked, written, error, report);
    }

    // Whether the dump that checking the image found was written to the output that --rename
    // names. A file there that the run did not name is kept: done when it holds the dump.
    bool writeChecked(const Step& step, const Checked& checked, Report& report) const {
        const ListedResult result = resultAsChecked(step.image, checked);
        const bool made = result.checked.refusal.message.empty();
        if (made && exists(step.output)) {
            const std::string subject = step.image + " -> " + step.output;
            fileHolds(step.output, result.bytes)
                ? report.result(subject, "already done, nothing written")
                : report.failure(subject,
                                 "A file of that name is there already, with other contents, "
                                 "which --rename does not replace.",
                                 kExitRefused);
            return false;
        }
        const QuilletStatus written =
            made ? replaceFile(step.output.c_str(), result.bytes) : QUILLET_OK;
        return reportWritten(step, result.checked, written, errno, report);
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
    void findEarlierResults(std::vector<Step>& steps, const std::vector<Checked>& checked) const {
        for (std::size_t i = 0; i < steps.size(); ++i) {
            Step& step = steps[i];
            if (!step.replaced || *step.replaced == i) {
                continue;
            }
            const std::string& earlier = steps[*step.replaced].image;
            if (list_.given()) {
                const ListedResult result =
                    rename_ ? resultAsChecked(step.image, checked[i]) : resultByList(step.image);
                if (!result.checked.refusal.message.empty() || !fileHolds(earlier, result.bytes)) {
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
