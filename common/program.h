// What the programs aliconv, aliplot and mumfind share around their work:
// the ways a command line ends other than a run, and the exit statuses.
#ifndef COMMON_PROGRAM_H
#define COMMON_PROGRAM_H

#include <functional>
#include <stdexcept>

namespace common {

// A command line the program does not take; what() says why.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A command line that asks for the usage text (-h, --help) or the version
// (--version) instead of a run.
struct InfoRequest {
  enum Kind { HELP, VERSION } kind;
};

// Runs a program's work and returns its exit status: 0 when the work and
// the flush of standard output succeed, also after an InfoRequest (USAGE,
// or the project's version number alone, on standard output); 2 after a
// UsageError ("NAME: why" and USAGE on standard error); 1 after a ToolError
// ("NAME: what") or when memory runs out. A closed pipe is ignored as a signal, so that it
// shows as a failed write.
int runProgram(const char *name, const char *usage, const std::function<void()> &work);

}  // namespace common

#endif
