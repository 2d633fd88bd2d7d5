// The ways of taking an intro off an image that can give back the original dump, and which of
// them a list holds. How an intro was put in decides how it must come off:
//   in the original's padding, the size unchanged: fill from the intro to the end with the
//     padding byte, 0xFF or 0x00;
//   appended to the full image: cut at the intro;
//   appended to an image trimmed first: cut, then pad with 0xFF or 0x00 up to the next power of
//     two, the original's size.
// Every candidate puts the standard entry branch back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "dump_list.h"

namespace quillet::verify {

// The image cut where the intro began, at target, then filled with one byte up to size.
struct RemovalCandidate {
    std::uint64_t target;
    std::uint64_t size;
    std::byte fill;

    bool operator==(const RemovalCandidate&) const = default;
};

// The candidates for an image of imageSize bytes whose entry branch jumps to target, in this
// order: fill with 0xFF, fill with 0x00, cut, and where the cut's size is no power of two, pad
// with 0xFF, pad with 0x00. A candidate that gives the same bytes as one before it is left out:
// at the end, a fill and a cut are the same. A target past the end leaves nothing to cut or
// fill: its one candidate, at the end, restores the entry branch.
std::vector<RemovalCandidate> removalCandidates(std::uint64_t target, std::uint64_t imageSize);

// The dumps of list that image is, as it is. Throws HashError.
std::vector<const ListedDump*> listedAsItIs(std::span<const std::byte> image, const DumpList& list);

struct ListedRemoval {
    RemovalCandidate candidate;
    std::vector<const ListedDump*> dumps;
    std::string crc32;  // of the result, whether the list gives one or not
};

// The candidates for image whose result list holds, each with the dumps it gives. The image is
// read once, and hashed only for candidates of a listed size: what the candidates share up to the
// intro is hashed once. Where CRC32 leaves a single candidate in question, meanwhile (when given)
// runs with it while the other hashes are made, on a thread of its own: it may change the image's
// first 4 bytes and those from the candidate's target on, which the hashing does not read.
// Throws HashError.
std::vector<ListedRemoval> listedRemovals(
    std::span<const std::byte> image, const DumpList& list,
    const std::function<void(const RemovalCandidate&)>& meanwhile = {});

// Whether result is still what removal was found to give: it has the same CRC32, which tells a
// result made again from an image that has changed meanwhile. Throws HashError.
bool stillGives(std::span<const std::byte> result, const ListedRemoval& removal);

// Makes candidate's result, with the engine's removal, of the image in the first imageSize bytes
// of buffer, which has room for candidate.size bytes; returns the result.
std::span<const std::byte> applyRemoval(std::span<std::byte> buffer, std::size_t imageSize,
                                        const RemovalCandidate& candidate);

}  // namespace quillet::verify
