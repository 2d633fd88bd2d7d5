#include "transcript.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>

#include "test_images.h"

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace quillet::test {

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

struct Case {
    std::string name;
    Lines lines;
};

// The cases: each begins with a line "# its name [its tags]" and holds the lines after it but
// for blank ones and comments. Comments of more than one line name no case.
std::vector<Case> casesFor(const std::string& path, const std::vector<std::string>& tags) {
    std::vector<Case> cases;
    bool wanted = false;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("# ")) {
            const std::size_t open = std::min(line.find(" ["), line.size());
            std::istringstream marks(line.substr(open));
            wanted = open == line.size();
            for (std::string tag; marks >> tag;) {
                std::erase(tag, '[');
                std::erase(tag, ']');
                wanted = wanted || std::ranges::count(tags, tag) > 0;
            }
            cases.push_back({line.substr(2, open - 2), {}});
        } else if (wanted && !line.empty() && line[0] != '#') {
            cases.back().lines.push_back(line);
        }
    }
    std::erase_if(cases, [](const Case& c) { return c.lines.empty(); });
    return cases;
}

// The file and bytes that a line "NAME <- WHAT" says a case writes: WHAT is "cut IMAGE",
// "fill XX IMAGE", "add GAME + INTRO", or another file, all as they are in folder.
std::pair<std::string, Bytes> expectedFile(const ScratchFolder& folder, const std::string& line) {
    const std::size_t arrow = line.find(" <- ");
    const std::string what = line.substr(arrow + 4), source = what.substr(what.find(' ') + 1);
    const std::size_t plus = source.find(" + ");
    return {line.substr(0, arrow),
            what.starts_with("cut ") ? removed(folder.read(source), std::nullopt)
            : what.starts_with("fill ")
                ? removed(folder.read(source.substr(3)), char(std::stoi(source, nullptr, 16)))
            : what.starts_with("add ")
                ? added(folder.read(source.substr(0, plus)), folder.read(source.substr(plus + 3)))
                : folder.read(what)};
}

// A line "> remove PATH", "> copy FROM TO" (making TO's folder) or "> move FROM TO"; false for
// what the window does.
bool changedFiles(const std::string& verb, const std::string& argument) {
    const fs::path from = argument.substr(0, argument.find(' '));
    const fs::path to = argument.substr(std::min(argument.size(), argument.find(' ') + 1));
    if (verb == "copy") {
        fs::create_directories(to.has_parent_path() ? to.parent_path() : ".");
        fs::remove(to);  // MinGW's copy_file does not replace
        fs::copy_file(from, to);
    }
    verb == "remove" ? void(fs::remove_all(from)) : verb == "move" ? fs::rename(from, to) : void();
    return verb == "copy" || verb == "remove" || verb == "move";
}

void runWindowCase(const Lines& lines, TranscriptWindow& window, std::string& failures) {
    std::vector<std::string> shown;
    for (const std::string& line : lines) {
        const std::string verb = line.substr(2, line.find(' ', 2) - 2);
        const std::string argument = expanded(line.substr(std::min(line.size(), verb.size() + 3)));
        const std::string name = line.substr(0, line.find(": "));
        std::string actual;
        if (line.starts_with("> ") && !changedFiles(verb, argument)) {
            const std::string_view verbs[] = {"click",  "type", "leave", "press",
                                              "answer", "drop", "fail"};
            std::ranges::count(verbs, verb) > 0 ? window.act(verb, argument)
                                                : void(failures += "  unknown: " + line + "\n");
        } else if (line.size() > 1 && line[1] == ' ' && std::string("!?&").find(line[0]) < 3) {
            actual = shown.empty() ? "nothing" : shown.front();
            shown.erase(shown.begin(), shown.begin() + std::min<std::size_t>(shown.size(), 1));
        } else if (!line.starts_with("= ") && !line.starts_with("> ")) {
            actual = name + ": " + window.described(name);
        }
        if (!actual.empty() && actual != expanded(line)) {
            failures += "  expected: " + expanded(line) + "\n  actual:   " + actual + "\n";
        }
        std::ranges::move(window.takeShown(), std::back_inserter(shown));
    }
    for (const std::string& dialog : shown) {
        failures += "  a dialog that the case does not expect: " + dialog + "\n";
    }
}

// Runs a shell session: its lines "$ " are the script, "! " what it prints on standard error,
// "? " its exit status, "= " the files it writes, and the others what it prints on standard
// output. Lines end in "\n" whatever the program writes them with. Exit status 77 skips the
// case, with the first line of standard error as the reason, which is returned.
std::optional<std::string> runSession(const Lines& lines, const fs::path& scratch,
                                      std::string& failures) {
    std::map<char, std::string> text;  // by mark; ' ' for standard output
    for (const std::string& line : lines) {
        const bool marked =
            line.size() > 1 && line[1] == ' ' && std::string("$!?=").find(line[0]) < 4;
        text[marked ? line[0] : ' '] += (marked ? line.substr(2) : line) + '\n';
    }
    std::ofstream(scratch / "script") << text['$'];
    const std::string out = (scratch / "out").string(), err = (scratch / "err").string();
    const int status =
        std::system(("sh " + (scratch / "script").string() + " >" + out + " 2>" + err).c_str());
    const auto output = [](const std::string& path) {
        std::string bytes = (std::ostringstream() << std::ifstream(path).rdbuf()).str();
        std::erase(bytes, '\r');
        return bytes;
    };
#if defined(_WIN32)
    const int exit = status;
#else
    const int exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
#endif
    if (exit == 77) {
        const std::string reason = output(err);
        return reason.substr(0, reason.find('\n'));
    }
    for (const auto& [expected, actual] :
         {std::pair(text[' '], output(out)),
          {text['!'], output(err)},
          {std::to_string(std::atoi(text['?'].c_str())), std::to_string(exit)}}) {
        if (expected != actual) {
            failures += "  expected: " + expected + "\n  actual:   " + actual + "\n";
        }
    }
    return std::nullopt;
}

// The failures of the folder's files: those that the case writes must hold what they should, and
// every other must be as it was before.
std::string fileFailures(const ScratchFolder& folder, const std::map<std::string, Bytes>& written,
                         std::map<std::string, Bytes> before) {
    std::string failures;
    std::map<std::string, Bytes> after = folder.snapshot();
    for (const auto& [name, bytes] : written) {
        failures += folder.read(name) == bytes ? "" : "  " + name + " does not hold it all\n";
        after.erase(name);
        before.erase(name);
    }
    return failures + (after == before ? "" : "  files changed, came or went unannounced\n");
}

void setVariable(const char* name, const std::string& value) {
#if defined(_WIN32)
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

}  // namespace

std::string expanded(const std::string& text) {
    std::string result;
    char separator = '/';  // a path goes on after a variable with the variable's separators
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t end = i + 1;
        while (end < text.size() && std::isupper(static_cast<unsigned char>(text[end]))) {
            ++end;
        }
        const char* value = text[i] == '$' && end > i + 1
                                ? std::getenv(text.substr(i + 1, end - i - 1).c_str())
                                : nullptr;
        if (value != nullptr) {
            result += value;
            separator = std::string_view(value).find('\\') < std::string_view::npos ? '\\' : '/';
            i = end - 1;
        } else if (text.compare(i, 2, "\\n") == 0) {
            result += '\n';
            ++i;
        } else {
            result += text[i] == '/' ? separator : text[i];
        }
    }
    return result;
}

int runTranscript(const std::vector<std::string>& tags,
                  const std::function<std::unique_ptr<TranscriptWindow>()>& newWindow) {
    const ScratchFolder scratch;  // the sessions' script and output, outside the case's folder
#if !defined(_WIN32)
    // As root, $AS_USER runs a command as nobody, with copies of quillet-cli and the library
    // that nobody can reach wherever the build is (root's home is closed to others); as anyone
    // else, as oneself. Only the Linux build's sessions, which name $LIBRARY, use it.
    const ScratchFolder programs;
    setVariable("AS_USER", "");
    if (const char* library = std::getenv("LIBRARY"); geteuid() == 0 && library != nullptr) {
        fs::copy_file(fs::path(library).parent_path() / "quillet-cli",
                      programs.path("quillet-cli"));
        fs::copy_file(library, programs.path(std::getenv("LIBNAME")));
        fs::permissions(programs.path(), fs::perms(0755));
        setVariable("AS_USER", "setpriv --reuid=nobody --regid=nogroup --clear-groups env PATH=" +
                                   programs.path().string() + ":/usr/bin:/bin");
    }
#endif
    int failed = 0;
    int number = 0;
    for (const Case& c : casesFor(std::getenv("QUILLET_TRANSCRIPT"), tags)) {
        ScratchFolder folder(true);
        fs::current_path(folder.path());
        setVariable("FOLDER", fs::current_path().string());
        std::map<std::string, Bytes> written;
        for (const std::string& line : c.lines) {
            if (line.starts_with("= ")) {
                written.insert(expectedFile(folder, line.substr(2)));
            }
        }
        std::map<std::string, Bytes> before = folder.snapshot();
        std::string failures;
        std::optional<std::string> skipped;
        if (c.lines[0].starts_with("$ ")) {
            skipped = runSession(c.lines, scratch.path(), failures);
        } else {
            runWindowCase(c.lines, *newWindow(), failures);
        }
        // A skipped case stopped part of the way: its files are not judged.
        failures += skipped ? "" : fileFailures(folder, written, std::move(before));
        fs::current_path(scratch.path());
        failed += failures.empty() ? 0 : 1;
        std::cout << (failures.empty() ? "ok " : "not ok ") << ++number << " - " << c.name
                  << (skipped ? " # SKIP " + *skipped : "") << "\n"
                  << failures << std::flush;
    }
    std::cout << "1.." << number << "\n";
    return failed == 0 && number > 0 ? 0 : 1;
}

}  // namespace quillet::test
