#include "image_probe.h"

#include "image_file.h"

namespace quillet::cli {

ImageProbe probeImage(const std::string& path) {
    ImageProbe probe{QUILLET_OK, {}};
    InputFile file;
    probe.status = file.open(path.c_str());
    if (probe.status != QUILLET_OK) {
        return probe;
    }
    probe.facts.size = file.size();
    probe.status = probe.facts.size < kEntryBranchSize ? QUILLET_INPUT_TOO_SHORT
                                                       : file.readFront(probe.facts.entryBranch);
    return probe;
}

}  // namespace quillet::cli
