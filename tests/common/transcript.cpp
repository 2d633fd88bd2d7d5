#include "transcript.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
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
            const std::size_t open = line.find(" [");
            std::istringstream marks(open == std::string::npos ? "" : line.substr(open + 2));
            wanted = open == std::string::npos;
            for (std::string tag; marks >> tag;) {
                wanted = wanted || std::ranges::count(tags, tag.substr(0, tag.find(']'))) > 0;
            }
            if (wanted) {
                cases.push_back({line.substr(2, open - std::min(open, std::size_t{2})), {}});
            }
        } else if (wanted && !line.empty() && line[0] != '#') {
            cases.back().lines.push_back(line);
        }
    }
    std::erase_if(cases, [](const Case& c) { return c.lines.empty(); });
    return cases;
}

// The mismatches of one case, each with what was expected and what came.
class Failures {
  public:
    void expect(const std::string& expected, const std::string& actual) {
        if (expected != actual) {
            text_ += "  expected: " + expected + "\n  actual:   " + actual + "\n";
        }
    }
    void fail(const std::string& why) { text_ += "  " + why + "\n"; }
    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

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

// The file operations of a window case's "> VERB PATH [PATH|TEXT]" lines; false for other verbs.
bool changedFiles(const std::string& verb, const std::string& argument) {
    const std::string first = argument.substr(0, argument.find(' '));
    const std::string second = argument.substr(std::min(argument.size(), first.size() + 1));
    if (verb == "remove") {
        fs::remove_all(first);
    } else if (verb == "copy") {
        fs::remove(second);  // MinGW's copy_file refuses to overwrite
        fs::copy_file(first, second);
    } else if (verb == "move") {
        fs::rename(first, second);
    } else if (verb == "write") {
        std::ofstream(first, std::ios::binary) << second;
    } else if (verb == "mkdir") {
        fs::create_directories(first);
    } else {
        return false;
    }
    return true;
}

void runWindowCase(const Lines& lines, TranscriptWindow& window, Failures& failures) {
    std::deque<std::string> shown;
    const auto takeShown = [&] {
        for (std::string& dialog : window.takeShown()) {
            shown.push_back(std::move(dialog));
        }
    };
    for (const std::string& line : lines) {
        if (line.starts_with("> ")) {
            const std::string action = line.substr(2);
            const std::string verb = action.substr(0, action.find(' '));
            const std::string argument =
                expanded(action.substr(std::min(action.size(), verb.size() + 1)));
            if (!changedFiles(verb, argument)) {
                window.act(verb, argument);
            }
            takeShown();
        } else if (line.size() > 1 && line[1] == ' ' &&
                   std::string("!?&").find(line[0]) != std::string::npos) {
            failures.expect(expanded(line), shown.empty() ? "nothing" : shown.front());
            if (!shown.empty()) {
                shown.pop_front();
            }
        } else if (!line.starts_with("= ")) {
            const std::string name = line.substr(0, line.find(": "));
            failures.expect(expanded(line), name + ": " + window.described(name));
            takeShown();
        }
    }
    for (const std::string& dialog : shown) {
        failures.fail("a dialog that the case does not expect: " + dialog);
    }
}

// Runs a shell session: its lines "$ " are the script, "! " what it prints on standard error,
// "? " its exit status, "= " the files it writes, and the others what it prints on standard
// output. Lines end in "\n" whatever the program writes them with. Exit status 77 skips the case,
// with standard error as the reason.
std::string runSession(const Lines& lines, const fs::path& scratch, Failures& failures) {
    std::map<char, std::string> text;  // by mark; ' ' for standard output
    for (const std::string& line : lines) {
        const bool marked = line.size() > 1 && line[1] == ' ' &&
                            std::string("$!?=").find(line[0]) != std::string::npos;
        text[marked ? line[0] : ' '] += (marked ? line.substr(2) : line) + '\n';
    }
#if defined(_WIN32)
    (void)scratch;
    failures.fail("shell sessions run on Linux only");
    return {};
#else
    const std::string out = scratch / "stdout", err = scratch / "stderr";
    const pid_t shell = fork();
    if (shell == 0) {
        freopen(out.c_str(), "w", stdout);
        freopen(err.c_str(), "w", stderr);
        execl("/bin/sh", "sh", "-c", text['$'].c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(shell, &status, 0);
    const auto output = [](const std::string& path) {
        std::string bytes = (std::ostringstream() << std::ifstream(path).rdbuf()).str();
        for (std::size_t at; (at = bytes.find("\r\n")) != std::string::npos;) {
            bytes.erase(at, 1);
        }
        return bytes;
    };
    if (WEXITSTATUS(status) == 77) {
        return output(err);
    }
    failures.expect(text[' '], output(out));
    failures.expect(text['!'], output(err));
    failures.expect(
        std::to_string(std::atoi(text['?'].c_str())),
        std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)));
    return {};
#endif
}

}  // namespace

