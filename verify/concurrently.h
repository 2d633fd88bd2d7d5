// Two jobs at once, on two of the machine's cores.
#pragma once

#include <functional>

namespace quillet::verify {

// Runs first on this thread and second on a thread of its own, one after the other where no
// thread can be had, and returns when both are done. An exception from either is thrown again
// here, the first's before the second's. An empty job is not run, and no thread is started for
// the other alone.
void concurrently(const std::function<void()>& first, const std::function<void()>& second);

}  // namespace quillet::verify
