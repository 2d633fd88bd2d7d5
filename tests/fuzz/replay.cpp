// Runs a fuzz target once on each file in the folders named on the command line: the regular
// tests replay the seed corpus this way wherever no fuzzing engine is built in.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    for (int argument = 1; argument < argc; ++argument) {
        if (argv[argument][0] == '-') {
            continue;  // libFuzzer's options, such as -runs=0
        }
        for (const auto& entry : std::filesystem::directory_iterator(argv[argument])) {
            std::ifstream file(entry.path(), std::ios::binary);
            const std::string input(std::istreambuf_iterator<char>(file), {});
            std::fprintf(stderr, "%s\n", entry.path().c_str());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()),
                                   input.size());
        }
    }
    return 0;
}
