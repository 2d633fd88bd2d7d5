// The exported functions as a caller meets them: files in, a file out, a status back.
#include <algorithm>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "quillet.h"
#include "test_images.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quillet {
namespace {

namespace fs = std::filesystem;
using test::branchBytes;
using test::Bytes;
using test::slice;

class Library : public testing::Test {
  protected:
    std::string path(const std::string& name) const { return folder.path(name).string(); }

    int32_t remove(const std::string& input, const std::string& output, int32_t fill = 1,
                   int32_t fillValue = 255) const {
        return RemoveIntroAuto(path(input).c_str(), path(output).c_str(), fill, fillValue);
    }
    int32_t add(const std::string& game, const std::string& intro,
                const std::string& output) const {
        return AddIntroAuto(path(game).c_str(), path(intro).c_str(), path(output).c_str());
    }

    // A game of gameSize bytes with a 1,000-byte intro behind it.
    Bytes gameWithIntro(std::size_t gameSize = 4096) const {
        return test::imageWithTarget(gameSize + 1000, static_cast<std::uint32_t>(gameSize));
    }

    test::ScratchFolder folder;
};

TEST_F(Library, RemoveWritesTheCutAndTheFilledImage) {
    const Bytes input = gameWithIntro();
    folder.write("game.gba", input);
    ASSERT_EQ(remove("game.gba", "cut.gba", 0, 0), QUILLET_OK);
    ASSERT_EQ(remove("game.gba", "filled.gba", 1, 0x100), QUILLET_OK);

    const Bytes cut = folder.read("cut.gba");
    ASSERT_EQ(cut.size(), 4096u);
    EXPECT_EQ(slice(cut, 0, 4), branchBytes(0xEA00002E));
    EXPECT_EQ(slice(cut, 4, 4092), slice(input, 4, 4092));

    const Bytes filled = folder.read("filled.gba");
    ASSERT_EQ(filled.size(), input.size());
    EXPECT_EQ(slice(filled, 0, 4096), cut);
    EXPECT_TRUE(test::allBytesAre(slice(filled, 4096, 1000), std::byte{0}));

    EXPECT_EQ(folder.read("game.gba"), input);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"cut.gba", "filled.gba", "game.gba"}));
}

TEST_F(Library, AddThenRemoveGivesTheGameBack) {
    const Bytes game = test::imageWithBranch(8192, 0xEA00002E, 1);
    const Bytes intro = test::patternBytes(2048, 2);
    folder.write("game.gba", game);
    folder.write("intro.gba", intro);
    ASSERT_EQ(add("game.gba", "intro.gba", "with intro.gba"), QUILLET_OK);
    EXPECT_EQ(folder.read("with intro.gba").size(), 8192u + 2048 - 184);
    ASSERT_EQ(remove("with intro.gba", "without intro.gba", 0, 0), QUILLET_OK);
    EXPECT_EQ(folder.read("without intro.gba"), game);
    EXPECT_EQ(folder.read("game.gba"), game);
    EXPECT_EQ(folder.read("intro.gba"), intro);
}

TEST_F(Library, AddWritesGamePaddingIntroCodeAndTrailer) {
    const Bytes game = test::imageWithBranch(1022, 0xEA00002E, 1);
    const Bytes intro = test::patternBytes(500, 2);
    folder.write("game.gba", game);
    folder.write("intro.gba", intro);
    ASSERT_EQ(add("game.gba", "intro.gba", "out.gba"), QUILLET_OK);
    Bytes expected = game;
    std::copy_n(branchBytes(0xEA0000FE).begin(), 4, expected.begin());  // target 1024
    expected.resize(1024);
    expected.insert(expected.end(), intro.begin() + 192, intro.end());
    const Bytes trailer = branchBytes(0xEA00002E);
    expected.push_back(std::byte{0});
    expected.insert(expected.end(), trailer.begin(), trailer.end());
    expected.resize(expected.size() + 3);
    EXPECT_EQ(folder.read("out.gba"), expected);
}

TEST_F(Library, NamesWithSpacesAndNonAsciiCharactersWork) {
    folder.write("Pokémon Édition Ünï.gba", gameWithIntro());
    ASSERT_EQ(remove("Pokémon Édition Ünï.gba", "Pokémon Édition Ünï-p.gba"), QUILLET_OK);
    EXPECT_EQ(folder.read("Pokémon Édition Ünï-p.gba").size(), 5096u);
}

TEST_F(Library, AnOutputNamingTheInputReplacesItOnlyWithTheWholeOutput) {
    const Bytes input = gameWithIntro();
    folder.write("game.gba", input);
    ASSERT_EQ(remove("game.gba", "game.gba", 0, 0), QUILLET_OK);
    EXPECT_EQ(folder.read("game.gba").size(), 4096u);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"game.gba"});

    const Bytes intro = test::patternBytes(500, 2);
    folder.write("intro.gba", intro);
    ASSERT_EQ(add("game.gba", "intro.gba", "intro.gba"), QUILLET_OK);
    EXPECT_EQ(folder.read("intro.gba").size(), 4096u + 500 - 184);
    EXPECT_EQ(slice(folder.read("intro.gba"), 4096, 308), slice(intro, 192, 308));
}