std::string expanded(const std::string& text) {
    std::string result;
    char separator = '/';  // a path goes on after a variable with the variable's separators
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t end =
            std::find_if(text.begin() + i + 1, text.end(),
                         [](char c) { return !std::isupper(static_cast<unsigned char>(c)); }) -
            text.begin();
        const char* value =
            text[i] == '$' ? std::getenv(text.substr(i + 1, end - i - 1).c_str()) : nullptr;
        if (value != nullptr && end > i + 1) {
            result += value;
            separator = std::string_view(value).find('\\') != std::string_view::npos ? '\\' : '/';
            i = end - 1;
        } else if (text.compare(i, 2, "\\n") == 0 || text.compare(i, 2, "\\t") == 0) {
            result += text[++i] == 'n' ? '\n' : '\t';
        } else {
            result += text[i] == '/' ? separator : text[i];
        }
    }
    return result;
}

int runTranscript(const std::vector<std::string>& tags,
                  const std::function<std::unique_ptr<TranscriptWindow>()>& newWindow) {
    const ScratchFolder scratch;  // the sessions' output, outside the case's folder
#if !defined(_WIN32)
    // As root, $AS_USER runs a command as nobody; as anyone else, as oneself.
    setenv("AS_USER", geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups" : "",
           1);
#endif
    int failed = 0;
    int number = 0;
    for (const Case& c : casesFor(std::getenv("QUILLET_TRANSCRIPT"), tags)) {
        ScratchFolder folder(true);
        fs::current_path(folder.path());
#if defined(_WIN32)
        _putenv_s("FOLDER", fs::current_path().string().c_str());
#else
        setenv("FOLDER", fs::current_path().c_str(), 1);
#endif
        std::map<std::string, Bytes> written;
        for (const std::string& line : c.lines) {
            if (line.starts_with("= ")) {
                written.insert(expectedFile(folder, line.substr(2)));
            }
        }
        auto before = folder.snapshot();
        Failures failures;
        std::string skipped;
        if (c.lines[0].starts_with("$ ")) {
            skipped = runSession(c.lines, scratch.path(), failures);
        } else if (newWindow) {
            runWindowCase(c.lines, *newWindow(), failures);
        } else {
            failures.fail("a window case, but this program has no window");
        }
        auto after = folder.snapshot();
        for (const auto& [name, bytes] : written) {
            if (folder.read(name) != bytes) {
                failures.fail(name + " does not hold what the rules make of its source");
            }
            after.erase(name);
            before.erase(name);
        }
        if (after != before) {
            failures.fail("files changed, came or went that the case does not write");
        }
        fs::current_path(scratch.path());
        const bool ok = failures.text().empty();
        failed += ok ? 0 : 1;
        std::cout << (ok ? "ok " : "not ok ") << ++number << " - " << c.name
                  << (skipped.empty() ? "" : " # SKIP " + skipped.substr(0, skipped.find('\n')))
                  << "\n"
                  << failures.text() << std::flush;
    }
    std::cout << "1.." << number << "\n";
    return failed == 0 && number > 0 ? 0 : 1;
}

}  // namespace quillet::test
