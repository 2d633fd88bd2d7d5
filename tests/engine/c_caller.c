/* The library as a C program calls it, through the public header as it is, with the null paths
 * that only a program can pass. Exits 0 when every call is refused as it should be. */
#include <errno.h>
#include <stddef.h>

#include "quillet.h"

int main(int argc, char** argv) {
    /* Any file of some size serves as an image here, this program's own included. */
    const char* image = argv[argc - 1];
    return !(RemoveIntroAuto(NULL, "never.gba", 1, 255) == QUILLET_INPUT_NOT_OPENED &&
             errno == ENOENT &&
             AddIntroAuto(image, NULL, "never.gba") == QUILLET_INPUT_NOT_OPENED &&
             RemoveIntroAuto(image, NULL, 1, 255) == QUILLET_OUTPUT_NOT_WRITTEN &&
             errno == ENOENT && AddIntroAuto(image, image, NULL) == QUILLET_OUTPUT_NOT_WRITTEN);
}
