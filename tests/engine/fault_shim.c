/* Loaded with LD_PRELOAD: makes one call of the library fail, so that tests see what a failure
 * at that point leaves behind. QUILLET_FAULT names the call and, after a blank, which of the
 * library's calls of that kind fails (the first by default): "open 2" fails its second open.
 * "kill" ends the process at the library's first write instead. QUILLET_NO_TMPFILE makes the
 * file system refuse unnamed files. Calls from anywhere else pass. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static int calledByLibrary(const void* caller) {
    Dl_info info;
    return dladdr(caller, &info) != 0 && strstr(info.dli_fname, "libquillet") != NULL;
}

/* Whether this call, made from caller, is the one to fail. */
static int failing(const char* call, const void* caller) {
    static int calls;
    const char* fault = getenv("QUILLET_FAULT");
    const size_t length = strlen(call);
    if (fault == NULL || strncmp(fault, call, length) != 0 || !calledByLibrary(caller)) {
        return 0;
    }
    if (fault[length] == ' ' ? ++calls == atoi(fault + length + 1) : ++calls == 1) {
        errno = EIO;
        return 1;
    }
    return 0;
}

/* The C library's own definition of name, as the function it is. */
#define NEXT(name) ((__typeof__(&name))(uintptr_t)dlsym(RTLD_NEXT, #name))
#define CALLER __builtin_return_address(0)

static int openFile(const char* path, int flags, mode_t mode, const void* caller) {
    if ((flags & O_TMPFILE) == O_TMPFILE && getenv("QUILLET_NO_TMPFILE") != NULL) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return failing("open", caller) ? -1 : NEXT(open)(path, flags, mode);
}

int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = va_arg(arguments, mode_t);
    va_end(arguments);
    return openFile(path, flags, mode, CALLER);
}

int open64(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = va_arg(arguments, mode_t);
    va_end(arguments);
    return openFile(path, flags, mode, CALLER);
}

ssize_t read(int descriptor, void* buffer, size_t size) {
    return failing("read", CALLER) ? -1 : NEXT(read)(descriptor, buffer, size);
}

ssize_t write(int descriptor, const void* buffer, size_t size) {
    if (failing("kill", CALLER)) {
        raise(SIGKILL);
    }
    return failing("write", CALLER) ? -1 : NEXT(write)(descriptor, buffer, size);
}

int fsync(int descriptor) {
    return failing("fsync", CALLER) ? -1 : NEXT(fsync)(descriptor);
}

int close(int descriptor) {
    const int closed = NEXT(close)(descriptor);
    return failing("close", CALLER) ? -1 : closed;
}

int fchmod(int descriptor, mode_t mode) {
    return failing("fchmod", CALLER) ? -1 : NEXT(fchmod)(descriptor, mode);
}

int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) {
    return failing("linkat", CALLER) ? -1 : NEXT(linkat)(fromFolder, from, toFolder, to, flags);
}

int rename(const char* from, const char* to) {
    return failing("rename", CALLER) ? -1 : NEXT(rename)(from, to);
}

void* calloc(size_t count, size_t size) {
    return failing("calloc", CALLER) ? NULL : NEXT(calloc)(count, size);
}
