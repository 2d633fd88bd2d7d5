// Where a command's outputs go: the one named with -o, or a folder named with --output-dir, or
// beside each image.
#pragma once

#include <optional>
#include <string>

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

// Makes FOLDER and its missing parents when it is not there, before any output is written, and
// reports it on one line; false, with the failure reported, when it cannot be made.
bool makeOutputFolder(const Destination& destination, Report& report);

}  // namespace quillet::cli