#if !defined(_WIN32)
TEST_F(Library, AReplacedOutputKeepsItsPermissionsAndALinkKeepsPointingAtIt) {
    folder.write("game.gba", gameWithIntro());
    const auto target = folder.write("target.gba", test::patternBytes(10));
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("target.gba", folder.path("link.gba"));
    ASSERT_EQ(remove("game.gba", "link.gba", 0, 0), QUILLET_OK);
    EXPECT_TRUE(fs::is_symlink(folder.path("link.gba")));
    EXPECT_EQ(folder.read("target.gba").size(), 4096u);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}
#endif

TEST_F(Library, AReadOnlyInputIsReadAndLeftAsItWas) {
    const Bytes input = gameWithIntro();
    const auto file = folder.write("game.gba", input);
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto modified = fs::last_write_time(file);
    ASSERT_EQ(remove("game.gba", "game-p.gba"), QUILLET_OK);
    EXPECT_EQ(folder.read("game.gba"), input);
    EXPECT_EQ(fs::last_write_time(file), modified);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

// Every failure: the status, and the folder exactly as it was, with no temporary file in it.
class LibraryFailure : public Library {
  protected:
    void SetUp() override {
        folder.write("game.gba", gameWithIntro());
        folder.write("intro.gba", test::patternBytes(1000, 2));
        folder.write("existing.gba", test::patternBytes(77, 3));
        before = folder.snapshot();
    }
    void expectFolderUnchanged() const { EXPECT_EQ(folder.snapshot(), before); }

    std::map<std::string, Bytes> before;
};

TEST_F(LibraryFailure, AnInputThatCannotBeOpenedGivesOneAndNoOutput) {
    EXPECT_EQ(remove("missing.gba", "out.gba"), QUILLET_INPUT_NOT_OPENED);
    EXPECT_EQ(remove("missing.gba", "existing.gba"), QUILLET_INPUT_NOT_OPENED);
    EXPECT_EQ(RemoveIntroAuto("", path("out.gba").c_str(), 1, 255), QUILLET_INPUT_NOT_OPENED);
    EXPECT_EQ(RemoveIntroAuto(nullptr, path("out.gba").c_str(), 1, 255), QUILLET_INPUT_NOT_OPENED);
    EXPECT_EQ(RemoveIntroAuto(folder.path("").string().c_str(), path("out.gba").c_str(), 1, 255),
              QUILLET_INPUT_NOT_OPENED);
    EXPECT_EQ(add("missing.gba", "intro.gba", "out.gba"), QUILLET_INPUT_NOT_OPENED);
    EXPECT_EQ(add("game.gba", "missing.gba", "existing.gba"), QUILLET_INPUT_NOT_OPENED);
    expectFolderUnchanged();
}

TEST_F(LibraryFailure, AnOutputThatCannotBeWrittenGivesTwo) {
    EXPECT_EQ(remove("game.gba", "no such folder/out.gba"), QUILLET_OUTPUT_NOT_WRITTEN);
    EXPECT_EQ(RemoveIntroAuto(path("game.gba").c_str(), "", 1, 255), QUILLET_OUTPUT_NOT_WRITTEN);
    EXPECT_EQ(RemoveIntroAuto(path("game.gba").c_str(), nullptr, 1, 255),
              QUILLET_OUTPUT_NOT_WRITTEN);
    EXPECT_EQ(add("game.gba", "intro.gba", "no such folder/out.gba"), QUILLET_OUTPUT_NOT_WRITTEN);
    expectFolderUnchanged();
}

TEST_F(LibraryFailure, AFailedRenameLeavesNoTemporaryFile) {
    // A folder cannot be replaced by a file, so the write succeeds and the rename fails.
    fs::create_directory(folder.path("folder.gba"));
    folder.write("folder.gba/inside.gba", test::patternBytes(10));
    EXPECT_EQ(remove("game.gba", "folder.gba"), QUILLET_OUTPUT_NOT_WRITTEN);
    EXPECT_EQ(add("game.gba", "intro.gba", "folder.gba"), QUILLET_OUTPUT_NOT_WRITTEN);
    expectFolderUnchanged();
    EXPECT_EQ(folder.entries(),
              (std::vector<std::string>{"existing.gba", "folder.gba", "game.gba", "intro.gba"}));
    EXPECT_EQ(folder.read("folder.gba/inside.gba"), test::patternBytes(10));
}

#if !defined(_WIN32)
TEST_F(LibraryFailure, AnOutputThatIsNoPlainFileIsNeverReplaced) {
    ASSERT_EQ(mkfifo(folder.path("pipe").c_str(), 0600), 0);
    fs::create_symlink("nowhere/file.gba", folder.path("dangling.gba"));
    EXPECT_EQ(remove("game.gba", "pipe"), QUILLET_OUTPUT_NOT_WRITTEN);
    EXPECT_EQ(remove("game.gba", "dangling.gba"), QUILLET_OUTPUT_NOT_WRITTEN);
    EXPECT_TRUE(fs::is_fifo(folder.path("pipe")));
    EXPECT_TRUE(fs::is_symlink(folder.path("dangling.gba")));
    fs::remove(folder.path("pipe"));
    fs::remove(folder.path("dangling.gba"));
    expectFolderUnchanged();
}

TEST_F(LibraryFailure, AWriteThatFailsHalfwayLeavesTheOldOutput) {
    // A file size limit makes the write stop short, as a full disk would.
    struct sigaction ignore = {};
    struct sigaction previousAction = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previousAction);
    rlimit previousLimit = {};
    getrlimit(RLIMIT_FSIZE, &previousLimit);
    rlimit limit = previousLimit;
    limit.rlim_cur = 2048;
    setrlimit(RLIMIT_FSIZE, &limit);
    const int32_t removed = remove("game.gba", "existing.gba");
    const int32_t added = add("game.gba", "intro.gba", "out.gba");
    setrlimit(RLIMIT_FSIZE, &previousLimit);
    sigaction(SIGXFSZ, &previousAction, nullptr);
    EXPECT_EQ(removed, QUILLET_OUTPUT_NOT_WRITTEN);
    EXPECT_EQ(added, QUILLET_OUTPUT_NOT_WRITTEN);
    expectFolderUnchanged();
}
#endif

