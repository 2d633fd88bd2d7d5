// Reading a fuzz input as the values a target needs, and failing loudly when a rule breaks.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace quillet::test {

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // The next sizeof(T) bytes as a T, zeros where the input has ended.
    template <typename T>
    T take() {
        T value{};
        const std::size_t length = std::min(sizeof(T), size_);
        std::memcpy(&value, data_, length);
        data_ += length;
        size_ -= length;
        return value;
    }

    std::string rest() const { return std::string(reinterpret_cast<const char*>(data_), size_); }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};

inline void check(bool holds, const char* rule) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", rule);
        std::abort();
    }
}

}  // namespace quillet::test
