#include <gtest/gtest.h>

#include "fill_byte.h"

namespace quillet::cli {
namespace {

struct FillCase {
    const char* text;
    std::optional<std::byte> byte;
};

// Names the case by its text in test names and messages.
void PrintTo(const FillCase& fillCase, std::ostream* out) {
    *out << '"' << fillCase.text << '"';
}

class FillByteParsing : public testing::TestWithParam<FillCase> {};

TEST_P(FillByteParsing, TakesDecimalOrHexadecimalBytesOnly) {
    EXPECT_EQ(parseFillByte(GetParam().text), GetParam().byte);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FillByteParsing,
    testing::Values(FillCase{"0", std::byte{0x00}}, FillCase{"7", std::byte{0x07}},
                    FillCase{"255", std::byte{0xFF}}, FillCase{"0255", std::byte{0xFF}},
                    FillCase{"0x0", std::byte{0x00}}, FillCase{"0xff", std::byte{0xFF}},
                    FillCase{"0XAb", std::byte{0xAB}}, FillCase{"0x00fF", std::byte{0xFF}},
                    FillCase{"256", {}}, FillCase{"-1", {}}, FillCase{"+1", {}},
                    FillCase{"abc", {}}, FillCase{"ff", {}}, FillCase{"0x100", {}},
                    FillCase{"0x", {}}, FillCase{"", {}}, FillCase{" 1", {}}, FillCase{"1 ", {}},
                    FillCase{"1.0", {}}, FillCase{"0x-1", {}}, FillCase{"0x 1", {}},
                    FillCase{"0b1", {}}, FillCase{"99999999999999999999", {}}));

TEST(FillByteText, IsHexadecimalWithTwoDigits) {
    EXPECT_EQ(fillByteText(std::byte{0xFF}), "0xFF");
    EXPECT_EQ(fillByteText(std::byte{0x0A}), "0x0A");
    EXPECT_EQ(fillByteText(std::byte{0x00}), "0x00");
}

}  // namespace
}  // namespace quillet::cli
