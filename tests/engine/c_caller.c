/* Compiled as C: the public header must serve C callers as it is. */
#include "quillet.h"

int removeIntroFromC(const char* inputPath, const char* outputPath);

int removeIntroFromC(const char* inputPath, const char* outputPath) {
    const QuilletStatus status = (QuilletStatus)RemoveIntroAuto(inputPath, outputPath, 0, 0);
    return status == QUILLET_OK ? QUILLET_OK : (int)status;
}
