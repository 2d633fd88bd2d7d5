// quillet-cli as a user runs it: each row is a shell command line in a folder of test images,
// with what it must print, its exit status, and the files it must write. Every other entry of
// the folder must stay exactly as it was: no temporary file, no changed input.
#include <gtest/gtest.h>

#include <cstddef>
#include <map>

#include "fill_byte.h"
#include "run_program.h"
#include "test_images.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

constexpr char kFF = '\xFF';
constexpr std::nullopt_t kCut = std::nullopt;

struct CommandCase {
    const char* name;
    std::string commandLine;
    int exitStatus;
    std::string out;
    std::string err;
    std::map<std::string, Bytes> written;
};

CommandCase row(const char* name, std::string commandLine, int exitStatus, std::string out,
                std::string err, const std::string& file = {}, const Bytes& bytes = {},
                const std::string& secondFile = {}, const Bytes& secondBytes = {}) {
    CommandCase c{name, std::move(commandLine), exitStatus, std::move(out), std::move(err), {}};
    for (const auto& [written, contents] : {std::pair{file, bytes}, {secondFile, secondBytes}}) {
        if (!written.empty()) {
            c.written[written] = contents;
        }
    }
    return c;
}

void PrintTo(const CommandCase& command, std::ostream* out) {
    *out << command.commandLine;
}

class Command : public testing::TestWithParam<CommandCase> {};

TEST_P(Command, PrintsExitsAndWritesAsItShould) {
    const CommandCase& c = GetParam();
    const ScratchFolder folder(true);
    auto before = folder.snapshot();

    const ProgramRun run = runInShell(folder.path(), c.commandLine);
    if (run.exitStatus == 77) {
        GTEST_SKIP() << run.err;
    }
    EXPECT_EQ(run.exitStatus, c.exitStatus);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
    auto after = folder.snapshot();
    for (const auto& [name, bytes] : c.written) {
        EXPECT_EQ(folder.read(name), bytes) << name;
        after.erase(name);
        before.erase(name);
    }
    EXPECT_EQ(after, before);
}

const std::string kUsageHint = "\nRun 'quillet-cli --help' for the commands and their options.\n";

