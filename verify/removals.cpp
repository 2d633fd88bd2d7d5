#include "removals.h"

#include <algorithm>
#include <bit>

#include "concurrently.h"
#include "entry_branch.h"
#include "intro.h"

namespace quillet::verify {

namespace {

constexpr std::size_t kCrc = static_cast<std::size_t>(Hash::kCrc32);

// Each candidate with the dumps of list that its content is: first the parts, together
// candidate.target bytes long, then candidate.fill up to candidate.size. Only contents of a listed
// size are hashed; CRC32 comes first, and the other hashes only where it leaves a dump in
// question, on two cores. Where CRC32 leaves one candidate alone in question, meanwhile runs with
// it at the same time.
std::vector<ListedRemoval> listedContents(
    std::span<const std::span<const std::byte>> parts, std::span<const RemovalCandidate> candidates,
    const DumpList& list, const std::function<void(const RemovalCandidate&)>& meanwhile) {
    std::vector<std::vector<const ListedDump*>> inQuestion(candidates.size());
    const auto given = [&inQuestion](std::size_t hash) {
        HashSet hashes;
        for (const auto& dumps : inQuestion) {
            for (const ListedDump* dump : dumps) {
                hashes[hash] = hashes[hash] || !dump->digests[hash].empty();
            }
        }
        return hashes;
    };
    const auto hashed = [&](HashSet hashes) {
        std::vector<Digests> digests(candidates.size());
        if (hashes.none()) {
            return digests;
        }
        Hasher shared(hashes);
        for (const std::span<const std::byte> part : parts) {
            shared.add(part);
        }
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (!inQuestion[i].empty()) {
                Hasher own(shared);
                own.addRepeated(candidates[i].fill, candidates[i].size - candidates[i].target);
                digests[i] = own.digests();
            }
        }
        return digests;
    };
    const auto keepMatching = [&](const std::vector<Digests>& digests, HashSet hashes) {
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            std::erase_if(inQuestion[i], [&](const ListedDump* dump) {
                for (std::size_t h = 0; h < kHashCount; ++h) {
                    if (hashes[h] && !dump->digests[h].empty() &&
                        dump->digests[h] != digests[i][h]) {
                        return true;
                    }
                }
                return false;
            });
        }
    };
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        for (const ListedDump& dump : list.ofSize(candidates[i].size)) {
            inQuestion[i].push_back(&dump);
        }
    }
    const auto asked = [](const auto& dumps) { return !dumps.empty(); };
    // CRC32 is made even where the list gives none, so that a result can be checked again later.
    const HashSet crc = std::ranges::any_of(inQuestion, asked) ? HashSet().set(kCrc) : HashSet();
    const std::vector<Digests> crcs = hashed(crc);
    keepMatching(crcs, crc);

    // The hashes still wanted in two groups of about equal cost, one for each core: MD5 takes
    // about as long as SHA-1 and SHA-256 together, where the processor has instructions for them.
    HashSet groups[2];
    int cost[2] = {0, 0};
    for (const auto& [hash, weight] :
         {std::pair(Hash::kMd5, 2), {Hash::kSha1, 1}, {Hash::kSha256, 1}}) {
        const std::size_t index = static_cast<std::size_t>(hash);
        const int lighter = cost[1] < cost[0] ? 1 : 0;
        groups[lighter][index] = given(index)[index];
        cost[lighter] += given(index)[index] ? weight : 0;
    }
    std::vector<Digests> digests[2] = {std::vector<Digests>(candidates.size()),
                                       std::vector<Digests>(candidates.size())};
    const auto group = [&](std::size_t g) {
        return groups[g].none() ? std::function<void()>()
                                : [&, g] { digests[g] = hashed(groups[g]); };
    };
    std::function<void()> strongHashes;
    if (groups[0].any() || groups[1].any()) {
        strongHashes = [&] { concurrently(group(0), group(1)); };
    }
    std::function<void()> withTheOneLeft;
    if (meanwhile && std::ranges::count_if(inQuestion, asked) == 1) {
        const std::size_t left = std::ranges::find_if(inQuestion, asked) - inQuestion.begin();
        withTheOneLeft = [&, left] { meanwhile(candidates[left]); };
    }
    concurrently(strongHashes, withTheOneLeft);
    keepMatching(digests[0], groups[0]);
    keepMatching(digests[1], groups[1]);
    std::vector<ListedRemoval> contents;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        contents.push_back({candidates[i], std::move(inQuestion[i]), crcs[i][kCrc]});
    }
    return contents;
}

}  // namespace

std::vector<RemovalCandidate> removalCandidates(std::uint64_t target, std::uint64_t imageSize) {
    if (target > imageSize) {
        return {{imageSize, imageSize, std::byte{0xFF}}};
    }
    std::vector<RemovalCandidate> candidates;
    const std::uint64_t padded = std::bit_ceil(target);
    for (const RemovalCandidate candidate : {RemovalCandidate{target, imageSize, std::byte{0xFF}},
                                             {target, imageSize, std::byte{0x00}},
                                             {target, target, std::byte{0xFF}},
                                             {target, padded, std::byte{0xFF}},
                                             {target, padded, std::byte{0x00}}}) {
        // Two contents of one size are the same when nothing is filled or the fill is the same.
        if (std::ranges::none_of(candidates, [&](const RemovalCandidate& before) {
                return before.size == candidate.size &&
                       (candidate.size == target || before.fill == candidate.fill);
            })) {
            candidates.push_back(candidate);
        }
    }
    return candidates;
}

std::vector<const ListedDump*> listedAsItIs(std::span<const std::byte> image,
                                            const DumpList& list) {
    const std::span<const std::byte> parts[] = {image};
    const RemovalCandidate whole{image.size(), image.size(), std::byte{0}};
    return listedContents(parts, std::span(&whole, 1), list, {})[0].dumps;
}

std::vector<ListedRemoval> listedRemovals(
    std::span<const std::byte> image, const DumpList& list,
    const std::function<void(const RemovalCandidate&)>& meanwhile) {
    if (image.size() < kEntryBranchSize) {
        return {};
    }
    const std::vector<RemovalCandidate> candidates =
        removalCandidates(decodeBranchTarget(image), image.size());
    // What every candidate begins with: the standard entry branch, then the image up to the intro,
    // or up to its end where the intro would begin past it.
    const std::span<const std::byte> parts[] = {
        kStandardEntryBranch,
        image.subspan(kEntryBranchSize, candidates[0].target - kEntryBranchSize)};
    std::vector<ListedRemoval> listed = listedContents(parts, candidates, list, meanwhile);
    std::erase_if(listed, [](const ListedRemoval& removal) { return removal.dumps.empty(); });
    return listed;
}

bool stillGives(std::span<const std::byte> result, const ListedRemoval& removal) {
    Hasher crc(HashSet().set(kCrc));
    crc.add(result);
    return crc.digests()[kCrc] == removal.crc32;
}

std::span<const std::byte> applyRemoval(std::span<std::byte> buffer, std::size_t imageSize,
                                        const RemovalCandidate& candidate) {
    // A target past the end cannot be cut at; filling from it changes nothing.
    const Removal removal =
        removeIntro(buffer.first(imageSize),
                    candidate.size == imageSize ? FillChoice(candidate.fill) : std::nullopt);
    const std::size_t size = static_cast<std::size_t>(candidate.size);
    if (size > removal.outputSize) {
        std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(removal.outputSize),
                  buffer.begin() + static_cast<std::ptrdiff_t>(size), candidate.fill);
    }
    return buffer.first(size);
}

}  // namespace quillet::verify
