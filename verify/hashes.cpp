#include "hashes.h"

#include <gcrypt.h>

#include <algorithm>
#include <vector>

namespace quillet::verify {

namespace {

constexpr int kAlgorithms[kHashCount] = {GCRY_MD_CRC32, GCRY_MD_MD5, GCRY_MD_SHA1, GCRY_MD_SHA256};
constexpr std::string_view kNames[kHashCount] = {"crc", "md5", "sha1", "sha256"};
constexpr const char* kTitles[kHashCount] = {"CRC32", "MD5", "SHA-1", "SHA-256"};

[[noreturn]] void fail(const std::string& what, gcry_error_t error) {
    throw HashError(what + " could not be computed: " + gcry_strerror(error) + ".");
}

// libgcrypt wants to be initialised once before its first use. Hashing keeps no secrets, so its
// secure memory is not needed.
void initialiseOnce() {
    static const bool initialised = [] {
        gcry_check_version(nullptr);
        gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
        gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
        return true;
    }();
    (void)initialised;
}

}  // namespace

std::optional<Hash> hashNamed(std::string_view name) {
    const auto found = std::find(std::begin(kNames), std::end(kNames), name);
    return found == std::end(kNames) ? std::nullopt
                                     : std::optional(Hash(found - std::begin(kNames)));
}

std::size_t digestSize(Hash hash) {
    constexpr std::size_t kSizes[kHashCount] = {4, 16, 20, 32};
    return kSizes[static_cast<std::size_t>(hash)];
}

Hasher::Hasher(HashSet hashes) : hashes_(hashes) {
    initialiseOnce();
    if (const gcry_error_t error = gcry_md_open(&handle_, 0, 0)) {
        fail("The hashes", error);
    }
    for (std::size_t i = 0; i < kHashCount; ++i) {
        if (const gcry_error_t error = hashes_[i] ? gcry_md_enable(handle_, kAlgorithms[i]) : 0) {
            gcry_md_close(handle_);
            fail(kTitles[i], error);
        }
    }
}

Hasher::Hasher(const Hasher& other) : hashes_(other.hashes_) {
    if (const gcry_error_t error = gcry_md_copy(&handle_, other.handle_)) {
        fail("The hashes", error);
    }
}

Hasher::~Hasher() {
    gcry_md_close(handle_);
}

void Hasher::add(std::span<const std::byte> bytes) {
    gcry_md_write(handle_, bytes.data(), bytes.size());
}

void Hasher::addRepeated(std::byte value, std::uint64_t count) {
    const std::vector<std::byte> block(std::min<std::uint64_t>(count, 1 << 16), value);
    for (; count > 0; count -= std::min<std::uint64_t>(count, block.size())) {
        add(std::span(block).first(std::min<std::uint64_t>(count, block.size())));
    }
}

Digests Hasher::digests() {
    Digests digests;
    for (std::size_t i = 0; i < kHashCount; ++i) {
        if (hashes_[i]) {
            const unsigned char* digest = gcry_md_read(handle_, kAlgorithms[i]);
            digests[i].assign(reinterpret_cast<const char*>(digest), digestSize(Hash(i)));
        }
    }
    return digests;
}

}  // namespace quillet::verify
