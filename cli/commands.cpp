#include "commands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "file_names.h"
#include "fill_byte.h"
#include "image_check.h"
#include "image_summary.h"
#include "messages.h"
#include "quillet.h"

namespace quillet::cli {

namespace {

constexpr const char* kProgramName = "quillet-cli";
constexpr const char* kForceHint = " Give --force to process it anyway.";

struct RemoveArguments {
    bool cut = false;
    std::string fillText;
    bool force = false;
    std::optional<std::string> output;
    std::vector<std::string> images;
};

struct AddArguments {
    std::string game;
    std::string intro;
    std::optional<std::string> output;
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

// For each image of a run, why its output must not be written, or nothing: it would replace an
// image of the run, its own included, or another image writes the same output.
std::vector<std::string> clashes(const std::vector<std::string>& images,
                                 const std::vector<std::string>& outputs) {
    std::map<std::string, std::size_t> imageOf;
    std::map<std::string, std::vector<std::size_t>> writersOf;
    for (std::size_t i = 0; i < images.size(); ++i) {
        imageOf.emplace(fileIdentity(images[i]), i);
        writersOf[fileIdentity(outputs[i])].push_back(i);
    }
    std::vector<std::string> reasons(images.size());
    for (const auto& [output, writers] : writersOf) {
        const auto image = imageOf.find(output);
        for (const std::size_t writer : writers) {
            if (image != imageOf.end()) {
                reasons[writer] = image->second == writer
                                      ? kOutputIsInputMessage
                                      : "The output file would replace " + images[image->second] +
                                            ", an image of this run.";
            } else if (writers.size() > 1) {
                reasons[writer] = "The output file is also the output of " +
                                  images[writers[writers[0] == writer ? 1 : 0]] + ".";
            }
        }
    }
    return reasons;
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

void removeIntroFrom(const std::string& image, const std::string& output,
                     const RemoveArguments& arguments, Report& report) {
    const std::string subject = image + " -> " + output;
    const ImageProbe probe = probeImage(image);
    if (const char* refusal = removalRefusal(probe); refusal != nullptr && !arguments.force) {
        report.failure(subject, refusal + std::string(kForceHint), kExitRefused);
        return;
    }
    const FillChoice fill = chosenFill(arguments);
    const std::int32_t status = RemoveIntroAuto(image.c_str(), output.c_str(), fill ? 1 : 0,
                                                fill ? std::to_integer<std::int32_t>(*fill) : 0);
    if (status != QUILLET_OK) {
        report.failure(subject, statusMessage(status, errno), status);
        return;
    }
    // Without facts only when the image changed since the probe: then the window's "Done!".
    report.result(subject, probe.status == QUILLET_OK ? removalSummary(probe.facts, fill)
                                                      : statusMessage(status, 0));
}

int runRemove(const RemoveArguments& arguments, bool quiet) {
    Report report(quiet);
    std::vector<std::string> outputs;
    for (const std::string& image : arguments.images) {
        outputs.push_back(arguments.output.value_or(outputNameFor(image)));
    }
    // The whole run is checked before anything is written.
    const std::vector<std::string> refusals = clashes(arguments.images, outputs);
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (refusals[i].empty()) {
            removeIntroFrom(arguments.images[i], outputs[i], arguments, report);
        } else {
            report.failure(arguments.images[i] + " -> " + outputs[i], refusals[i], kExitRefused);
        }
    }
    return report.finish();
}

int runAdd(const AddArguments& arguments, bool quiet) {
    const std::string output = arguments.output.value_or(outputNameFor(arguments.game));
    const std::string subject = arguments.game + " + " + arguments.intro + " -> " + output;
    Report report(quiet);
    if (namesSameFile(arguments.game, output) || namesSameFile(arguments.intro, output)) {
        report.failure(subject, kOutputIsInputMessage, kExitRefused);
    } else if (const std::int32_t status =
                   AddIntroAuto(arguments.game.c_str(), arguments.intro.c_str(), output.c_str());
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

// What is wrong with a command line that names no command, or a word that is no option of its
// command, in this program's terms; CLI11's own message for anything else.
std::string usageProblem(const CLI::App& app, const CLI::Error& error,
                         const std::vector<std::string>& words) {
    const std::vector<CLI::App*> commands = app.get_subcommands();
    const auto firstName = std::find_if(words.begin(), words.end(),
                                        [](const std::string& word) { return word[0] != '-'; });
    if (commands.empty()) {
        return firstName == words.end()
                   ? "a command is required: remove, add or info"
                   : "unknown command '" + *firstName + "'; the commands are remove, add and info";
    }
    if (dynamic_cast<const CLI::ExtrasError*>(&error) == nullptr &&
        dynamic_cast<const CLI::RequiredError*>(&error) == nullptr) {
        return error.what();
    }
    const CLI::App& command = *commands.front();
    for (const std::string& word : words) {
        const std::string name = word.substr(0, word.find('='));
        if (word == "--") {
            break;
        }
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
    return error.what();
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
        "-p\nbefore the first dot (game.gba -> game-p.gba) unless -o is given. An image that "
        "has no\nintro (its entry branch is already the standard one, or jumps into the header), "
        "or that\nis no Game Boy Advance image, is refused unless --force.\n"
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
    CLI::Option* removalOutput = remove->add_option("-o,--output", removal.output,
                                                    "Write to OUTPUT (with a single IMAGE only)");
    removalOutput->type_name("OUTPUT");
    remove->add_option("IMAGE", removal.images, "The images to take the intro off")
        ->required()
        ->type_name("");

    AddArguments addition;
    CLI::App* add =
        app.add_subcommand("add", "Append the intro image INTRO to the game image GAME");
    add->footer(
        "The game's entry branch then points at the intro's code. The result goes to GAME's "
        "name\nwith -p before the first dot (game.gba -> game-p.gba) unless -o is given.\n"
        "\nExample:\n  quillet-cli add game.gba intro.gba -o game-intro.gba");
    add->add_option("GAME", addition.game, "The game image")->required()->type_name("");
    add->add_option("INTRO", addition.intro, "The intro image, header included")
        ->required()
        ->type_name("");
    add->add_option("-o,--output", addition.output, "Write to OUTPUT")->type_name("OUTPUT");

    std::vector<std::string> inspected;
    CLI::App* info = app.add_subcommand(
        "info", "Show each IMAGE's size, entry branch and whether it carries an intro");
    info->footer(
        "Reads the first 4 bytes of each IMAGE and writes nothing.\n"
        "\nExample:\n  quillet-cli info game.gba");
    info->add_option("IMAGE", inspected, "The images to look at")->required()->type_name("");

    try {
        app.parse(argc, argv);
        if (removal.output && removal.images.size() > 1) {
            throw CLI::ValidationError(removalOutput->get_name(),
                                       "takes a single IMAGE; without it each IMAGE gets its "
                                       "own output name");
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
