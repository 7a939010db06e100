// The one kind of failure of a run of aliconv, aliplot or mumfind: what()
// is the complete message for standard error, without the program's name.
#ifndef COMMON_TOOL_ERROR_H
#define COMMON_TOOL_ERROR_H

#include <cstdint>
#include <stdexcept>
#include <string>

namespace common {

struct ToolError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// "FILE, line N: what", the form of every message about bad input.
std::string at(const std::string &file, uint64_t line, const std::string &what);

// "what FILE: the system's reason", for a failed open, read or write.
std::string systemFailure(const std::string &what, const std::string &file, int error);

}  // namespace common

#endif
