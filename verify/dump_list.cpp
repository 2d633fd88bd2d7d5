#include "dump_list.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <new>

#include "image_file.h"
#include "intro.h"
#include "list_readers.h"

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

// Whether text is XML: its first character, after a byte order mark and blanks, is '<'.
bool isXml(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '<';
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

DumpList DumpList::read(const std::string& path) try {
    InputFile file;
    QuilletStatus status = file.open(path.c_str());
    if (status == QUILLET_OK && file.size() >= kMaxInputSize) {
        throw ListError(path + ": the list is too large to read");
    }
    std::string text(status == QUILLET_OK ? file.size() : 0, '\0');
    if (status == QUILLET_OK) {
        status = file.read(std::as_writable_bytes(std::span(text)));
    }
    if (status != QUILLET_OK) {
        const int error = errno;
        throw ListError(path + ": the list could not be " +
                        (status == QUILLET_INPUT_NOT_OPENED ? "opened: " : "read: ") +
                        (error == ENOTSUP ? "Not a regular file"
                         : error != 0     ? std::strerror(error)
                                          : "it ended early"));
    }
    return parse(text, path);
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
