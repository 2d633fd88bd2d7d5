// quillet-cli verify: checks images against a list of known-good dumps and writes nothing.
#include <CLI/CLI.hpp>

#include "commands.h"
#include "listed.h"
#include "messages.h"
#include "report.h"

namespace quillet::cli {

namespace {

class Verify final : public Command {
  public:
    explicit Verify(CLI::App& app)
        : Command(app, "verify", "Check each IMAGE against the list of known-good dumps LIST") {
        CLI::App& verify = subcommand();
        verify.footer(
            "An IMAGE that LIST holds gets a line that names its entry. One that it does not "
            "hold\ngets a line on standard error, which names the dump that taking its intro "
            "off with\nremove --dat would give, where there is one. Writes nothing.\n"
            "\nExample:\n  quillet-cli verify --dat 'Nintendo - Game Boy Advance.dat' *.gba");
        list_.add(verify, "The list of known-good dumps, a DAT file in XML or in text")->required();
        verify.add_option("IMAGE", images_, "The images to check")->type_name("");
    }

    void complete(const std::vector<std::string>& named) override {
        images_.insert(images_.end(), named.begin(), named.end());
        requireImages(images_, "verify");
        list_.load();
    }

    int run(bool quiet) override {
        Report report(quiet);
        for (const std::string& image : images_) {
            const WholeImage read = readWholeImage(image);
            if (read.probe.status != QUILLET_OK) {
                report.failure(image, statusMessage(read.probe.status, read.probe.errorNumber),
                               read.probe.status);
                continue;
            }
            try {
                const Listing listing = listingOf(read, list_.list(), true);
                listing.listed ? report.result(image, listing.text)
                               : report.failure(image, listing.text, kExitNotListed);
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

std::unique_ptr<Command> verifyCommand(CLI::App& app) {
    return std::make_unique<Verify>(app);
}

}  // namespace quillet::cli
