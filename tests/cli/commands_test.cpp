// Runs the cases of commands.t, quillet-cli as a user runs it; that file says how they are
// written.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>

#include "test_images.h"

namespace quillet::test {
namespace {

struct Case {
    std::string name;
    std::string script;
    std::string out;
    std::string err;
    int exitStatus = 0;
    std::vector<std::string> files;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

std::vector<Case> casesOf(const char* transcript) {
    std::ifstream in(transcript);
    std::vector<Case> cases;
    for (std::string line; std::getline(in, line);) {
        const bool marked = line.size() > 1 && line[1] == ' ' && std::strchr("#$!?=", line[0]);
        const std::string rest = marked ? line.substr(2) : line;
        if (line.starts_with("# ")) {
            if (cases.empty() || !cases.back().script.empty()) {
                cases.emplace_back();
            }
            cases.back().name = rest;
        } else if (marked && line[0] == '?') {
            cases.back().exitStatus = std::stoi(rest);
        } else if (marked && line[0] == '=') {
            cases.back().files.push_back(rest);
        } else if (!line.empty()) {
            (marked && line[0] == '$'   ? cases.back().script
             : marked && line[0] == '!' ? cases.back().err
                                        : cases.back().out) += (marked ? rest : line) + '\n';
        }
    }
    return cases;
}

std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// What "= NAME <- WHAT" says NAME must hold, from the folder's files before the case ran.
std::pair<std::string, Bytes> expectedFile(const ScratchFolder& folder, const std::string& line) {
    const std::size_t arrow = line.find(" <- ");
    const std::string what = line.substr(arrow + 4);
    const std::string source = what.substr(what.find(' ') + 1);
    Bytes bytes =
        what.starts_with("cut ")    ? removed(folder.read(source), std::nullopt)
        : what.starts_with("fill ") ? removed(folder.read(source.substr(3)),
                                              char(std::stoi(source.substr(0, 2), nullptr, 16)))
        : what.starts_with("add ")  ? added(folder.read(source.substr(0, source.find(" + "))),
                                            folder.read(source.substr(source.find(" + ") + 3)))
                                    : folder.read(what);
    return {line.substr(0, arrow), bytes};
}

class Transcript : public testing::TestWithParam<Case> {};

TEST_P(Transcript, RunsAsWritten) {
    const Case& c = GetParam();
    const ScratchFolder folder(true);
    const ScratchFolder captures;
    std::map<std::string, Bytes> written;
    for (const std::string& file : c.files) {
        written.insert(expectedFile(folder, file));
    }
    auto before = folder.snapshot();
    // As root, $AS_USER runs a command as nobody; as anyone else, as oneself.
    const std::string asUser =
        geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups" : "";
    const std::string script =
        "cd '" + folder.path().string() +
        "' && PATH='" QUILLET_PROGRAM_FOLDER "':\"$PATH\" SHIM='" QUILLET_FAULT_SHIM "' AS_USER='" +
        asUser + "' && (\n" + c.script + ") >'" + captures.path("out").string() + "' 2>'" +
        captures.path("err").string() + "'";
    const int status = std::system(script.c_str());
    if (WEXITSTATUS(status) == 77) {
        GTEST_SKIP() << readText(captures.path("err"));
    }
    EXPECT_EQ(readText(captures.path("out")), c.out);
    EXPECT_EQ(readText(captures.path("err")), c.err);
    EXPECT_EQ(WEXITSTATUS(status), c.exitStatus);
    auto after = folder.snapshot();
    for (const auto& [name, bytes] : written) {
        EXPECT_EQ(folder.read(name), bytes) << name;
        after.erase(name);
        before.erase(name);
    }
    EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(Cases, Transcript, testing::ValuesIn(casesOf(QUILLET_TRANSCRIPT)),
                         [](const auto& info) {
                             std::string name;
                             for (const char c : info.param.name) {
                                 if (std::isalnum(static_cast<unsigned char>(c))) {
                                     name += c;
                                 }
                             }
                             return name;
                         });

}  // namespace
}  // namespace quillet::test
