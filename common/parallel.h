// Running the parts of one job side by side, for programs that split their
// work over threads.
#ifndef COMMON_PARALLEL_H
#define COMMON_PARALLEL_H

#include <functional>

namespace common {

// Runs task(0) .. task(parts - 1), each on a thread of its own (the first
// on the calling thread), and returns when all have ended. A task that
// throws does not stop the others; the exception of the lowest-numbered
// such task is rethrown then.
void inParallel(int parts, const std::function<void(int part)> &task);

}  // namespace common

#endif