TEST_F(LibraryFailure, AnInputTooShortGivesThree) {
    folder.write("tiny.gba", test::patternBytes(3));
    folder.write("short intro.gba", test::patternBytes(191));
    folder.write("empty.gba", {});
    before = folder.snapshot();
    EXPECT_EQ(remove("tiny.gba", "out.gba"), QUILLET_INPUT_TOO_SHORT);
    EXPECT_EQ(remove("empty.gba", "existing.gba", 0, 0), QUILLET_INPUT_TOO_SHORT);
    EXPECT_EQ(add("tiny.gba", "intro.gba", "out.gba"), QUILLET_INPUT_TOO_SHORT);
    EXPECT_EQ(add("game.gba", "short intro.gba", "existing.gba"), QUILLET_INPUT_TOO_SHORT);
    expectFolderUnchanged();
}

#if !defined(_WIN32)
TEST_F(LibraryFailure, AnInputThatCannotBeReadWholeGivesFour) {
    // A pipe opens for reading but has no size to seek to.
    const auto pipe = folder.path("pipe.gba");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const int writer = ::open(pipe.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    EXPECT_EQ(remove("pipe.gba", "out.gba"), QUILLET_INPUT_NOT_READ);
    EXPECT_EQ(add("game.gba", "pipe.gba", "existing.gba"), QUILLET_INPUT_NOT_READ);
    ::close(writer);
    fs::remove(pipe);
    expectFolderUnchanged();
}
#endif

TEST_F(LibraryFailure, CuttingAtATargetPastTheEndGivesFive) {
    folder.write("broken.gba", test::imageWithTarget(4096, 4100));
    before = folder.snapshot();
    EXPECT_EQ(remove("broken.gba", "out.gba", 0, 0), QUILLET_TARGET_BEYOND_END);
    EXPECT_EQ(remove("broken.gba", "existing.gba", 0, 0), QUILLET_TARGET_BEYOND_END);
    EXPECT_EQ(remove("broken.gba", "broken.gba", 0, 0), QUILLET_TARGET_BEYOND_END);
    expectFolderUnchanged();
}

TEST_F(LibraryFailure, AnInputTooLargeGivesSix) {
    // Sparse files: the sizes are refused before anything is read.
    fs::resize_file(folder.write("huge.gba", {}), std::uintmax_t{1} << 31);
    fs::resize_file(folder.write("big game.gba", {}), 67'108'869);
    EXPECT_EQ(remove("huge.gba", "out.gba"), QUILLET_INPUT_TOO_LARGE);
    EXPECT_EQ(add("game.gba", "huge.gba", "out.gba"), QUILLET_INPUT_TOO_LARGE);
    EXPECT_EQ(add("big game.gba", "intro.gba", "existing.gba"), QUILLET_INPUT_TOO_LARGE);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"big game.gba", "existing.gba",
                                                          "game.gba", "huge.gba", "intro.gba"}));
    fs::remove(folder.path("huge.gba"));
    fs::remove(folder.path("big game.gba"));
    expectFolderUnchanged();
}

}  // namespace
}  // namespace quillet
