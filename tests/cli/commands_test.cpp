// Runs the cases of commands.t, quillet-cli as a user runs it; that file says how they are
// written.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "test_images.h"

namespace quillet::test {
namespace {

using Case = std::pair<std::string, std::vector<std::string>>;

std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Transcript : public testing::TestWithParam<Case> {};

TEST_P(Transcript, RunsAsWritten) {
    const ScratchFolder folder(true);
    const ScratchFolder captures;
    std::string script, out, err;
    int exitStatus = 0;
    std::map<std::string, Bytes> written;
    for (const std::string& line : GetParam().second) {
        const std::string rest = line.substr(std::min<std::size_t>(line.size(), 2));
        if (line.starts_with("$ ") || line.starts_with("! ")) {
            (line[0] == '$' ? script : err) += rest + '\n';
        } else if (line.starts_with("? ")) {
            exitStatus = std::stoi(rest);
        } else if (line.starts_with("= ")) {
            written.insert(expectedFile(folder, rest));
        } else {
            out += line + '\n';
        }
    }
    auto before = folder.snapshot();
    // As root, $AS_USER runs a command as nobody; as anyone else, as oneself.
    const std::string asUser =
        geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups" : "";
    const int status =
        std::system(("cd '" + folder.path().string() +
                     "' && PATH='" QUILLET_PROGRAM_FOLDER "':\"$PATH\" SHIM='" QUILLET_FAULT_SHIM
                     "' AS_USER='" +
                     asUser + "' && (\n" + script + ") >'" + captures.path("out").string() +
                     "' 2>'" + captures.path("err").string() + "'")
                        .c_str());
    if (WEXITSTATUS(status) == 77) {
        GTEST_SKIP() << readText(captures.path("err"));
    }
    EXPECT_EQ(readText(captures.path("out")), out);
    EXPECT_EQ(readText(captures.path("err")), err);
    EXPECT_EQ(WEXITSTATUS(status), exitStatus);
    auto after = folder.snapshot();
    for (const auto& [name, bytes] : written) {
        EXPECT_EQ(folder.read(name), bytes) << name;
        after.erase(name);
        before.erase(name);
    }
    EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(Cases, Transcript, testing::ValuesIn(transcriptCases(QUILLET_TRANSCRIPT)),
                         [](const auto& info) {
                             std::string name = info.param.first;
                             std::erase_if(name, [](unsigned char c) { return !std::isalnum(c); });
                             return name;
                         });

}  // namespace
}  // namespace quillet::test
