// The readers of the two list formats, which hand over each dump entry as the list spells it;
// DumpList checks the entries.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "hashes.h"

namespace quillet::verify {

struct SpeltEntry {
    std::string game;
    std::string name;
    std::optional<std::string> size;
    std::array<std::optional<std::string>, kHashCount> hashes;

    // Takes the value of one of the entry's fields, or leaves one that is no concern of a dump's
    // (a status, a date, flags). An empty value is none.
    void take(std::string_view field, std::string value);
};

using EntryHandler = std::function<void(SpeltEntry&&)>;

// A fault in a list's syntax; line 0 when it has no line.
struct SyntaxError {
    std::size_t line;
    std::string message;
};

// The <rom> elements of the <game> and <machine> elements of an XML datafile. Throws
// SyntaxError. On Linux pugixml reads it, on Windows the system's XmlLite.
void readXmlList(std::string_view text, const EntryHandler& take);

// The rom ( ... ) entries of the game ( ... ), machine ( ... ) and resource ( ... ) blocks of a
// list in the text format. Throws SyntaxError.
void readTextList(std::string_view text, const EntryHandler& take);

}  // namespace quillet::verify
