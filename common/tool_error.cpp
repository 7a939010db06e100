#include "tool_error.h"

#include <cstring>

namespace common {

std::string at(const std::string &file, uint64_t line, const std::string &what) {
  return file + ", line " + std::to_string(line) + ": " + what;
}

std::string systemFailure(const std::string &what, const std::string &file, int error) {
  return what + " " + file + ": " + std::strerror(error);
}

}  // namespace common
