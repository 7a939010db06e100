// What the programs aliconv, aliplot and mumfind share around their work:
// the kinds of failure of a command line and the exit statuses.
#ifndef COMMON_PROGRAM_H
#define COMMON_PROGRAM_H

#include <functional>
#include <stdexcept>

namespace common {

// A command line the program does not take; what() says why.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Runs a program's work and returns its exit status: 0 when the work and
// the flush of standard output succeed; 2 after a UsageError ("NAME: why"
// and the usage text on standard error); 1 after a ToolError ("NAME: what")
// or when memory runs out. A closed pipe is ignored as a signal, so that it
// shows as a failed write.
int runProgram(const char *name, const char *usage, const std::function<void()> &work);

}  // namespace common

#endif
