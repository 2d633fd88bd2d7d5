/*
 * Quillet's patch engine: takes an intro off a Game Boy Advance ROM image, or appends one.
 *
 * Both functions read their inputs whole, build the output in memory and write it to a new
 * temporary file in the output's folder, which then replaces the output name. An input file
 * is never changed; a call that returns anything but QUILLET_OK creates no file and leaves an
 * existing output as it was. The functions keep no state and may be called from any thread.
 *
 * Paths are NUL-terminated strings in the system's 8-bit encoding: on Linux and its kin the
 * bytes of the file name (UTF-8 as a rule); on Windows the process's ANSI code page, which a
 * program's manifest can make UTF-8 (quillet.exe's and quillet-cli.exe's do), so that any file
 * name can be given. The Windows library turns them into UTF-16 and opens files by their wide
 * names.
 *
 * After a call that returns 1, 2 or 4, errno (the C runtime's; msvcrt.dll's on Windows) holds the
 * reason: the error of the system call that failed, or the one given with the status below.
 */
#ifndef QUILLET_H
#define QUILLET_H

#include <stdint.h>

#if defined(_WIN32)
#define QUILLET_CALL __stdcall
#if defined(QUILLET_BUILDING_LIBRARY)
/* quillet.def exports the functions under their undecorated names with fixed ordinals. */
#define QUILLET_API
#else
#define QUILLET_API __declspec(dllimport)
#endif
#if defined(_MSC_VER) && defined(_M_IX86) && !defined(QUILLET_BUILDING_LIBRARY)
/* An import library that Visual C++'s lib makes from quillet.def offers the undecorated names,
   while its 32-bit callers refer to the decorated ones; the linker takes the first for the
   second. */
#pragma comment(linker, "/alternatename:__imp__RemoveIntroAuto@16=__imp__RemoveIntroAuto")
#pragma comment(linker, "/alternatename:__imp__AddIntroAuto@12=__imp__AddIntroAuto")
#endif
#else
#define QUILLET_CALL
#if defined(QUILLET_BUILDING_LIBRARY)
#define QUILLET_API __attribute__((visibility("default")))
#else
#define QUILLET_API
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* What a call returns. */
typedef enum QuilletStatus {
    /* The output file was written. */
    QUILLET_OK = 0,
    /* An input file cannot be opened: missing or an empty path (ENOENT), unreadable, a folder
       (EISDIR), or a pipe or device (ENOTSUP). */
    QUILLET_INPUT_NOT_OPENED = 1,
    /* The output cannot be written: it cannot be created, or a write, sync, close or rename
       failed. An empty path (ENOENT), a link that leads nowhere (ENOENT), a folder (EISDIR), a
       pipe or device (ENOTSUP) and an existing file that the caller may not write (EACCES) are
       never replaced. On Windows the reserved names, such as NUL, CON or COM1, name devices in
       any folder and with any extension. */
    QUILLET_OUTPUT_NOT_WRITTEN = 2,
    /* An input is too short: an image under 4 bytes, or an intro image under 192 bytes. */
    QUILLET_INPUT_TOO_SHORT = 3,
    /* An input cannot be read whole: a read failed, or the file ended before its size (errno 0). */
    QUILLET_INPUT_NOT_READ = 4,
    /* Cut mode, but the entry branch points past the end of the image: nothing to cut at. */
    QUILLET_TARGET_BEYOND_END = 5,
    /* A game image over 67,108,868 bytes once raised to a multiple of 4, which no entry branch
       can jump behind, any input of 2 GiB or more, or too little memory to hold the images. */
    QUILLET_INPUT_TOO_LARGE = 6
} QuilletStatus;

/*
 * Takes the intro off the image at inputPath and writes the result to outputPath.
 * The entry branch (bytes 0-2) gives the offset where the intro begins; bytes 0-3 become the
 * standard entry branch 2E 00 00 EA. With fill 0 the output ends at that offset (cut mode);
 * with any other fill the image keeps its size and every byte from that offset on becomes the
 * low 8 bits of fillValue (fill mode).
 */
QUILLET_API int32_t QUILLET_CALL RemoveIntroAuto(const char* inputPath, const char* outputPath,
                                                 int32_t fill, int32_t fillValue);

/*
 * Writes the game image at gamePath, then the intro image at introPath without its 192-byte
 * header, then an 8-byte trailer, to outputPath, with the game's entry branch pointing at the
 * first byte of the intro code. A game image whose size is not a multiple of 4 is padded with
 * zero bytes up to the next multiple of 4, where the intro code begins.
 */
QUILLET_API int32_t QUILLET_CALL AddIntroAuto(const char* gamePath, const char* introPath,
                                              const char* outputPath);

/* The functions' types, for callers that look them up at run time. */
typedef int32_t(QUILLET_CALL* QuilletRemoveIntroAutoFunction)(const char*, const char*, int32_t,
                                                              int32_t);
typedef int32_t(QUILLET_CALL* QuilletAddIntroAutoFunction)(const char*, const char*, const char*);

#ifdef __cplusplus
}
#endif

#endif /* QUILLET_H */
