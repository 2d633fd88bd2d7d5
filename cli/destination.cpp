#include "destination.h"

#include <CLI/CLI.hpp>

#include <cerrno>

#include "file_names.h"
#include "file_system.h"
#include "messages.h"
#include "output_name.h"
#include "quillet.h"
#include "report.h"

namespace quillet::cli {

std::string outputFor(const std::string& image, const Destination& destination) {
    if (destination.output) {
        return *destination.output;
    }
    if (destination.folder) {
        return outputNamed(image, destination, image.substr(folderOf(image).size()));
    }
    return outputNameFor(image);
}

std::string outputNamed(const std::string& image, const Destination& destination,
                        const std::string& fileName) {
    return destination.folder ? inFolder(*destination.folder, fileName)
                              : folderOf(image) + fileName;
}

CLI::Option* addDestination(CLI::App& command, Destination& destination, const char* outputHelp) {
    CLI::Option* output =
        command.add_option("-o,--output", destination.output, outputHelp)->type_name("OUTPUT");
    command
        .add_option("--output-dir", destination.folder,
                    "Write each output into FOLDER (made if missing), under its image's own "
                    "file name")
        ->type_name("FOLDER")
        ->excludes(output);
    return output;
}

void checkDestination(const Destination& destination) {
    if (destination.output && destination.output->empty()) {
        throw CLI::ValidationError("--output", "no output file was named");
    }
    if (destination.folder && (destination.folder->empty() ||
                               (exists(*destination.folder) && !isFolder(*destination.folder)))) {
        throw CLI::ValidationError("--output-dir", "'" + *destination.folder + "' is not a folder");
    }
}

OutputFolder::~OutputFolder() {
    if (!report_.wroteOutput()) {
        removeEmptyFolders(made_);
    }
}

bool OutputFolder::make(const Destination& destination) {
    const std::optional<std::string>& folder = destination.folder;
    if (!folder || isFolder(*folder)) {
        return true;
    }
    if (!makeFolders(*folder, made_)) {
        report_.failure(
            *folder,
            explained("Output folder could not be made", errno, "Output folder could not be made!"),
            QUILLET_OUTPUT_NOT_WRITTEN);
        return false;
    }
    report_.beforeFirstOutput(*folder, "folder made");
    return true;
}

}  // namespace quillet::cli
