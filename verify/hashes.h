// The hashes that dump lists give, computed with libgcrypt.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

struct gcry_md_handle;

namespace quillet::verify {

enum class Hash { kCrc32, kMd5, kSha1, kSha256 };
inline constexpr std::size_t kHashCount = 4;

using HashSet = std::bitset<kHashCount>;

// One digest per hash, in raw bytes, indexed by Hash; empty where none was made or given.
using Digests = std::array<std::string, kHashCount>;

// The hash that lists call name ("crc", "md5", "sha1" or "sha256"), or nullopt.
std::optional<Hash> hashNamed(std::string_view name);

// How many bytes a digest of hash has.
std::size_t digestSize(Hash hash);

// A hash that libgcrypt would not compute (MD5 in FIPS mode, for instance), in a sentence that
// gives libgcrypt's reason.
class HashError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Several hashes of the same bytes at once. A copy goes on from where the original stands, so
// that contents that share their beginning hash it once.
class Hasher {
  public:
    // Throws HashError when libgcrypt cannot make the state.
    explicit Hasher(HashSet hashes);
    Hasher(const Hasher& other);
    Hasher& operator=(const Hasher&) = delete;
    ~Hasher();

    void add(std::span<const std::byte> bytes);
    void addRepeated(std::byte value, std::uint64_t count);

    // The digests of the bytes added so far, of the hashes this was made with.
    Digests digests();

  private:
    HashSet hashes_;
    gcry_md_handle* handle_ = nullptr;
};

}  // namespace quillet::verify
