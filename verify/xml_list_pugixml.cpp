// The XML datafile read with pugixml, on Linux.
#include <algorithm>
#include <cctype>
#include <pugixml.hpp>

#include "list_readers.h"

namespace quillet::verify {

void readXmlList(std::string_view text, const EntryHandler& take) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto);
    if (!parsed) {
        const std::size_t offset = std::min<std::size_t>(parsed.offset, text.size());
        std::string reason = parsed.description();
        reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
        throw SyntaxError{
            1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + offset, '\n')),
            "not well-formed XML: " + reason};
    }
    for (const pugi::xml_node game : document.document_element().children()) {
        if (std::string_view(game.name()) != "game" && std::string_view(game.name()) != "machine") {
            continue;
        }
        for (const pugi::xml_node rom : game.children("rom")) {
            SpeltEntry entry{game.attribute("name").value(), {}, {}, {}};
            for (const pugi::xml_attribute attribute : rom.attributes()) {
                entry.take(attribute.name(), attribute.value());
            }
            take(std::move(entry));
        }
    }
}

}  // namespace quillet::verify
