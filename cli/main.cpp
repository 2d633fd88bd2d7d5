#include <csignal>

#include "commands.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// Windows shells leave wildcards to the program: the C runtime expands them before main.
extern "C" {
int _dowildcard = -1;
}

namespace {

UINT consoleCodePage = 0;

// Ctrl+C and closing the console end the program at once: the console gets its code page back
// first.
BOOL WINAPI restoreConsoleCodePage(DWORD) {
    SetConsoleOutputCP(consoleCodePage);
    return FALSE;
}

}  // namespace
#endif

int main(int argc, char** argv) {
#if defined(_WIN32)
    // The program's text is in its code page (UTF-8, from its manifest); a console shows it so.
    consoleCodePage = GetConsoleOutputCP();
    SetConsoleCtrlHandler(restoreConsoleCodePage, TRUE);
    SetConsoleOutputCP(GetACP());
    const int status = quillet::cli::run(argc, argv);
    SetConsoleOutputCP(consoleCodePage);
    return status;
#else
    // A reader that goes away is a failure to write standard output, reported at the end; the
    // images are all done first.
    std::signal(SIGPIPE, SIG_IGN);
    return quillet::cli::run(argc, argv);
#endif
}
