// A caller that loads the built library by its file name and finds the functions by name.
#include <gtest/gtest.h>

#include "quillet.h"
#include "test_images.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

extern "C" int removeIntroFromC(const char* inputPath, const char* outputPath);

namespace quillet {
namespace {

class LoadedLibrary {
  public:
    explicit LoadedLibrary(const char* file) {
#if defined(_WIN32)
        handle_ = LoadLibraryA(file);
#else
        handle_ = dlopen(file, RTLD_NOW | RTLD_LOCAL);
#endif
    }
    ~LoadedLibrary() {
        if (handle_ != nullptr) {
#if defined(_WIN32)
            FreeLibrary(static_cast<HMODULE>(handle_));
#else
            dlclose(handle_);
#endif
        }
    }
    bool loaded() const {
        return handle_ != nullptr;
    }

    template <typename Function>
    Function find(const char* name) const {
#if defined(_WIN32)
        return reinterpret_cast<Function>(GetProcAddress(static_cast<HMODULE>(handle_), name));
#else
        return reinterpret_cast<Function>(dlsym(handle_, name));
#endif
    }

  private:
    void* handle_ = nullptr;
};

TEST(RuntimeBinding, FindsBothFunctionsByNameAndCallsThem) {
    LoadedLibrary library(QUILLET_LIBRARY_FILE);
    ASSERT_TRUE(library.loaded()) << QUILLET_LIBRARY_FILE;
    const auto removeIntro = library.find<QuilletRemoveIntroAutoFunction>("RemoveIntroAuto");
    const auto addIntro = library.find<QuilletAddIntroAutoFunction>("AddIntroAuto");
    ASSERT_NE(removeIntro, nullptr);
    ASSERT_NE(addIntro, nullptr);

    test::ScratchFolder folder;
    const test::Bytes game = test::imageWithBranch(1024, 0xEA00002E, 1);
    const auto gamePath = folder.write("game.gba", game).string();
    const auto introPath = folder.write("intro.gba", test::patternBytes(400, 2)).string();
    const auto withIntro = folder.path("with intro.gba").string();
    const auto without = folder.path("without intro.gba").string();
    ASSERT_EQ(addIntro(gamePath.c_str(), introPath.c_str(), withIntro.c_str()), QUILLET_OK);
    ASSERT_EQ(removeIntro(withIntro.c_str(), without.c_str(), 0, 0), QUILLET_OK);
    EXPECT_EQ(folder.read("without intro.gba"), game);
    EXPECT_EQ(removeIntro(folder.path("missing.gba").string().c_str(), without.c_str(), 1, 255),
              QUILLET_INPUT_NOT_OPENED);
}

TEST(RuntimeBinding, TheHeaderServesACaller) {
    test::ScratchFolder folder;
    const auto input = folder.write("game.gba", test::imageWithTarget(600, 512)).string();
    const auto output = folder.path("game-p.gba").string();
    EXPECT_EQ(removeIntroFromC(input.c_str(), output.c_str()), QUILLET_OK);
    EXPECT_EQ(folder.read("game-p.gba").size(), 512u);
}

}  // namespace
}  // namespace quillet
