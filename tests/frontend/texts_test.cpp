#include <filesystem>

#include <gtest/gtest.h>

#include "file_names.h"
#include "quillet.h"
#include "status_messages.h"
#include "test_images.h"

namespace quillet {
namespace {

struct NamingCase {
    const char* input;
    const char* output;
};

class OutputName : public testing::TestWithParam<NamingCase> {};

TEST_P(OutputName, PutsTheSuffixBeforeTheFirstDotOfTheFileName) {
    EXPECT_EQ(outputNameFor(GetParam().input), GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(
    Names, OutputName,
    testing::Values(NamingCase{R"(C:\roms\game.gba)", R"(C:\roms\game-p.gba)"},
                    NamingCase{R"(C:\roms\game.eu.gba)", R"(C:\roms\game-p.eu.gba)"},
                    NamingCase{R"(C:\my.roms\game.gba)", R"(C:\my.roms\game-p.gba)"},
                    NamingCase{R"(C:\roms\game)", R"(C:\roms\game-p)"},
                    NamingCase{R"(C:\my.roms\game)", R"(C:\my.roms\game-p)"},
                    NamingCase{".gba", "-p.gba"}, NamingCase{"game.", "game-p."},
                    NamingCase{"", "-p"}, NamingCase{"Original filename", "Original filename-p"},
                    NamingCase{"/home/me/.roms/game.gba", "/home/me/.roms/game-p.gba"},
                    NamingCase{"./game.gba", "./game-p.gba"},
                    NamingCase{"../roms/game.gba", "../roms/game-p.gba"},
                    NamingCase{"roms/", "roms/-p"}, NamingCase{"a.b/c\\d.e", "a.b/c\\d-p.e"},
                    NamingCase{"/roms/Pokémon Édition.gba", "/roms/Pokémon Édition-p.gba"}));

TEST(NamesSameFile, TellsTheSameFileUnderAnotherName) {
    test::ScratchFolder folder;
    const std::string game = folder.write("game.gba", test::patternBytes(10)).string();
    std::filesystem::create_directory(folder.path("sub"));
    std::filesystem::create_hard_link(game, folder.path("hard link.gba"));
    std::filesystem::create_symlink(game, folder.path("symbolic link.gba"));
    EXPECT_TRUE(namesSameFile(game, game));
    EXPECT_TRUE(namesSameFile(game, (folder.path("sub") / ".." / "game.gba").string()));
    EXPECT_TRUE(namesSameFile(game, folder.path("hard link.gba").string()));
    EXPECT_TRUE(namesSameFile(game, folder.path("symbolic link.gba").string()));
    EXPECT_TRUE(namesSameFile("missing.gba", "missing.gba"));
    EXPECT_FALSE(namesSameFile("", ""));
    EXPECT_FALSE(namesSameFile(game, folder.path("missing.gba").string()));
    EXPECT_FALSE(namesSameFile(game, folder.write("copy.gba", test::patternBytes(10)).string()));
}

TEST(StatusMessages, EachStatusHasItsOwnMessage) {
    EXPECT_EQ(statusMessage(QUILLET_OK), "Done!");
    EXPECT_EQ(statusMessage(QUILLET_INPUT_NOT_OPENED), "Input file not found!");
    EXPECT_EQ(statusMessage(QUILLET_OUTPUT_NOT_WRITTEN), "Output file could not be written!");
    EXPECT_EQ(statusMessage(QUILLET_INPUT_TOO_SHORT), "Input file is too small!");
    EXPECT_EQ(statusMessage(QUILLET_INPUT_NOT_READ), "Input file could not be read!");
    EXPECT_EQ(statusMessage(QUILLET_TARGET_BEYOND_END),
              "No intro found: the entry branch points past the end of the file!");
    EXPECT_EQ(statusMessage(QUILLET_INPUT_TOO_LARGE), "Input file is too large!");
    EXPECT_EQ(statusMessage(7), "The library failed with the unknown status 7.");
}

}  // namespace
}  // namespace quillet
