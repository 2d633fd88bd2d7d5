// Runs a fuzz target once on each file of the folders named on the command line: where no fuzzing
// engine is built in, the regular tests replay the seed corpus this way.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    for (int argument = 1; argument < argc; ++argument) {
        if (argv[argument][0] == '-') {
            continue;  // libFuzzer's options, such as -runs=0, mean nothing here
        }
        for (const auto& entry : std::filesystem::directory_iterator(argv[argument])) {
            std::ifstream file(entry.path(), std::ios::binary);
            const std::string input(std::istreambuf_iterator<char>(file), {});
            std::cerr << entry.path().string() << '\n';
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()),
                                   input.size());
        }
    }
}
