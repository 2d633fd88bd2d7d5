// The web page's way into the engine. The page puts the chosen file's name, the fill byte's text
// and the image's bytes where quillet_input says, and shows the texts that quillet_info and
// quillet_remove return: what quillet-cli says of the same image, made by the same code. The
// output is the image's first quillet_output_size() bytes, to be saved as quillet_output_name().
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fill_byte.h"
#include "image_facts.h"
#include "image_summary.h"
#include "intro.h"
#include "messages.h"
#include "output_name.h"

// A function the page calls: exported from the module under its own name.
#define PAGE_EXPORT(name) extern "C" __attribute__((export_name(#name)))

using namespace quillet;

namespace {

enum Input : std::int32_t { kName, kFillText, kImage };
enum Mode : std::int32_t { kFillWithFF, kCut, kFillWithByte };

std::string name;
std::string fillText;
std::byte* image = nullptr;
std::size_t imageSize = 0;
std::size_t outputSize = 0;
std::string outputName;
std::string text;  // the last text returned, kept for the page to read

const char* said(const std::string& subject, const std::string& what) {
    text = subject + ": " + what;
    return text.c_str();
}

}  // namespace

// Room for size bytes of input, which replace the last ones of its kind; null where an image does
// not fit: at 2 GiB or more, or beyond the memory the browser gives.
PAGE_EXPORT(quillet_input) void* quillet_input(std::int32_t input, double size) {
    if (input != kImage) {
        std::string& kept = input == kName ? name : fillText;
        kept.resize(static_cast<std::size_t>(size));
        return kept.data();
    }
    std::free(image);
    imageSize = static_cast<std::size_t>(size);
    image = size < kMaxInputSize ? static_cast<std::byte*>(std::malloc(imageSize)) : nullptr;
    return image;
}

// What `quillet-cli info` says of an image of size bytes whose first bytes (up to 4) are the
// image input; read says whether the page could read them.
PAGE_EXPORT(quillet_info) const char* quillet_info(double size, bool read) {
    if (!read) {
        return said(name, statusMessage(QUILLET_INPUT_NOT_READ, 0));
    }
    const ImageProbe probe =
        probeOf(static_cast<std::uint64_t>(size), {image, image == nullptr ? 0 : imageSize});
    return said(name, probe.status == QUILLET_OK ? cli::infoLine(probe.facts)
                                                 : statusMessage(probe.status, 0));
}

// Takes the intro off the image input as `quillet-cli remove` does, in its place, and says what
// was done or why not; read says whether the page could read the whole image.
PAGE_EXPORT(quillet_remove) const char* quillet_remove(std::int32_t mode, bool read) {
    outputSize = 0;
    outputName = outputNameFor(name);
    FillChoice fill = mode == kCut ? std::nullopt : FillChoice(cli::kDefaultFillByte);
    if (mode == kFillWithByte) {
        fill = cli::parseFillByte(fillText);
        if (!fill) {
            text = cli::notAFillByteMessage(fillText);
            return text.c_str();
        }
    }
    const std::string subject = name + " -> " + outputName;
    if (image == nullptr || !read) {
        // Too large for the memory whether or not the browser could read it.
        const QuilletStatus status =
            image == nullptr ? QUILLET_INPUT_TOO_LARGE : QUILLET_INPUT_NOT_READ;
        return said(subject, statusMessage(status, 0));
    }
    const std::span<std::byte> bytes(image, imageSize);
    const ImageProbe probe = probeOf(imageSize, bytes);
    if (const char* refusal = removalRefusal(probe)) {
        return said(subject, refusal);
    }
    const Removal removal = removeIntro(bytes, fill);
    if (removal.status != QUILLET_OK) {
        return said(subject, statusMessage(removal.status, 0));
    }
    outputSize = removal.outputSize;
    return said(subject, cli::removalSummary(probe.facts, fill));
}

PAGE_EXPORT(quillet_output_size) std::size_t quillet_output_size() {
    return outputSize;
}

PAGE_EXPORT(quillet_output_name) const char* quillet_output_name() {
    return outputName.c_str();
}
