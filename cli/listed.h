// What quillet-cli's commands share to check images against a list of known-good dumps: the
// --dat option and its list, an image read whole, and what is said about the dumps it gives.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "dump_list.h"
#include "image_check.h"
#include "image_file.h"
#include "removals.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace quillet::cli {

// --dat LIST: the list, read once the command line has been parsed, before any image is
// touched.
class DatOption {
  public:
    CLI::Option* add(CLI::App& command, const char* help);

    bool given() const { return !path_.empty(); }

    // Reads the list when one was named, and warns of the entries left out. A list that cannot be
    // read or parsed throws UsageError.
    void load();

    const verify::DumpList& list() const { return *list_; }

  private:
    std::string path_;
    std::optional<verify::DumpList> list_;
};

// An image read whole with the engine's own file reading, which fails as the engine does.
struct WholeImage {
    ImageProbe probe;  // facts from the bytes read, or why they could not be read
    std::unique_ptr<ImageBuffer> buffer;

    std::span<std::byte> bytes() const { return buffer->bytes().first(probe.facts.size); }
};

// Reads the image at path.
WholeImage readWholeImage(const std::string& path);

// What taking the intro off an image the way candidate says does to it.
std::string candidateSummary(const ImageFacts& image, const verify::RemovalCandidate& candidate);

// "listed as NAME": each dump's name in the list, and its game's name where that is not the
// name without its extension.
std::string listedAs(const std::vector<const verify::ListedDump*>& dumps);

// "SUMMARY, listed as NAME" for one removal, and for several their texts apart.
std::string removalsText(const ImageFacts& image,
                         const std::vector<verify::ListedRemoval>& removals);

// The removals of an image read whole whose results list holds, if it has an intro.
std::vector<verify::ListedRemoval> listedRemovalsOf(const WholeImage& image,
                                                    const verify::DumpList& list);

// "not listed", and the dump that remove --dat would give, where there is one.
std::string notListedText(const ImageFacts& image,
                          const std::vector<verify::ListedRemoval>& removals);

}  // namespace quillet::cli
