#include "commands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "file_names.h"
#include "file_system.h"
#include "fill_byte.h"
#include "image_check.h"
#include "image_summary.h"
#include "messages.h"
#include "quillet.h"

namespace quillet::cli {

namespace {

constexpr const char* kProgramName = "quillet-cli";
constexpr const char* kForceHint = " Give --force to process it anyway.";

// Where outputs go: the one named with -o, or a folder named with --output-dir, or beside each
// image.
struct Destination {
    std::optional<std::string> output;
    std::optional<std::string> folder;
};

struct RemoveArguments {
    bool cut = false;
    std::string fillText;
    bool force = false;
    Destination destination;
    std::vector<std::string> images;
};

struct AddArguments {
    std::vector<std::string> images;  // the game, then the intro
    Destination destination;
};

// One line per image as soon as it is done: results on standard output unless quiet, failures
// on standard error. The first failure's status becomes the exit status; standard output that
// cannot be written is a failure too.
class Report {
  public:
    explicit Report(bool quiet) : quiet_(quiet) {}

    void result(const std::string& subject, const std::string& text) {
        // Flushed, so that a script reading the output sees each image as it finishes.
        if (!quiet_ && !(std::cout << subject << ": " << text << std::endl) && outputError_ == 0) {
            outputError_ = errno;
        }
    }

    void failure(const std::string& subject, const std::string& message, int status) {
        std::cerr << kProgramName << ": " << subject << ": " << message << '\n';
        if (exitStatus_ == 0) {
            exitStatus_ = status;
        }
    }

    // The exit status of the run, once standard output that could not be written is reported.
    int finish() {
        if (outputError_ != 0) {
            std::cerr << kProgramName
                      << ": standard output could not be written: " << std::strerror(outputError_)
                      << '\n';
            return exitStatus_ != 0 ? exitStatus_ : kExitOutputFailed;
        }
        return exitStatus_;
    }

  private:
    bool quiet_;
    int exitStatus_ = 0;
    int outputError_ = 0;
};

// Where the output for image goes: OUTPUT, image's own file name in FOLDER, or image's name with
// -p, so that the output never takes its image's place in the same folder.
std::string outputFor(const std::string& image, const Destination& destination) {
    if (destination.output) {
        return *destination.output;
    }
    if (destination.folder) {
        // A folder that ends in a separator, or on Windows in a drive's colon, takes no other.
        const std::string& folder = *destination.folder;
        return folder + (folderOf(folder) == folder ? "" : "/") +
               image.substr(folderOf(image).size());
    }
    return outputNameFor(image);
}

// What a run does with one of its images, planned for the whole run before anything is written.
struct Step {
    std::string image;
    std::string output;
    std::optional<std::size_t> replaced;    // the step whose image the output would replace
    std::optional<std::size_t> sharedWith;  // another step that writes the same output
    std::optional<std::size_t> resultOf;    // the step whose earlier result this image is
    std::optional<std::size_t> sameAs;      // the step of the same image named before
    bool done = false;                      // its output holds its result already
};

// An image named twice, under any name, is done once.
std::vector<Step> plannedSteps(const std::vector<std::string>& images,
                               const Destination& destination) {
    std::vector<Step> steps;
    std::map<std::string, std::size_t> stepOfImage;
    std::map<std::string, std::vector<std::size_t>> writersOf;
    for (const std::string& image : images) {
        const auto [first, isNew] = stepOfImage.emplace(fileIdentity(image), steps.size());
        steps.push_back({image, outputFor(image, destination), {}, {}, {}, {}, false});
        if (isNew) {
            writersOf[fileIdentity(steps.back().output)].push_back(steps.size() - 1);
        } else {
            steps.back().sameAs = first->second;
        }
    }
    for (const auto& [output, writers] : writersOf) {
        const auto image = stepOfImage.find(output);
        for (const std::size_t writer : writers) {
            if (image != stepOfImage.end()) {
                steps[writer].replaced = image->second;
            } else if (writers.size() > 1) {
                steps[writer].sharedWith = writers[writers[0] == writer ? 1 : 0];
            }
        }
    }
    return steps;
}

std::string sharedOutputMessage(const std::string& otherImage) {
    return "The output file is also the output of " + otherImage + ".";
}

// Why a step's output must not be written, or nothing.
std::string refusalOf(const Step& step, const std::vector<Step>& steps) {
    if (step.replaced) {
        return &steps[*step.replaced] == &step
                   ? kOutputIsInputMessage
                   : "The output file would replace " + steps[*step.replaced].image +
                         ", an image of this run.";
    }
    return step.sharedWith ? sharedOutputMessage(steps[*step.sharedWith].image) : std::string();
}

// The fill the arguments ask for; a --fill text has passed parseFillByte during parsing.
FillChoice chosenFill(const RemoveArguments& arguments) {
    if (arguments.cut) {
        return std::nullopt;
    }
    if (arguments.fillText.empty()) {
        return kDefaultFillByte;
    }
    return parseFillByte(arguments.fillText);
}

// A run again over the images and outputs of an earlier one: an image of the run that holds
// exactly what the run would write there for another image is that image's earlier result. Both
// are done already; nothing else that would replace an image of the run is.
void findEarlierResults(std::vector<Step>& steps, const RemoveArguments& arguments) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        Step& step = steps[i];
        if (!step.replaced || *step.replaced == i ||
            (removalRefusal(probeImage(step.image)) != nullptr && !arguments.force) ||
            !holdsRemoval(steps[*step.replaced].image, step.image, chosenFill(arguments))) {
            continue;
        }
        step.done = true;
        steps[*step.replaced].resultOf = i;
    }
}

