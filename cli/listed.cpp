#include "listed.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <iostream>

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
    if (path_->empty()) {
        throw CLI::ValidationError("--dat", "no list was named");
    }
    try {
        list_ = verify::DumpList::read(*path_);
    } catch (const verify::ListError& error) {
        throw UsageError(error.what());
    }
    if (const std::size_t skipped = list_->skipped(); skipped > 0) {
        std::cerr << kProgramName << ": " << *path_ << ": " << skipped
                  << (skipped == 1 ? " entry" : " entries")
                  << " left out, for want of a name, a size or a hash, or for a malformed one\n";
    }
}

WholeImage readWholeImage(const std::string& path) {
    WholeFile file = readWholeFile(path.c_str());
    const ImageProbe probe = file.status == QUILLET_OK
                                 ? probeOf(file.size, file.bytes())
                                 : ImageProbe{file.status, file.errorNumber, {file.size, {}}};
    return {probe, std::move(file.buffer)};
}

namespace {

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

}  // namespace

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

Listing listingOf(const WholeImage& image, const verify::DumpList& list, bool sentence) {
    if (const auto dumps = verify::listedAsItIs(image.bytes(), list); !dumps.empty()) {
        return {true, listedAs(dumps)};
    }
    const auto removals = removalRefusal(image.probe) == nullptr
                              ? verify::listedRemovals(image.bytes(), list)
                              : std::vector<verify::ListedRemoval>();
    const std::string text =
        (sentence ? "Not listed" : "not listed") +
        (removals.empty()       ? std::string()
         : removals.size() == 1 ? "; remove --dat would give: "
                                : "; removals give different listed dumps, which remove --dat does "
                                  "not choose between: ") +
        removalsText(image.probe.facts, removals);
    return {false, text + (sentence ? "." : "")};
}

}  // namespace quillet::cli
