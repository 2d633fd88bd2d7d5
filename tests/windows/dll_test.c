/* quillet.dll as a Windows program uses it: loaded by name, both functions found by name and by
   ordinal, called through __stdcall pointers on images that this program writes itself. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

typedef int32_t(__stdcall* RemoveIntroAutoFn)(const char*, const char*, int32_t, int32_t);
typedef int32_t(__stdcall* AddIntroAutoFn)(const char*, const char*, const char*);

enum { kGame = 4194304, kImage = 4226888, kIntro = 32768, kHeader = 192 };
static int failures;

/* Reports and counts a failed check. */
#define CHECK(ok, what, detail) \
    ((ok) ? (void)0 : (void)(printf("FAILED: %s: %s\n", what, detail), ++failures))

/* Bytes that differ from their neighbours, behind the given entry branch. */
static char* pattern(size_t size, unsigned seed, const char* branch) {
    char* bytes = malloc(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = (char)(i * seed + i / 251);
    memcpy(bytes, branch, 4);
    return bytes;
}

static void put(const char* path, const char* bytes, size_t size) {
    FILE* file = fopen(path, "wb");
    fwrite(bytes, 1, size, file);
    fclose(file);
}

/* Whether the file at path holds exactly size bytes equal to expected. */
static int holds(const char* path, const char* expected, size_t size) {
    static char bytes[kImage + 1];
    FILE* file = fopen(path, "rb");
    const size_t got = file != NULL ? fread(bytes, 1, sizeof bytes, file) : 0;
    if (file != NULL)
        fclose(file);
    return file != NULL && got == size && memcmp(bytes, expected, size) == 0;
}

int main(void) {
    const char* names[2] = {"RemoveIntroAuto", "AddIntroAuto"};
    FARPROC found[2] = {NULL, NULL};
    HMODULE dll = LoadLibraryA("quillet.dll");
    CHECK(dll != NULL, "LoadLibraryA", "quillet.dll");
    for (int i = 0; dll != NULL && i < 2; ++i) {
        found[i] = GetProcAddress(dll, names[i]);
        CHECK(found[i] != NULL && found[i] == GetProcAddress(dll, MAKEINTRESOURCEA(i + 1)),
              "found by name and by ordinal", names[i]);
    }
    if (failures != 0)
        return 1;
    RemoveIntroAutoFn removeIntro = (RemoveIntroAutoFn)(void (*)(void))found[0];
    AddIntroAutoFn addIntro = (AddIntroAutoFn)(void (*)(void))found[1];

    /* The image's entry branch jumps to kGame; the game keeps the standard one. */
    char* image = pattern(kImage, 7, "\xFE\xFF\x0F\xEA");
    char* filled = pattern(kImage, 7, "\x2E\x00\x00\xEA");
    memset(filled + kGame, 0xFF, kImage - kGame);
    char* intro = pattern(kIntro, 13, "\x2E\x00\x00\xEA");
    char* added = pattern(kImage, 7, "\xFE\xFF\x0F\xEA");
    memcpy(added + kGame, intro + kHeader, kIntro - kHeader);
    memcpy(added + kImage - 8, "\x00\x2E\x00\x00\xEA\x00\x00\x00", 8);
    CreateDirectoryA("sub", NULL);
    put("image.gba", image, kImage);
    put("sub\\image.gba", image, kImage);
    put("same.gba", image, kImage);
    put("game.gba", filled, kGame);
    put("intro.gba", intro, kIntro);
    put("readonly.gba", "keep", 4);
    SetFileAttributesA("readonly.gba", FILE_ATTRIBUTE_READONLY);

    /* Removal with fill 0 (cut) or 1 (0xFF), or insertion of an intro: the status, and the
       output's bytes (NULL: no file). */
    const struct {
        const char *input, *intro, *output;
        int32_t fill, status;
        const char* expected;
        size_t size;
    } cases[] = {
        {"image.gba", NULL, "cut.gba", 0, 0, filled, kGame},
        {"image.gba", NULL, "filled.gba", 1, 0, filled, kImage},
        {".\\sub\\image.gba", NULL, "sub\\filled.gba", 1, 0, filled, kImage},
        {"same.gba", NULL, "same.gba", 1, 0, filled, kImage},
        {"missing.gba", NULL, "out.gba", 1, 1, NULL, 0},
        {"image.gba", NULL, "no folder\\out.gba", 1, 2, NULL, 0},
        {"image.gba", NULL, "readonly.gba", 1, 2, "keep", 4},
        {"game.gba", "intro.gba", "added.gba", 0, 0, added, kImage},
    };
    for (size_t i = 0; i < sizeof cases / sizeof *cases; ++i) {
        /* __stdcall: the callee takes the arguments off the stack, so ESP is the same after. */
        uintptr_t before, after;
        __asm__ volatile("movl %%esp, %0" : "=r"(before) : : "memory");
        const int32_t status =
            cases[i].intro != NULL
                ? addIntro(cases[i].input, cases[i].intro, cases[i].output)
                : removeIntro(cases[i].input, cases[i].output, cases[i].fill, 255);
        __asm__ volatile("movl %%esp, %0" : "=r"(after) : : "memory");
        CHECK(before == after, "ESP kept", cases[i].output);
        CHECK(status == cases[i].status, "status", cases[i].output);
        CHECK(cases[i].expected ? holds(cases[i].output, cases[i].expected, cases[i].size)
                                : GetFileAttributesA(cases[i].output) == INVALID_FILE_ATTRIBUTES,
              "output", cases[i].output);
    }
    WIN32_FIND_DATAA leftover;
    CHECK(FindFirstFileA(".quillet-*", &leftover) == INVALID_HANDLE_VALUE, "no temporary file",
          leftover.cFileName);
    printf("%d failed\n", failures);
    return failures != 0;
}
