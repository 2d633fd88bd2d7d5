// The exported functions as a caller meets them: files in, a file out, a status back, and no
// file left open.
#include <cerrno>

#include <gtest/gtest.h>

#include "quillet.h"
#include "test_images.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

std::ptrdiff_t openFileCount() {
    return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
}

// Each case works in a standard folder.
template <typename Case>
class Library : public testing::TestWithParam<Case> {
  protected:
    void TearDown() override { EXPECT_EQ(openFileCount(), openAtStart); }

    // A name in the folder; an empty or absolute path as it is.
    std::string path(const char* name) const {
        return name[0] == '\0' || name[0] == '/' ? name : folder.path(name).string();
    }
    int32_t remove(const char* input, const char* output, int32_t fill, int32_t fillValue) const {
        return RemoveIntroAuto(input ? path(input).c_str() : nullptr,
                               output ? path(output).c_str() : nullptr, fill, fillValue);
    }
    int32_t add(const char* game, const char* intro, const char* output) const {
        return AddIntroAuto(path(game).c_str(), path(intro).c_str(),
                            output ? path(output).c_str() : nullptr);
    }

    const test::ScratchFolder folder{true};
    const std::ptrdiff_t openAtStart = openFileCount();
};

// Every refusal: its status, and the folder exactly as it was, without a temporary file.
enum class Call { kCut, kFill, kAdd };

struct FailureCase {
    const char* name;
    Call call;
    const char* first;   // the image, or the game image
    const char* second;  // the output, or the intro image
    const char* third;   // adding only: the output
    int32_t status;
    int error = -1;  // errno afterwards; -1: whatever it is
};

void PrintTo(const FailureCase& failure, std::ostream* out) {
    *out << failure.name;
}

using Failure = Library<FailureCase>;

TEST_P(Failure, ChangesNothingAndSaysWhy) {
    const FailureCase& c = GetParam();
    const auto before = folder.snapshot();
    EXPECT_EQ(c.call == Call::kAdd ? add(c.first, c.second, c.third)
                                   : remove(c.first, c.second, c.call == Call::kFill, 255),
              c.status);
    const int error = errno;
    EXPECT_EQ(c.error < 0 ? -1 : error, c.error);
    EXPECT_EQ(folder.snapshot(), before);
}

// Its size says 4096 bytes, but it holds only a few.
const char* const kShorterThanItsSize = "/sys/devices/system/cpu/online";

INSTANTIATE_TEST_SUITE_P(
    Rows, Failure,
    testing::Values(
        FailureCase{"MissingInput", Call::kFill, "missing.gba", "out.gba", nullptr, 1, ENOENT},
        FailureCase{"MissingInputKeepsTheOutput", Call::kCut, "missing.gba", "other.gba", nullptr,
                    1, ENOENT},
        FailureCase{"EmptyInputPath", Call::kFill, "", "out.gba", nullptr, 1, ENOENT},
        FailureCase{"NullInputPath", Call::kFill, nullptr, "out.gba", nullptr, 1, ENOENT},
        FailureCase{"FolderAsInput", Call::kFill, "folder.gba", "out.gba", nullptr, 1, EISDIR},
        FailureCase{"PipeAsInput", Call::kFill, "pipe.gba", "out.gba", nullptr, 1, ENOTSUP},
        FailureCase{"DeviceAsInput", Call::kFill, "/dev/zero", "out.gba", nullptr, 1, ENOTSUP},
        FailureCase{"MissingGame", Call::kAdd, "missing.gba", "intro.gba", "out.gba", 1, ENOENT},
        FailureCase{"PipeAsIntro", Call::kAdd, "game.gba", "pipe.gba", "other.gba", 1, ENOTSUP},
        FailureCase{"OutputInAMissingFolder", Call::kFill, "game.gba", "no/out.gba", nullptr, 2,
                    ENOENT},
        FailureCase{"EmptyOutputPath", Call::kFill, "game.gba", "", nullptr, 2, ENOENT},
        FailureCase{"NullOutputPath", Call::kFill, "game.gba", nullptr, nullptr, 2, ENOENT},
        FailureCase{"FolderAsOutput", Call::kFill, "game.gba", "folder.gba", nullptr, 2, EISDIR},
        FailureCase{"PipeAsOutput", Call::kFill, "game.gba", "pipe.gba", nullptr, 2, ENOTSUP},
        FailureCase{"DanglingLinkAsOutput", Call::kFill, "game.gba", "dangling.gba", nullptr, 2,
                    ENOENT},
        FailureCase{"AddingToAMissingFolder", Call::kAdd, "game.gba", "intro.gba", "no/o", 2},
        FailureCase{"AddingToAFolder", Call::kAdd, "game.gba", "intro.gba", "folder.gba", 2},
        FailureCase{"AddingToNoPath", Call::kAdd, "game.gba", "intro.gba", nullptr, 2},
        FailureCase{"ImageUnderFourBytes", Call::kFill, "short.gba", "out.gba", nullptr, 3},
        FailureCase{"EmptyImage", Call::kCut, "empty.gba", "other.gba", nullptr, 3},
        FailureCase{"GameUnderFourBytes", Call::kAdd, "short.gba", "intro.gba", "out.gba", 3},
        FailureCase{"IntroUnderAHeader", Call::kAdd, "game.gba", "tiny intro.gba", "o", 3},
        FailureCase{"ShorterThanItsSize", Call::kFill, kShorterThanItsSize, "out.gba", nullptr, 4,
                    0},
        FailureCase{"CutPastTheEnd", Call::kCut, "broken.gba", "out.gba", nullptr, 5},
        FailureCase{"CutPastTheEndOverItself", Call::kCut, "broken.gba", "broken.gba", nullptr, 5},
        FailureCase{"TwoGigabyteImage", Call::kFill, "huge.gba", "out.gba", nullptr, 6},
        FailureCase{"TwoGigabyteIntro", Call::kAdd, "game.gba", "huge.gba", "out.gba", 6},
        FailureCase{"GameNoBranchReachesBehind", Call::kAdd, "big game.gba", "intro.gba",
                    "other.gba", 6}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillet
