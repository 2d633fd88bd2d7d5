#include "listed.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <iostream>
#include <new>

#include "commands.h"
#include "fill_byte.h"
#include "image_summary.h"
#include "report.h"

namespace quillet::cli {

CLI::Option* DatOption::add(CLI::App& command, const char* help) {
    return command.add_option("--dat", path_, help)->type_name("LIST");
}

void DatOption::load() {
    if (!given()) {
        return;
    }
    try {
        list_ = verify::DumpList::read(path_);
    } catch (const verify::ListError& error) {
        throw UsageError(error.what());
    }
    if (const std::size_t skipped = list_->skipped(); skipped > 0) {
        std::cerr << kProgramName << ": " << path_ << ": " << skipped
                  << (skipped == 1 ? " entry" : " entries")
                  << " left out, for want of a name, a size or a hash, or for a malformed one\n";
    }
}

WholeImage readWholeImage(const std::string& path) {
    WholeImage image{{QUILLET_OK, 0, {}}, {}};
    InputFile file;
    QuilletStatus& status = image.probe.status;
    status = file.open(path.c_str());
    if (status == QUILLET_OK) {
        image.probe.facts.size = file.size();
        status = file.size() < kEntryBranchSize ? QUILLET_INPUT_TOO_SHORT
                 : file.size() >= kMaxInputSize ? QUILLET_INPUT_TOO_LARGE
                                                : QUILLET_OK;
    }
    try {
        if (status == QUILLET_OK) {
            image.buffer = std::make_unique<ImageBuffer>(file.size());
            status = file.read(image.buffer->bytes());
        }
    } catch (const std::bad_alloc&) {
        status = QUILLET_INPUT_TOO_LARGE;
    }
    image.probe.errorNumber = status == QUILLET_OK ? 0 : errno;
    if (status == QUILLET_OK) {
        std::copy_n(image.buffer->bytes().begin(), kEntryBranchSize,
                    image.probe.facts.entryBranch.begin());
    }
    return image;
}

std::vector<verify::ListedRemoval> listedRemovalsOf(const WholeImage& image,
                                                    const verify::DumpList& list) {
    if (verdictOf(image.probe.facts) != Verdict::kIntro) {
        return {};
    }
    return verify::listedRemovals(image.bytes(), list);
}

std::string candidateSummary(const ImageFacts& image, const verify::RemovalCandidate& candidate) {
    if (candidate.size == image.size) {
        return removalSummary(image, candidate.fill);
    }
    return removalSummary(image, std::nullopt) +
           (candidate.size == candidate.target
                ? ""
                : ", padded with " + fillByteText(candidate.fill) + " to " +
                      std::to_string(candidate.size) + " bytes");
}

std::string listedAs(const std::vector<const verify::ListedDump*>& dumps) {
    std::string text;
    for (const verify::ListedDump* dump : dumps) {
        const std::string stem = dump->name.substr(0, dump->name.rfind('.'));
        text += (text.empty() ? "listed as " : " and as ") + dump->name +
                (dump->game.empty() || dump->game == stem ? "" : ", of " + dump->game);
    }
    return text;
}

std::string removalsText(const ImageFacts& image,
                         const std::vector<verify::ListedRemoval>& removals) {
    std::string text;
    for (const verify::ListedRemoval& removal : removals) {
        text += (text.empty() ? "" : "; ") + candidateSummary(image, removal.candidate) + ", " +
                listedAs(removal.dumps);
    }
    return text;
}

std::string notListedText(const ImageFacts& image,
                          const std::vector<verify::ListedRemoval>& removals) {
    if (removals.empty()) {
        return "not listed";
    }
    return (removals.size() == 1
                ? "not listed; remove --dat would give: "
                : "not listed; removals give different listed dumps, which remove --dat does not "
                  "choose between: ") +
           removalsText(image, removals);
}

}  // namespace quillet::cli
