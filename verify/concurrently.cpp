#include "concurrently.h"

#include <exception>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <system_error>
#include <thread>
#endif

namespace quillet::verify {

namespace {

#if defined(_WIN32)
// MinGW's threads model has no std::thread: the system's own threads serve.
DWORD WINAPI runJob(void* job) {
    (*static_cast<const std::function<void()>*>(job))();
    return 0;
}
#endif

}  // namespace

void concurrently(const std::function<void()>& first, const std::function<void()>& second) {
    if (!first || !second) {
        if (first) {
            first();
        }
        if (second) {
            second();
        }
        return;
    }
    std::exception_ptr secondFailure;
    const std::function<void()> runSecond = [&second, &secondFailure] {
        try {
            second();
        } catch (...) {
            secondFailure = std::current_exception();
        }
    };
#if defined(_WIN32)
    const HANDLE thread = CreateThread(nullptr, 0, runJob,
                                       const_cast<std::function<void()>*>(&runSecond), 0, nullptr);
    if (thread == nullptr) {
        runSecond();
    }
#else
    std::thread thread;
    try {
        thread = std::thread(runSecond);
    } catch (const std::system_error&) {
        runSecond();
    }
#endif
    std::exception_ptr firstFailure;
    try {
        first();
    } catch (...) {
        firstFailure = std::current_exception();
    }
#if defined(_WIN32)
    if (thread != nullptr) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
#else
    if (thread.joinable()) {
        thread.join();
    }
#endif
    if (firstFailure) {
        std::rethrow_exception(firstFailure);
    }
    if (secondFailure) {
        std::rethrow_exception(secondFailure);
    }
}

}  // namespace quillet::verify