INSTANTIATE_TEST_SUITE_P(
    Rows, Command,
    testing::Values(
        row("RemoveFillsWith0xFFByDefault", "quillet-cli remove game.gba", 0,
            "game.gba -> game-p.gba: intro filled with 0xFF from offset 600\n", "", "game-p.gba",
            removed(kGame, kFF)),
        row("RemoveCuts", "quillet-cli remove --cut game.gba", 0,
            "game.gba -> game-p.gba: intro removed, 600 bytes kept\n", "", "game-p.gba",
            removed(kGame, kCut)),
        row("RemoveFillsWithTheGivenByte", "quillet-cli remove --fill 0x7f -o o game.gba", 0,
            "game.gba -> o: intro filled with 0x7F from offset 600\n", "", "o",
            removed(kGame, char(0x7F))),
        row("RemoveFillsWithZero", "quillet-cli remove --fill=0 game.gba", 0,
            "game.gba -> game-p.gba: intro filled with 0x00 from offset 600\n", "", "game-p.gba",
            removed(kGame, char(0))),
        row("RemoveFillKeepsABranchPastTheEnd", "quillet-cli remove broken.gba", 0,
            "broken.gba -> broken-p.gba: entry branch restored, nothing behind offset "
            "2000 to remove\n",
            "", "broken-p.gba", removed(kBroken, kFF)),
        row("RemoveCutPastTheEnd", "quillet-cli remove --cut broken.gba", 5, "",
            "quillet-cli: broken.gba -> broken-p.gba: No intro found: the entry branch "
            "points past the end of the file!\n"),
        row("RemoveGoesOnAfterFailures",
            "quillet-cli remove --cut game.gba short.gba missing.gba other.gba", 3,
            "game.gba -> game-p.gba: intro removed, 600 bytes kept\n"
            "other.gba -> other-p.gba: intro removed, 400 bytes kept\n",
            "quillet-cli: short.gba -> short-p.gba: Input file is too small!\n"
            "quillet-cli: missing.gba -> missing-p.gba: Input file not found!\n",
            "game-p.gba", removed(kGame, kCut), "other-p.gba", removed(kOther, kCut)),
        row("RemoveRefusesAStandardBranch", "quillet-cli remove --cut plain.gba", 65, "",
            "quillet-cli: plain.gba -> plain-p.gba: No intro to remove: the entry branch "
            "is already the standard one. Give --force to process it anyway.\n"),
        row("RemoveForcedOnAStandardBranch", "quillet-cli remove --force -o o plain.gba", 0,
            "plain.gba -> o: intro filled with 0xFF from offset 192\n", "", "o",
            removed(kPlain, kFF)),
        row("RemoveRefusesTheInputAsOutput", "quillet-cli remove -o ./game.gba game.gba", 65, "",
            "quillet-cli: game.gba -> ./game.gba: The output file must not be the input "
            "file.\n"),
        row("RemoveRefusesALinkToTheInput", "quillet-cli remove -o link.gba game.gba", 65, "",
            "quillet-cli: game.gba -> link.gba: The output file must not be the input "
            "file.\n"),
        row("RemoveRefusesAMissingInputAsOutput", "quillet-cli remove -o gone gone", 65, "",
            "quillet-cli: gone -> gone: The output file must not be the input file.\n"),
        row("QuietPrintsOnlyFailures", "quillet-cli --quiet remove game.gba x.gba", 1, "",
            "quillet-cli: x.gba -> x-p.gba: Input file not found!\n", "game-p.gba",
            removed(kGame, kFF)),
        row("QuietMayFollowTheCommand", "quillet-cli remove -q game.gba", 0, "", "", "game-p.gba",
            removed(kGame, kFF)),
        row("NamesAreTakenAsTheyAre", "quillet-cli remove --cut 'Pokémon Édition.gba'", 0,
            "Pokémon Édition.gba -> Pokémon Édition-p.gba: intro removed, 600 bytes kept\n", "",
            "Pokémon Édition-p.gba", removed(kGame, kCut)),
        row("AReplacedFileKeepsItsModeAndALinkItsTarget",
            "chmod 751 other.gba && quillet-cli -q remove --cut -o 'other link.gba' "
            "game.gba && stat -c %a other.gba",
            0, "751\n", "", "other.gba", removed(kGame, kCut)),
        row("AnUnnamedFileIsNotNeeded",
            "QUILLET_NO_TMPFILE=1 LD_PRELOAD=$SHIM quillet-cli -q remove -o other.gba game.gba", 0,
            "", "", "other.gba", removed(kGame, kFF)),
        row("TheTemporaryFileGoesBesideTheOutput",
            "d=$PWD && mkdir gone && cd gone && rmdir ../gone && "
            "quillet-cli -q remove -o \"$d/o\" \"$d/game.gba\"",
            0, "", "", "o", removed(kGame, kFF)),
        row("AWriteCutShortLeavesTheOldOutput",
            "trap '' XFSZ && ulimit -f 1 && quillet-cli remove -o other.gba game.gba", 2, "",
            "quillet-cli: game.gba -> other.gba: Output file could not be written: File too "
            "large.\n"),
        row("KilledAtTheSizeLimitLeavesNothing", "ulimit -f 1 && quillet-cli remove -o o game.gba",
            153, "", ""),
        row("AFullDiskLeavesTheOldOutput",
            "mkdir fs && { mount -t tmpfs -o size=4k tmpfs fs 2>/dev/null || exit 77; } && "
            "printf old >fs/o && quillet-cli remove -o fs/o game.gba; s=$?; cat fs/o; ls fs; "
            "umount fs; rmdir fs; exit $s",
            2, "oldo\n",
            "quillet-cli: game.gba -> fs/o: Output file could not be written: No space left on "
            "device.\n"),
        row("AddAppendsTheIntro", "quillet-cli add game.gba intro.gba", 0,
            "game.gba + intro.gba -> game-p.gba: intro added\n", "", "game-p.gba",
            added(kGame, kIntro)),
        row("AddWritesToTheOutputGiven", "quillet-cli add -o o other.gba intro.gba", 0,
            "other.gba + intro.gba -> o: intro added\n", "", "o", added(kOther, kIntro)),
        row("AddRefusesAnInputAsOutput", "quillet-cli add game.gba intro.gba -o intro.gba", 65, "",
            "quillet-cli: game.gba + intro.gba -> intro.gba: The output file must not be "
            "the input file.\n"),
        row("AddReportsTheLibrarysStatus", "quillet-cli add game.gba short.gba", 3, "",
            "quillet-cli: game.gba + short.gba -> game-p.gba: Input file is too small!\n"),
        row("InfoGivesEachBranchAndVerdict",
            "quillet-cli info plain.gba game.gba broken.gba four.gba", 0,
            "plain.gba: 1000 bytes, entry branch 2E 00 00 EA, target 192: no intro "
            "(standard entry branch)\n"
            "game.gba: 1000 bytes, entry branch 94 00 00 EA, target 600: intro at offset "
            "600, 400 bytes\n"
            "broken.gba: 1000 bytes, entry branch F2 01 00 EA, target 2000: entry branch "
            "points past the end of the file\n"
            "four.gba: 4 bytes, entry branch FF 00 00 EA, target 1028: entry branch "
            "points past the end of the file\n",
            ""),
        row("InfoGoesOnAfterFailures",
            "quillet-cli info short.gba missing.gba folder.gba pipe.gba /dev/zero other.gba", 3,
            "other.gba: 800 bytes, entry branch 62 00 00 EA, target 400: intro at offset "
            "400, 400 bytes\n",
            "quillet-cli: short.gba: Input file is too small!\n"
            "quillet-cli: missing.gba: Input file not found!\n"
            "quillet-cli: folder.gba: Input file could not be opened: Is a directory.\n"
            "quillet-cli: pipe.gba: Input file could not be opened: Operation not supported.\n"
            "quillet-cli: /dev/zero: Input file could not be opened: Operation not supported.\n"),
        row("InfoNamesWhatIsNoImage", "quillet-cli info text.txt header.gba", 0,
            "text.txt: 13 bytes, first bytes 48 65 6C 6C: not a Game Boy Advance image (it does "
            "not begin with a branch instruction)\n"
            "header.gba: 1000 bytes, entry branch 17 00 00 EA, target 100: no intro (the entry "
            "branch points inside the header)\n",
            ""),
        row("RemoveRefusesWhatItWouldRuin",
            "quillet-cli remove --cut plain.gba header.gba text.txt", 65, "",
            "quillet-cli: plain.gba -> plain-p.gba: No intro to remove: the entry branch is "
            "already the standard one. Give --force to process it anyway.\n"
            "quillet-cli: header.gba -> header-p.gba: No intro to remove: the entry branch points "
            "inside the header. Give --force to process it anyway.\n"
            "quillet-cli: text.txt -> text-p.txt: This is not a Game Boy Advance image: it does "
            "not begin with a branch instruction. Give --force to process it anyway.\n"),
        row("RemoveForcedOnText", "quillet-cli remove --force text.txt", 0,
            "text.txt -> text-p.txt: entry branch restored, nothing behind offset 28415272 to "
            "remove\n",
            "", "text-p.txt", removed("Hello, world\n", kFF)),
        row("RemoveRefusesAnOutputThatIsAnotherImage",
            "cp other.gba game-p.gba && quillet-cli remove game.gba game-p.gba", 65,
            "game-p.gba -> game-p-p.gba: intro filled with 0xFF from offset 400\n",
            "quillet-cli: game.gba -> game-p.gba: The output file would replace game-p.gba, an "
            "image of this run.\n",
            "game-p.gba", kOther, "game-p-p.gba", removed(kOther, kFF)),
        row("RemoveRefusesTwoImagesWithOneOutput", "quillet-cli remove game.gba ./game.gba", 65, "",
            "quillet-cli: game.gba -> game-p.gba: The output file is also the output of "
            "./game.gba.\n"
            "quillet-cli: ./game.gba -> ./game-p.gba: The output file is also the output of "
            "game.gba.\n"),
        row("ReasonsForAnOutputThatCannotBeWritten",
            "for o in dangling.gba /dev/null $(printf %0300d 0); do quillet-cli remove -o $o "
            "game.gba; done",
            2, "",
            "quillet-cli: game.gba -> dangling.gba: Output file could not be written: No such file "
            "or directory.\n"
            "quillet-cli: game.gba -> /dev/null: Output file could not be written: Operation not "
            "supported.\n"
            "quillet-cli: game.gba -> " +
                std::string(300, '0') +
                ": Output file could not be written: File name too long.\n"),
        row("AnOrdinaryUserCannotReadOrReplaceProtectedFiles",
            "chmod 777 . && chmod 000 plain.gba && chmod 444 other.gba && $AS_USER quillet-cli "
            "remove plain.gba && $AS_USER quillet-cli remove -o other.gba game.gba",
            1, "",
            "quillet-cli: plain.gba -> plain-p.gba: Input file could not be opened: Permission "
            "denied.\n",
            "plain.gba", kPlain, "other.gba", kOther),
        row("AnOrdinaryUserCannotReplaceAWriteProtectedOutput",
            "chmod 777 . && chmod 444 other.gba && $AS_USER quillet-cli remove -o other.gba "
            "game.gba",
            2, "",
            "quillet-cli: game.gba -> other.gba: Output file could not be written: Permission "
            "denied.\n",
            "other.gba", kOther),
        row("AnOrdinaryUserCannotWriteInAReadOnlyFolder",
            "chmod 555 . && $AS_USER quillet-cli remove game.gba", 2, "",
            "quillet-cli: game.gba -> game-p.gba: Output file could not be written: Permission "
            "denied.\n"),
        row("ABrokenStandardOutputIsAFailure", "quillet-cli remove game.gba >/dev/full", 74, "",
            "quillet-cli: standard output could not be written: No space left on device\n",
            "game-p.gba", removed(kGame, kFF)),
        row("Version", "quillet-cli --version", 0, "quillet-cli 1.00\n", ""),
        row("FillOverAByte", "quillet-cli remove --fill 256 game.gba", 64, "",
            "quillet-cli: --fill: '256' is not a byte: give 0 to 255, or 0x00 to 0xFF" +
                kUsageHint),
        row("CutAndFill", "quillet-cli remove --cut --fill 1 game.gba", 64, "",
            "quillet-cli: --cut excludes --fill" + kUsageHint),
        row("OutputForTwoImages", "quillet-cli remove -o o game.gba other.gba", 64, "",
            "quillet-cli: --output: takes a single IMAGE; without it each IMAGE gets its "
            "own output name" +
                kUsageHint),
        row("AddWithThreeImages", "quillet-cli add game.gba intro.gba other.gba", 64, "",
            "quillet-cli: The following argument was not expected: other.gba" + kUsageHint),
        row("NoCommand", "quillet-cli -q", 64, "",
            "quillet-cli: a command is required: remove, add or info" + kUsageHint),
        row("UnknownCommand", "quillet-cli frobnicate game.gba", 64, "",
            "quillet-cli: unknown command 'frobnicate'; the commands are remove, add and info" +
                kUsageHint),
        row("ImageNamedLikeAnOption", "quillet-cli remove -x.gba", 64, "",
            "quillet-cli: unknown option '-x.gba'. An image whose name begins with '-' is named "
            "as ./-x.gba, or after --: quillet-cli remove -- -x.gba" +
                kUsageHint),
        row("OptionOfAnotherCommand", "quillet-cli add --fill 3 game.gba intro.gba", 64, "",
            "quillet-cli: add does not take the option --fill" + kUsageHint)),
    [](const auto& info) { return std::string(info.param.name); });

