// quillet-cli's command line: the program's options, the commands' parsing, and usage errors in
// the program's own words.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "messages.h"
#include "quillet.h"
#include "report.h"

namespace quillet::cli {

namespace {

// What is wrong with a command line that names no command, or a word that is no option of its
// command, in this program's terms; CLI11's own message for anything else.
std::string usageProblem(const CLI::App& app, const CLI::Error& error,
                         const std::vector<std::string>& words) {
    const std::vector<CLI::App*> commands = app.get_subcommands();
    const std::vector<const CLI::App*> every = app.get_subcommands({});
    const auto separator = std::find(words.begin(), words.end(), "--");
    const auto firstName = std::find_if(words.begin(), separator,
                                        [](const std::string& word) { return word[0] != '-'; });
    if (commands.empty()) {
        // "remove, verify, add or info", or with "and"
        const auto names = [&every](const char* last) {
            std::string text;
            for (std::size_t i = 0; i < every.size(); ++i) {
                text += (i == 0 ? "" : i + 1 < every.size() ? ", " : last) + every[i]->get_name();
            }
            return text;
        };
        return firstName == separator
                   ? "a command is required: " + names(" or ")
                   : "unknown command '" + *firstName + "'; the commands are " + names(" and ");
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
        for (const CLI::App* other : every) {
            if (other->get_option_no_throw(name) != nullptr) {
                return command.get_name() + " does not take the option " + name;
            }
        }
        return "unknown option '" + word + "'. An image whose name begins with '-' is named as ./" +
               word + ", or after --: quillet-cli " + command.get_name() + " -- " + word;
    }
    if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
        return error.what();
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
        "  quillet-cli remove --dat gba.dat --rename *.gba\n"
        "                                    give back each listed dump, named as in the list\n"
        "  quillet-cli verify --dat gba.dat *.gba\n"
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
           "  65  refused: no intro to remove, no image, or the output would replace an input of "
           "the run\n"
           "  66  not listed: the list holds neither the image (verify) nor a removal of its "
           "intro\n"
           "  69  a hash that the list gives could not be computed (MD5 in FIPS mode)\n"
           "  74  standard output could not be written";
}

}  // namespace

Command::Command(CLI::App& app, const char* name, const char* description)
    : subcommand_(*app.add_subcommand(name, description)) {}

void requireImages(const std::vector<std::string>& images, const char* command) {
    if (images.empty()) {
        throw CLI::ValidationError(std::string(command) + " needs at least one IMAGE");
    }
}

std::string joined(std::span<const std::string> words) {
    std::string text;
    for (const std::string& word : words) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text;
}

int run(int argc, char** argv) {
    CLI::App app(
        "Takes intros off Game Boy Advance ROM images, adds them, shows an image's entry branch, "
        "and\nchecks images against lists of known-good dumps. Input files are only read; an "
        "output is\nreplaced only by a complete new file.",
        kProgramName);
    app.set_version_flag("--version", "quillet-cli 1.00");
    app.footer(helpFooter());
    app.require_subcommand(1);
    // CLI11 takes /NAME for an option on Windows by default, but there it is a file's path too.
    app.allow_windows_style_options(false);
    // --quiet is the program's, but may also follow the command's name.
    app.fallthrough();
    bool quiet = false;
    app.add_flag("-q,--quiet", quiet, "Print nothing but errors (remove, verify and add)");
    const std::vector<std::string> words(argv + std::min(argc, 1), argv + argc);
    app.failure_message([&words](const CLI::App* failed, const CLI::Error& error) {
        return std::string(kProgramName) + ": " + usageProblem(*failed, error, words) + "\nRun '" +
               kProgramName + " --help' for the commands and their options.\n";
    });
    std::unique_ptr<Command> commands[] = {removeCommand(app), verifyCommand(app), addCommand(app),
                                           infoCommand(app)};

    // Everything after "--" is an image, wherever it stands: CLI11 would stop taking images
    // there once the command has one.
    const auto separator = std::find(words.begin(), words.end(), "--");
    const std::vector<std::string> named(separator + (separator == words.end() ? 0 : 1),
                                         words.end());
    Command* chosen = nullptr;
    try {
        app.parse(static_cast<int>(separator - words.begin()) + 1, argv);
        for (const std::unique_ptr<Command>& command : commands) {
            chosen = command->subcommand() ? command.get() : chosen;
        }
        chosen->complete(named);
    } catch (const CLI::ParseError& error) {
        // --help and --version arrive here as well, and are no error.
        return app.exit(error) == 0 ? 0 : kExitUsage;
    } catch (const UsageError& error) {
        std::cerr << kProgramName << ": " << error.what() << '\n';
        return kExitUsage;
    }
    return chosen->run(quiet);
}

}  // namespace quillet::cli
