// Runs the cases of a transcript: tests/cli/commands.t (shell sessions with quillet-cli) and
// tests/frontend/window.t (what a user does in the window and sees). Each case runs in a fresh
// standard folder of test images; afterwards every file of it must be as it was, but for those
// that the case says it writes, which must hold what the rules make of their sources.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillet::test {

// A window as the transcript's lines drive and read it; each toolkit's test program has one.
class TranscriptWindow {
  public:
    virtual ~TranscriptWindow() = default;

    // "> VERB ARGUMENT": click CONTROL, type BOX TEXT, leave tab|window|popup, press
    // enter|space|down|up CONTROL, answer FILE, drop FILE, fail.
    virtual void act(const std::string& verb, const std::string& argument) = 0;
    // "NAME: ..." for a control, or for "library", "application", "captions" or "tab order".
    virtual std::string described(const std::string& name) = 0;
    // The dialogs that showed since the last call, in order: "! message", "? question",
    // "& file dialog".
    virtual std::vector<std::string> takeShown() = 0;
};

// Runs the cases of the transcript file named by QUILLET_TRANSCRIPT that are for one of tags (a
// case "# its name [tag tag]" is only for those tags; one without tags is for all). Window cases
// get a new window each. Prints a line per case and returns the exit status.
int runTranscript(const std::vector<std::string>& tags,
                  const std::function<std::unique_ptr<TranscriptWindow>()>& newWindow);

// text with the transcript's variables ($FOLDER, and the environment's $PROGRAM, $LIBNAME,
// ...) and line breaks (\n) replaced; a path that goes on after a variable takes its separators.
std::string expanded(const std::string& text);

}  // namespace quillet::test