// Whether the intro came off and the output was written.
bool removeIntroFrom(const std::string& image, const std::string& output,
                     const RemoveArguments& arguments, Report& report) {
    const std::string subject = image + " -> " + output;
    const ImageProbe probe = probeImage(image);
    if (const char* refusal = removalRefusal(probe); refusal != nullptr && !arguments.force) {
        report.failure(subject, refusal + std::string(kForceHint), kExitRefused);
        return false;
    }
    const FillChoice fill = chosenFill(arguments);
    const std::int32_t status = RemoveIntroAuto(image.c_str(), output.c_str(), fill ? 1 : 0,
                                                fill ? std::to_integer<std::int32_t>(*fill) : 0);
    if (status != QUILLET_OK) {
        report.failure(subject, statusMessage(status, errno), status);
        return false;
    }
    // Without facts only when the image changed since the probe: then the window's "Done!".
    report.result(subject, probe.status == QUILLET_OK ? removalSummary(probe.facts, fill)
                                                      : statusMessage(status, 0));
    return true;
}

int runRemove(const RemoveArguments& arguments, bool quiet) {
    Report report(quiet);
    std::vector<Step> steps = plannedSteps(arguments.images, arguments.destination);
    findEarlierResults(steps, arguments);
    // The outputs written so far: where a file system ignores letter case, two names that differ
    // only in it meet in one file, which the first image of the two keeps.
    std::map<std::string, std::string> imageOfOutput;
    for (const Step& step : steps) {
        const std::string subject = step.image + " -> " + step.output;
        if (step.sameAs) {
            report.result(step.image,
                          "the same image as " + steps[*step.sameAs].image + ", named before");
        } else if (step.resultOf) {
            report.result(step.image,
                          "the result of " + steps[*step.resultOf].image + ", left as it is");
        } else if (step.done) {
            report.result(subject, "already done, nothing written");
        } else if (const std::string refusal = refusalOf(step, steps); !refusal.empty()) {
            report.failure(subject, refusal, kExitRefused);
        } else if (const auto written = imageOfOutput.find(fileIdentity(step.output));
                   written != imageOfOutput.end()) {
            report.failure(subject, sharedOutputMessage(written->second), kExitRefused);
        } else if (removeIntroFrom(step.image, step.output, arguments, report)) {
            imageOfOutput.emplace(fileIdentity(step.output), step.image);
        }
    }
    return report.finish();
}

