/* quillet.dll as a Windows program uses it: loaded by name, each function found by name and by
   ordinal at the same address, and called through __stdcall pointers. Every four arguments are a
   call, "remove INPUT OUTPUT FILL" (fill value 255) or "add GAME INTRO OUTPUT", whose status it
   prints, a line a call, for wine_test.sh to compare. A path "-" is passed as a null pointer. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "quillet.h"

int main(int argc, char** argv) {
    const HMODULE dll = LoadLibraryA("quillet.dll");
    FARPROC found[2] = {NULL, NULL};
    const char* names[2] = {"RemoveIntroAuto", "AddIntroAuto"};
    for (int i = 0; i < 2; ++i) {
        found[i] = dll != NULL ? GetProcAddress(dll, names[i]) : NULL;
        if (found[i] == NULL || found[i] != GetProcAddress(dll, MAKEINTRESOURCEA(i + 1))) {
            printf("%s is not found by name and by ordinal\n", names[i]);
            return 1;
        }
    }
    QuilletRemoveIntroAutoFunction removal =
        (QuilletRemoveIntroAutoFunction)(void (*)(void))found[0];
    QuilletAddIntroAutoFunction insertion = (QuilletAddIntroAutoFunction)(void (*)(void))found[1];
#define PATH(n) (strcmp(argv[n], "-") == 0 ? NULL : argv[n])
    for (int i = 1; i + 3 < argc; i += 4) {
        /* The callee takes its arguments off the stack, so the stack pointer is the same after. */
        uintptr_t before, after;
        __asm__ volatile("movl %%esp, %0" : "=r"(before) : : "memory");
        const int32_t status = strcmp(argv[i], "add") == 0
                                   ? insertion(PATH(i + 1), PATH(i + 2), PATH(i + 3))
                                   : removal(PATH(i + 1), PATH(i + 2), atoi(argv[i + 3]), 255);
        __asm__ volatile("movl %%esp, %0" : "=r"(after) : : "memory");
        printf("%s %s %s %s: %d%s\n", argv[i], argv[i + 1], argv[i + 2], argv[i + 3], (int)status,
               before == after ? "" : ", stack pointer moved");
    }
    return 0;
}
