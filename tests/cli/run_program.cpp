#include "run_program.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "test_images.h"

namespace quillet::test {

namespace {

std::string readText(const std::filesystem::path& file) {
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

}  // namespace

ProgramRun runInShell(const std::filesystem::path& folder, const std::string& commandLine) {
    // The outputs go to files elsewhere, so that they never show in the folder.
    const ScratchFolder captures;
    const std::string asUser =
        geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups" : "";
    const std::string script =
        "cd '" + folder.string() +
        "' && PATH='" QUILLET_PROGRAM_FOLDER "':\"$PATH\" SHIM='" QUILLET_FAULT_SHIM "' AS_USER='" +
        asUser + "' && (" + commandLine + ") >'" + captures.path("out").string() + "' 2>'" +
        captures.path("err").string() + "'";
    const int status = std::system(script.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
            readText(captures.path("out")), readText(captures.path("err"))};
}

}  // namespace quillet::test
