#include "image_probe.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace quillet::cli {

ImageProbe probeImage(const std::string& path) {
    ImageProbe probe{QUILLET_OK, {}};
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        probe.status = QUILLET_INPUT_NOT_OPENED;
        return probe;
    }
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        probe.status = QUILLET_INPUT_NOT_OPENED;
        return probe;
    }
    const std::streamoff size = file.tellg();
    if (size < 0 || !file.seekg(0)) {
        probe.status = QUILLET_INPUT_NOT_READ;
        return probe;
    }
    probe.facts.size = static_cast<std::uint64_t>(size);
    if (probe.facts.size < kEntryBranchSize) {
        probe.status = QUILLET_INPUT_TOO_SHORT;
        return probe;
    }
    if (!file.read(reinterpret_cast<char*>(probe.facts.entryBranch.data()), kEntryBranchSize)) {
        probe.status = QUILLET_INPUT_NOT_READ;
    }
    return probe;
}

}  // namespace quillet::cli
