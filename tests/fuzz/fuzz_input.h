// Reading a fuzz input as the values a target needs, and failing loudly when a rule breaks.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quillet::test {

// The next sizeof(T) bytes of the input as a T, zeros where the input has ended.
template <typename T>
T take(const std::uint8_t*& data, std::size_t& size) {
    T value{};
    const std::size_t length = std::min(sizeof(T), size);
    std::memcpy(&value, data, length);
    data += length;
    size -= length;
    return value;
}

inline void check(bool holds, const char* rule) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", rule);
        std::abort();
    }
}

}  // namespace quillet::test