int runAdd(const AddArguments& arguments, bool quiet) {
    const std::string& game = arguments.images[0];
    const std::string& intro = arguments.images[1];
    const std::string output = outputFor(game, arguments.destination);
    const std::string subject = game + " + " + intro + " -> " + output;
    Report report(quiet);
    if (namesSameFile(game, output) || namesSameFile(intro, output)) {
        report.failure(subject, kOutputIsInputMessage, kExitRefused);
    } else if (const std::int32_t status =
                   AddIntroAuto(game.c_str(), intro.c_str(), output.c_str());
               status != QUILLET_OK) {
        report.failure(subject, statusMessage(status, errno), status);
    } else {
        report.result(subject, "intro added");
    }
    return report.finish();
}

int runInfo(const std::vector<std::string>& images) {
    // The lines are what info is for, so --quiet leaves them.
    Report report(false);
    for (const std::string& image : images) {
        const ImageProbe probe = probeImage(image);
        if (probe.status == QUILLET_OK) {
            report.result(image, infoLine(probe.facts));
        } else {
            report.failure(image, statusMessage(probe.status, probe.errorNumber), probe.status);
        }
    }
    return report.finish();
}

std::string joined(std::span<const std::string> words) {
    std::string text;
    for (const std::string& word : words) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text;
}

// -o and --output-dir, which exclude each other.
void addDestination(CLI::App& command, Destination& destination, const char* outputHelp) {
    CLI::Option* output =
        command.add_option("-o,--output", destination.output, outputHelp)->type_name("OUTPUT");
    command
        .add_option("--output-dir", destination.folder,
                    "Write each output into FOLDER, under its image's own file name")
        ->type_name("FOLDER")
        ->excludes(output);
}

void checkDestination(const Destination& destination) {
    if (destination.output && destination.output->empty()) {
        throw CLI::ValidationError("--output", "no output file was named");
    }
    if (destination.folder && !isFolder(*destination.folder)) {
        throw CLI::ValidationError("--output-dir", "'" + *destination.folder + "' is not a folder");
    }
}

std::size_t distinctFiles(const std::vector<std::string>& names) {
    std::set<std::string> identities;
    for (const std::string& name : names) {
        identities.insert(fileIdentity(name));
    }
    return identities.size();
}

void requireImages(const std::vector<std::string>& images, const char* command) {
    if (images.empty()) {
        throw CLI::ValidationError(std::string(command) + " needs at least one IMAGE");
    }
}

// What is wrong with a command line that names no command, or a word that is no option of its
// command, in this program's terms; CLI11's own message for anything else.
std::string usageProblem(const CLI::App& app, const CLI::Error& error,
                         const std::vector<std::string>& words) {
    const std::vector<CLI::App*> commands = app.get_subcommands();
    const auto separator = std::find(words.begin(), words.end(), "--");
    const auto firstName = std::find_if(words.begin(), separator,
                                        [](const std::string& word) { return word[0] != '-'; });
    if (commands.empty()) {
        return firstName == separator
                   ? "a command is required: remove, add or info"
                   : "unknown command '" + *firstName + "'; the commands are remove, add and info";
    }
    const CLI::App& command = *commands.front();
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
        // CLI11 names the option first: it came without its value, or more than once.
        const std::string name =
            std::string(error.what()).substr(0, std::string(error.what()).find(':'));
        const CLI::Option* option = command.get_option_no_throw(name);
        const auto given =
            std::count_if(words.begin(), separator, [option](const std::string& word) {
                // --name=value, or -n with its value joined to it
                const std::size_t end = word.starts_with("--") ? word.find('=') : 2;
                return option != nullptr && option->check_name(word.substr(0, end));
            });
        return name + (given > 1 ? " may be given only once" : " needs a value");
    }
    if (dynamic_cast<const CLI::ExtrasError*>(&error) == nullptr &&
        dynamic_cast<const CLI::RequiredError*>(&error) == nullptr) {
        return error.what();
    }
    for (const std::string& word : std::span(words.begin(), separator)) {
        const std::string name = word.substr(0, word.find('='));
        if (word.size() < 2 || word[0] != '-' || command.get_option_no_throw(name) != nullptr ||
            app.get_option_no_throw(name) != nullptr) {
            continue;
        }
        for (const char* other : {"remove", "add", "info"}) {
            if (app.get_subcommand(other)->get_option_no_throw(name) != nullptr) {
                return command.get_name() + " does not take the option " + name;
            }
        }
        return "unknown option '" + word + "'. An image whose name begins with '-' is named as ./" +
               word + ", or after --: quillet-cli " + command.get_name() + " -- " + word;
    }
    // Only add has a number of images that can be exceeded; CLI11 stops at "--".
    std::vector<std::string> extras = app.remaining(true);
    extras.insert(extras.end(), separator + (separator == words.end() ? 0 : 1), words.end());
    return "add takes one GAME and one INTRO image; not expected: " + joined(extras);
}

