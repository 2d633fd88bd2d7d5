// quillet-cli add: appends an intro image to a game image.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdint>
#include <utility>

#include "commands.h"
#include "destination.h"
#include "file_names.h"
#include "messages.h"
#include "quillet.h"
#include "report.h"

namespace quillet::cli {

namespace {

class Add final : public Command {
  public:
    explicit Add(CLI::App& app)
        : Command(app, "add", "Append the intro image INTRO to the game image GAME") {
        CLI::App& add = subcommand();
        add.footer(
            "The game's entry branch then points at the intro's code. The result goes to GAME's "
            "name\nwith -p before the first dot (game.gba -> game-p.gba) unless -o or "
            "--output-dir is given.\n\nExample:\n  quillet-cli add game.gba intro.gba -o "
            "game-intro.gba");
        gameOption_ = add.add_option("GAME", game_, "The game image")->type_name("");
        introOption_ =
            add.add_option("INTRO", intro_, "The intro image, header included")->type_name("");
        addDestination(add, destination_, "Write to OUTPUT");
    }

    void complete(const std::vector<std::string>& named) override {
        for (const auto& [given, text] :
             {std::pair(gameOption_, &game_), {introOption_, &intro_}}) {
            if (*given) {
                images_.push_back(*text);
            }
        }
        images_.insert(images_.end(), named.begin(), named.end());
        if (images_.size() != 2) {
            throw CLI::ValidationError(images_.size() < 2
                                           ? "add needs a GAME and an INTRO image"
                                           : "add takes one GAME and one INTRO image; not "
                                             "expected: " +
                                                 joined(std::span(images_).subspan(2)));
        }
        checkDestination(destination_);
    }

    int run(bool quiet) override {
        const std::string& game = images_[0];
        const std::string& intro = images_[1];
        const std::string output = outputFor(game, destination_);
        const std::string subject = game + " + " + intro + " -> " + output;
        Report report(quiet);
        OutputFolder folder(report);
        if (!folder.make(destination_)) {
            return report.finish();
        }
        if (namesSameFile(game, output) || namesSameFile(intro, output)) {
            report.failure(subject, kOutputIsInputMessage, kExitRefused);
        } else if (const std::int32_t status =
                       AddIntroAuto(game.c_str(), intro.c_str(), output.c_str());
                   status != QUILLET_OK) {
            report.failure(subject, statusMessage(status, errno), status);
        } else {
            report.written(subject, "intro added");
        }
        return report.finish();
    }

  private:
    std::string game_;
    std::string intro_;
    CLI::Option* gameOption_;
    CLI::Option* introOption_;
    std::vector<std::string> images_;  // the game, then the intro
    Destination destination_;
};

}  // namespace

std::unique_ptr<Command> addCommand(CLI::App& app) {
    return std::make_unique<Add>(app);
}

}  // namespace quillet::cli
