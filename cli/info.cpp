// quillet-cli info: what each image's entry branch says about it.
#include <CLI/CLI.hpp>

#include "commands.h"
#include "image_check.h"
#include "image_summary.h"
#include "listed.h"
#include "messages.h"
#include "report.h"

namespace quillet::cli {

namespace {

class Info final : public Command {
  public:
    explicit Info(CLI::App& app)
        : Command(app, "info",
                  "Show each IMAGE's size, entry branch and whether it carries an intro") {
        CLI::App& info = subcommand();
        info.footer(
            "Reads the first 4 bytes of each IMAGE and writes nothing. With --dat it reads each "
            "IMAGE\nwhole, and tells whether LIST holds it, or the dump that remove --dat would "
            "give.\n\nExample:\n  quillet-cli info game.gba");
        list_.add(info, "Also tell whether the list of known-good dumps LIST holds each IMAGE");
        info.add_option("IMAGE", images_, "The images to look at")->type_name("");
    }

    void complete(const std::vector<std::string>& named) override {
        images_.insert(images_.end(), named.begin(), named.end());
        requireImages(images_, "info");
        list_.load();
    }

    int run(bool) override {
        // The lines are what info is for, so --quiet leaves them.
        Report report(false);
        for (const std::string& image : images_) {
            const WholeImage read = list_.given() ? readWholeImage(image) : WholeImage{};
            const ImageProbe probe = list_.given() ? read.probe : probeImage(image);
            if (probe.status != QUILLET_OK) {
                report.failure(image, statusMessage(probe.status, probe.errorNumber), probe.status);
                continue;
            }
            try {
                report.result(
                    image,
                    infoLine(probe.facts) +
                        (list_.given() ? "; " + listingOf(read, list_.list(), false).text : ""));
            } catch (const verify::HashError& error) {
                report.failure(image, error.what(), kExitHashUnavailable);
            }
        }
        return report.finish();
    }

  private:
    DatOption list_;
    std::vector<std::string> images_;
};

}  // namespace

std::unique_ptr<Command> infoCommand(CLI::App& app) {
    return std::make_unique<Info>(app);
}

}  // namespace quillet::cli
