/* Loaded with LD_PRELOAD: makes one call of the engine's fail, so that tests see what a failure
 * at that point leaves behind. The engine's calls are those from a file whose name holds
 * "quillet": the library, and quillet-cli, which has the engine linked in for remove --dat and
 * its checks. QUILLET_FAULT names the call and, after a blank, which of the engine's calls of
 * that kind fails (the first by default): "open 2" fails its second open, with EIO or the errno
 * that QUILLET_FAULT_ERRNO names. "kill" ends the process at the engine's first write instead.
 * QUILLET_NO_TMPFILE makes the file system refuse unnamed files. Calls from anywhere else pass. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

static int calledByEngine(const void* caller) {
    Dl_info info;
    return dladdr(caller, &info) != 0 && strstr(info.dli_fname, "quillet") != NULL;
}

/* Whether this call of the engine's, made from caller, is the one to fail: its name begins
 * with the fault's, so that "mmap" fails mmap64. */
static int failing(const char* call, const void* caller) {
    static int calls;
    const char* fault = getenv("QUILLET_FAULT");
    const size_t length = fault == NULL ? 0 : strcspn(fault, " ");
    if (length == 0 || strncmp(call, fault, length) != 0 || !calledByEngine(caller)) {
        return 0;
    }
    if (++calls == (fault[length] == ' ' ? atoi(fault + length + 1) : 1)) {
        errno = getenv("QUILLET_FAULT_ERRNO") != NULL ? atoi(getenv("QUILLET_FAULT_ERRNO")) : EIO;
        return 1;
    }
    return 0;
}

/* The C library's own definition of name, as the function it is. */
#define NEXT(name) ((__typeof__(&name))(uintptr_t)dlsym(RTLD_NEXT, #name))
#define CALLER __builtin_return_address(0)

/* A call that fails when its turn comes, and otherwise is the C library's. */
#define FAILING(type, name, failed, parameters, arguments)             \
    type name parameters {                                             \
        return failing(#name, CALLER) ? failed : NEXT(name) arguments; \
    }

FAILING(ssize_t, read, -1, (int file, void* bytes, size_t size), (file, bytes, size))
FAILING(int, fchmod, -1, (int file, mode_t mode), (file, mode))
FAILING(int, linkat, -1,
        (int fromFolder, const char* from, int toFolder, const char* to, int flags),
        (fromFolder, from, toFolder, to, flags))

/* The library is built with 64-bit file offsets, so it calls mmap64 and open64. */
FAILING(void*, mmap64, MAP_FAILED,
        (void* address, size_t size, int protection, int flags, int file, off_t offset),
        (address, size, protection, flags, file, offset))

int open64(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = va_arg(arguments, mode_t);
    va_end(arguments);
    if ((flags & O_TMPFILE) == O_TMPFILE && getenv("QUILLET_NO_TMPFILE") != NULL) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return failing("open", CALLER) ? -1 : NEXT(open64)(path, flags, mode);
}

FAILING(int, close, -1, (int file), (file))
FAILING(int, fsync, -1, (int file), (file))
FAILING(int, rename, -1, (const char* from, const char* to), (from, to))

ssize_t write(int file, const void* bytes, size_t size) {
    if (failing("kill", CALLER)) {
        raise(SIGKILL);
    }
    return failing("write", CALLER) ? -1 : NEXT(write)(file, bytes, size);
}
