// Where a command's outputs go: the one named with -o, or a folder named with --output-dir, or
// beside each image.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace quillet::cli {

class Report;

struct Destination {
    std::optional<std::string> output;
    std::optional<std::string> folder;
};

// Where the output for image goes: OUTPUT, image's own file name in FOLDER, or image's name with
// -p, so that the output never takes its image's place in the same folder.
std::string outputFor(const std::string& image, const Destination& destination);

// The output called fileName for image: in FOLDER, or in image's own folder.
std::string outputNamed(const std::string& image, const Destination& destination,
                        const std::string& fileName);

// Adds -o and --output-dir, which exclude each other, to command; returns -o.
CLI::Option* addDestination(CLI::App& command, Destination& destination, const char* outputHelp);

// Throws a usage error for an empty OUTPUT or FOLDER, or for a FOLDER where something else is.
void checkDestination(const Destination& destination);

// The FOLDER of a run that report tells of. A missing one is made, with its missing parents,
// before the run compares the names of its outputs, which then lead into it; "FOLDER: folder made"
// comes with the first output written. The folders made go again when the run ends without
// writing into them, with nothing to say.
class OutputFolder {
  public:
    explicit OutputFolder(Report& report) : report_(report) {}
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;
    ~OutputFolder();

    // Makes FOLDER when it is not there; false, with the failure reported, when it cannot be made.
    bool make(const Destination& destination);

  private:
    Report& report_;
    std::vector<std::string> made_;
};

}  // namespace quillet::cli