std::string helpFooter() {
    std::string text =
        "Examples:\n"
        "  quillet-cli remove *.gba          fill each intro with 0xFF, game.gba -> game-p.gba\n"
        "  quillet-cli remove --cut -o clean.gba game.gba\n"
        "  quillet-cli add game.gba intro.gba\n"
        "  quillet-cli info *.gba\n"
        "\n"
        "Exit status (the first failure's when several images are given; the others are still "
        "done):\n"
        "  0   every image succeeded\n";
    for (std::int32_t status = QUILLET_INPUT_NOT_OPENED; status <= QUILLET_INPUT_TOO_LARGE;
         ++status) {
        text += "  " + std::to_string(status) + "   " + statusMessage(status, 0) + "\n";
    }
    return text +
           "  64  usage error: nothing was touched\n"
           "  65  refused: no intro to remove, no image, or the output would replace an image of "
           "the run\n"
           "  74  standard output could not be written";
}

}  // namespace

int run(int argc, char** argv) {
    CLI::App app(
        "Takes intros off Game Boy Advance ROM images, adds them, and shows an image's entry "
        "branch.\nInput files are only read; an output is replaced only by a complete new file.",
        kProgramName);
    app.set_version_flag("--version", "quillet-cli 1.00");
    app.footer(helpFooter());
    app.require_subcommand(1);
    // CLI11 takes /NAME for an option on Windows by default, but there it is a file's path too.
    app.allow_windows_style_options(false);
    // --quiet is the program's, but may also follow the command's name.
    app.fallthrough();
    bool quiet = false;
    app.add_flag("-q,--quiet", quiet, "Print nothing but errors (remove and add)");
    const std::vector<std::string> words(argv + std::min(argc, 1), argv + argc);
    app.failure_message([&words](const CLI::App* failed, const CLI::Error& error) {
        return std::string(kProgramName) + ": " + usageProblem(*failed, error, words) + "\nRun '" +
               kProgramName + " --help' for the commands and their options.\n";
    });

    RemoveArguments removal;
    CLI::App* remove = app.add_subcommand(
        "remove", "Take the intro off each IMAGE and write the result to a new file");
    remove->footer(
        "The entry branch becomes the standard one again, and the intro is overwritten with "
        "0xFF\n(or --fill BYTE), or cut off with --cut. Each result goes to the IMAGE's name with "
        "-p\nbefore the first dot (game.gba -> game-p.gba) unless -o or --output-dir is given. "
        "An\nimage that has no intro (its entry branch is already the standard one, or jumps "
        "into\nthe header), or that is no Game Boy Advance image, is refused unless --force. "
        "Run again\nover its own results, it finds them done and writes nothing.\n"
        "\nExample:\n  quillet-cli remove *.gba");
    CLI::Option* cut =
        remove->add_flag("--cut", removal.cut, "Cut each image off where its intro begins");
    remove
        ->add_option("--fill", removal.fillText,
                     "Fill the intro with BYTE: 0 to 255, or 0x00 to 0xFF (default 0xFF)")
        ->type_name("BYTE")
        ->excludes(cut)
        ->check(CLI::Validator(
            [](const std::string& text) {
                return parseFillByte(text)
                           ? std::string()
                           : "'" + text + "' is not a byte: give 0 to 255, or 0x00 to 0xFF";
            },
            ""));
    remove->add_flag("--force", removal.force,
                     "Also process an image whose entry branch is already the standard one");
    addDestination(*remove, removal.destination, "Write to OUTPUT (with a single IMAGE only)");
    remove->add_option("IMAGE", removal.images, "The images to take the intro off")->type_name("");

    AddArguments addition;
    CLI::App* add =
        app.add_subcommand("add", "Append the intro image INTRO to the game image GAME");
    add->footer(
        "The game's entry branch then points at the intro's code. The result goes to GAME's "
        "name\nwith -p before the first dot (game.gba -> game-p.gba) unless -o or --output-dir "
        "is given.\n\nExample:\n  quillet-cli add game.gba intro.gba -o game-intro.gba");
    std::string game;
    std::string intro;
    CLI::Option* gameOption = add->add_option("GAME", game, "The game image")->type_name("");
    CLI::Option* introOption =
        add->add_option("INTRO", intro, "The intro image, header included")->type_name("");
    addDestination(*add, addition.destination, "Write to OUTPUT");

    std::vector<std::string> inspected;
    CLI::App* info = app.add_subcommand(
        "info", "Show each IMAGE's size, entry branch and whether it carries an intro");
    info->footer(
        "Reads the first 4 bytes of each IMAGE and writes nothing.\n"
        "\nExample:\n  quillet-cli info game.gba");
    info->add_option("IMAGE", inspected, "The images to look at")->type_name("");

    // Everything after "--" is an image, wherever it stands: CLI11 would stop taking images
    // there once the command has one.
    const auto separator = std::find(words.begin(), words.end(), "--");
    const std::vector<std::string> named(separator + (separator == words.end() ? 0 : 1),
                                         words.end());
    try {
        app.parse(static_cast<int>(separator - words.begin()) + 1, argv);
        if (*remove) {
            removal.images.insert(removal.images.end(), named.begin(), named.end());
            requireImages(removal.images, "remove");
            checkDestination(removal.destination);
            if (removal.destination.output && distinctFiles(removal.images) > 1) {
                throw CLI::ValidationError("--output",
                                           "takes a single IMAGE; without it each IMAGE gets its "
                                           "own output name");
            }
        } else if (*add) {
            for (const auto& [given, text] :
                 {std::pair(gameOption, &game), {introOption, &intro}}) {
                if (*given) {
                    addition.images.push_back(*text);
                }
            }
            addition.images.insert(addition.images.end(), named.begin(), named.end());
            if (addition.images.size() != 2) {
                throw CLI::ValidationError(
                    addition.images.size() < 2
                        ? "add needs a GAME and an INTRO image"
                        : "add takes one GAME and one INTRO image; not expected: " +
                              joined(std::span(addition.images).subspan(2)));
            }
            checkDestination(addition.destination);
        } else if (*info) {
            inspected.insert(inspected.end(), named.begin(), named.end());
            requireImages(inspected, "info");
        }
    } catch (const CLI::ParseError& error) {
        // --help and --version arrive here as well, and are no error.
        return app.exit(error) == 0 ? 0 : kExitUsage;
    }
    if (*remove) {
        return runRemove(removal, quiet);
    }
    if (*add) {
        return runAdd(addition, quiet);
    }
    return runInfo(inspected);
}

}  // namespace quillet::cli
