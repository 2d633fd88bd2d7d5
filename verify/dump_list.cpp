#include "dump_list.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <new>

#include "image_file.h"
#include "list_readers.h"
#include "messages.h"

namespace quillet::verify {

namespace {

// text as bytes, from pairs of hexadecimal digits in either case; nullopt unless it has exactly
// size bytes.
std::optional<std::string> bytesFromHex(std::string_view text, std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; text.size() == 2 * size && i < text.size(); i += 2) {
        unsigned value = 0;
        const auto [end, error] = std::from_chars(text.data() + i, text.data() + i + 2, value, 16);
        if (error != std::errc{} || end != text.data() + i + 2) {
            return std::nullopt;
        }
        bytes += static_cast<char>(value);
    }
    return bytes.size() == size ? std::optional(bytes) : std::nullopt;
}

// The dump that entry describes, or nullopt when it lacks a name, a size or a hash, or has a
// malformed one.
std::optional<ListedDump> dumpOf(SpeltEntry&& entry) {
    ListedDump dump{std::move(entry.game), std::move(entry.name), 0, {}};
    const std::string& size = entry.size.value_or("");
    const auto [end, error] = std::from_chars(size.data(), size.data() + size.size(), dump.size);
    if (dump.name.empty() || size.empty() || error != std::errc{} ||
        end != size.data() + size.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < kHashCount; ++i) {
        if (entry.hashes[i]) {
            const auto digest = bytesFromHex(*entry.hashes[i], digestSize(Hash(i)));
            if (!digest) {
                return std::nullopt;
            }
            dump.digests[i] = *digest;
        }
    }
    if (std::ranges::all_of(dump.digests, [](const std::string& d) { return d.empty(); })) {
        return std::nullopt;
    }
    return dump;
}

// Whether text, with no UTF-8 byte order mark, is XML: it begins with the byte order mark of
// UTF-16 or UTF-32, or its first character other than a blank is '<', in any of those encodings.
bool isXml(std::string_view text) {
    const std::string_view marks[] = {"\xFF\xFE", "\xFE\xFF", {"\0\0\xFE\xFF", 4}};
    if (std::ranges::any_of(marks,
                            [text](std::string_view mark) { return text.starts_with(mark); })) {
        return true;
    }
    const std::size_t first = text.find_first_not_of(std::string_view(" \t\r\n\0", 5));
    return first != std::string_view::npos && text[first] == '<';
}

// How many bytes the UTF-8 character at the start of text has; 0 when it is no character, or
// a control character of Unicode's (U+0080 to U+009F).
std::size_t characterLength(std::string_view text) {
    const auto byte = [text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const std::size_t length = byte(0) < 0x80   ? 1
                               : byte(0) < 0xC2 ? 0
                               : byte(0) < 0xE0 ? 2
                               : byte(0) < 0xF0 ? 3
                               : byte(0) < 0xF5 ? 4
                                                : 0;
    if (length == 0 || length > text.size() || (byte(0) == 0xC2 && byte(1) < 0xA0)) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

}  // namespace

void SpeltEntry::take(std::string_view field, std::string value) {
    if (value.empty()) {
        return;
    }
    if (field == "name") {
        name = std::move(value);
    } else if (field == "size") {
        size = std::move(value);
    } else if (const auto hash = hashNamed(field)) {
        hashes[static_cast<std::size_t>(*hash)] = std::move(value);
    }
}

std::string quoted(std::string_view text) {
    constexpr std::size_t kMostCharacters = 40;
    std::string shown = "'";
    for (std::size_t characters = 0; !text.empty() && characters < kMostCharacters; ++characters) {
        const auto first = static_cast<unsigned char>(text[0]);
        const std::size_t length = characterLength(text);
        if (length > 0 && first >= 0x20 && first != 0x7F) {
            shown += text.substr(0, length);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", first);
            shown += escaped;
        }
        text.remove_prefix(std::max<std::size_t>(length, 1));
    }
    return shown + (text.empty() ? "'" : "'...");
}

DumpList DumpList::read(const std::string& path) try {
    const WholeFile file = readWholeFile(path.c_str());
    if (file.status == QUILLET_INPUT_TOO_LARGE) {
        throw ListError(path + ": the list is too large to read");
    }
    if (file.status != QUILLET_OK) {
        throw ListError(path + ": " +
                        explained(file.status == QUILLET_INPUT_NOT_OPENED
                                      ? "the list could not be opened"
                                      : "the list could not be read",
                                  file.errorNumber, "the list could not be read: it ended early."));
    }
    const std::span<const std::byte> bytes = file.bytes();
    return parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), path);
} catch (const std::bad_alloc&) {
    throw ListError(path + ": the list is too large to read");
}

DumpList DumpList::parse(std::string_view text, const std::string& name) {
    DumpList list;
    const EntryHandler take = [&list](SpeltEntry&& entry) {
        if (auto dump = dumpOf(std::move(entry))) {
            list.dumps_.push_back(std::move(*dump));
        } else {
            ++list.skipped_;
        }
    };
    // A UTF-8 byte order mark tells neither reader anything; the other encodings are XML's.
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    try {
        isXml(text) ? readXmlList(text, take) : readTextList(text, take);
    } catch (const SyntaxError& error) {
        throw ListError(name + (error.line > 0 ? ":" + std::to_string(error.line) : "") + ": " +
                        error.message);
    }
    if (list.dumps_.empty()) {
        throw ListError(
            name + ": no dump is listed in it" +
            (list.skipped_ > 0 ? ", for want of a name, a size or a well-formed hash" : ""));
    }
    std::ranges::stable_sort(list.dumps_, {}, &ListedDump::size);
    return list;
}

std::span<const ListedDump> DumpList::ofSize(std::uint64_t size) const {
    const auto first = std::partition_point(
        dumps_.begin(), dumps_.end(), [size](const ListedDump& dump) { return dump.size < size; });
    const auto last = std::partition_point(
        first, dumps_.end(), [size](const ListedDump& dump) { return dump.size == size; });
    return {first, last};
}

}  // namespace quillet::verify
