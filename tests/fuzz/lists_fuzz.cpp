// Fuzzes the readers of dump lists, the XML datafile and the text format: any input is read, or
// refused with a message that names the list and, where it gives one, a line that the input has,
// in one short line of printable text whatever bytes the list quotes.

#include <algorithm>
#include <string>

#include "dump_list.h"
#include "test_images.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        quillet::verify::DumpList::parse(text, "fuzz");
    } catch (const quillet::verify::ListError& error) {
        const std::string message = error.what();
        quillet::test::check(message.starts_with("fuzz:"), "a list's error names the list");
        const std::size_t line = std::strtoull(message.c_str() + 5, nullptr, 10);
        quillet::test::check(line <= 1 + static_cast<std::size_t>(std::ranges::count(text, '\n')),
                             "a list's error names a line that the list has");
        quillet::test::check(
            message.size() < 300 &&
                std::ranges::none_of(
                    message,
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }),
            "a list's error is one short line of printable text");
    }
    return 0;
}