// A call of the library that fails, or a kill in the middle of writing: the old output stays,
// and no file is left behind.
struct FaultCase {
    const char* fault;
    int exitStatus;
    const char* message;
};

class Fault : public testing::TestWithParam<FaultCase> {};

TEST_P(Fault, LeavesEveryFileAsItWas) {
    const ScratchFolder folder(true);
    const auto before = folder.snapshot();
    const ProgramRun run = runInShell(folder.path(), std::string(GetParam().fault) +
                                                         " LD_PRELOAD=$SHIM quillet-cli remove -o "
                                                         "other.gba game.gba");
    EXPECT_EQ(run.exitStatus, GetParam().exitStatus);
    const std::string message = GetParam().message;
    EXPECT_EQ(run.err,
              message.empty() ? "" : "quillet-cli: game.gba -> other.gba: " + message + "\n");
    EXPECT_EQ(folder.snapshot(), before);
}

const char* const kUnwritten = "Output file could not be written: Input/output error.";

INSTANTIATE_TEST_SUITE_P(
    Calls, Fault,
    testing::Values(
        FaultCase{"QUILLET_FAULT=open", 1, "Input file could not be opened: Input/output error."},
        FaultCase{"QUILLET_FAULT=read", 4, "Input file could not be read: Input/output error."},
        FaultCase{"QUILLET_FAULT=calloc", 6, "Input file is too large!"},
        FaultCase{"QUILLET_FAULT='open 2'", 2, kUnwritten},
        FaultCase{"QUILLET_FAULT=fchmod", 2, kUnwritten},
        FaultCase{"QUILLET_FAULT=write", 2, kUnwritten},
        FaultCase{"QUILLET_FAULT=fsync", 2, kUnwritten},
        FaultCase{"QUILLET_FAULT=linkat", 2, kUnwritten},
        FaultCase{"QUILLET_FAULT='close 2'", 2, kUnwritten},
        FaultCase{"QUILLET_FAULT=rename", 2, kUnwritten}, FaultCase{"QUILLET_FAULT=kill", 137, ""},
        FaultCase{"QUILLET_NO_TMPFILE=1 QUILLET_FAULT='open 2'", 2, kUnwritten},
        FaultCase{"QUILLET_NO_TMPFILE=1 QUILLET_FAULT=write", 2, kUnwritten},
        FaultCase{"QUILLET_NO_TMPFILE=1 QUILLET_FAULT=rename", 2, kUnwritten}));

TEST(Help, ListsTheCommandsAndEveryExitStatus) {
    const ProgramRun run = runInShell(fs::temp_directory_path(), "quillet-cli --help");
    for (const char* text : {"remove", "add", "info", "--quiet", "  1   Input file not found!",
                             "  6   Input file is too large!", "  64  usage", "  65  refused",
                             "  74  standard output"}) {
        EXPECT_NE(run.out.find(text), std::string::npos) << text << " in " << run.out;
    }
}

TEST(FillByte, IsDecimalOrHexadecimalUpTo255AndNothingElse) {
    for (const char* text : {"255", "0255", "0XFF", "0x00fF"}) {
        EXPECT_EQ(cli::parseFillByte(text), std::byte{0xFF}) << text;
    }
    for (const char* text : {"256", "0x100", "0x", "", " 1", "1 ", "1.0", "0x-1", "0b1", "-1",
                             "99999999999999999999"}) {
        EXPECT_EQ(cli::parseFillByte(text), std::nullopt) << text;
    }
}

}  // namespace
}  // namespace quillet::test
