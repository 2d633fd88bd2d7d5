// A list of known-good dumps (a DAT file), in either of the two formats that such lists come in:
// the XML datafile and the older text format of ROM managers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "hashes.h"

namespace quillet::verify {

struct ListedDump {
    std::string game;  // the name of the game (or machine) that the list files the dump under
    std::string name;  // the dump's file name
    std::uint64_t size;
    Digests digests;  // those that the list gives: at least one
};

// text, taken from a list, as a message quotes it: in single quotes, its first 40 characters, with
// each control character and each byte that is no UTF-8 written as \xHH.
std::string quoted(std::string_view text);

// Why a list cannot be used, in a message that names the file and, where there is one, the line.
class ListError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class DumpList {
  public:
    // The list in the file at path. Throws ListError.
    static DumpList read(const std::string& path);

    // The list that text holds, read from the file called name. Throws ListError.
    static DumpList parse(std::string_view text, const std::string& name);

    // The dumps of size bytes.
    std::span<const ListedDump> ofSize(std::uint64_t size) const;

    // How many entries were left out for want of a name, a size or a hash, or for a malformed one.
    std::size_t skipped() const { return skipped_; }

  private:
    std::vector<ListedDump> dumps_;  // by size
    std::size_t skipped_ = 0;
};

}  // namespace quillet::verify
