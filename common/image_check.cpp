#include "image_check.h"

#include <algorithm>
#include <cerrno>

#include "image_file.h"

namespace quillet {

ImageProbe probeImage(const std::string& path) {
    InputFile file;
    std::array<std::byte, kEntryBranchSize> head{};
    QuilletStatus status = file.open(path.c_str());
    if (status == QUILLET_OK) {
        status = file.read(head);
    }
    return status == QUILLET_OK ? probeOf(file.size(), head) : ImageProbe{status, errno, {}};
}

bool fileHolds(const std::string& path, std::span<const std::byte> bytes) {
    const WholeFile held = readWholeFile(path.c_str());
    return held.status == QUILLET_OK && std::ranges::equal(held.bytes(), bytes);
}

bool holdsRemoval(const std::string& resultPath, const std::string& imagePath, FillChoice fill) {
    const WholeFile image = readWholeFile(imagePath.c_str());
    if (image.status != QUILLET_OK) {
        return false;
    }
    const Removal removal = removeIntro(image.bytes(), fill);
    return removal.status == QUILLET_OK &&
           fileHolds(resultPath, image.bytes().first(removal.outputSize));
}

}  // namespace quillet
