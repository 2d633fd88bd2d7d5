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

    bool given() const { return path_.has_value(); }

    // Reads the list when one was named, and warns of the entries left out. An empty LIST, or a
    // list that cannot be read or parsed, is a usage error.
    void load();

    const std::string& path() const { return *path_; }
    const verify::DumpList& list() const { return *list_; }

  private:
    std::optional<std::string> path_;
    std::optional<verify::DumpList> list_;
};

// An image read whole with the engine's own file reading, which fails as the engine does.
struct WholeImage {
    ImageProbe probe;  // facts from the bytes read, or why they could not be read
    std::unique_ptr<ImageBuffer> buffer;

    std::span<std::byte> bytes() const { return buffer->bytes(); }
};

// Reads the image at path.
WholeImage readWholeImage(const std::string& path);

// "SUMMARY, listed as NAME" for one removal, and for several their texts apart.
std::string removalsText(const ImageFacts& image,
                         const std::vector<verify::ListedRemoval>& removals);

// "listed as NAME": each dump's name in the list, and its game's name where that is not the
// name without its extension.
std::string listedAs(const std::vector<const verify::ListedDump*>& dumps);

// What the list says of an image read whole: whether it holds the image, and either "listed as
// NAME" or "not listed" and the dump that remove --dat would give, where there is one; that,
// when sentence, as a sentence of its own. The removals are those of an image that remove --dat
// takes without --force. Throws verify::HashError.
struct Listing {
    bool listed;
    std::string text;
};
Listing listingOf(const WholeImage& image, const verify::DumpList& list, bool sentence);

}  // namespace quillet::cli
