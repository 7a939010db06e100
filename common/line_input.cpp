#include "line_input.h"

#include "tool_error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace common {

LineInput::LineInput(const std::string &path) : name_(path == "-" ? "standard input" : path) {
  // Standard input is read through a descriptor of its own, so that closing
  // the input leaves the process's standard input open.
  const int fd = path == "-" ? dup(STDIN_FILENO) : open(path.c_str(), O_RDONLY);
  if (fd < 0) throw ToolError(systemFailure("cannot open", name_, errno));
  file_ = fdopen(fd, "rb");
  if (!file_) {
    const int error = errno;
    close(fd);
    throw ToolError(systemFailure("cannot open", name_, error));
  }
  text_ = lumo_text_open(file_);
  if (!text_) {
    std::fclose(file_);
    throw ToolError("cannot read " + name_ + ": out of memory");
  }
}

LineInput::~LineInput() {
  lumo_text_close(text_);
  std::fclose(file_);
}

void LineInput::fail() const {
  if (const int error = lumo_text_read_error(text_)) throw ToolError(systemFailure("cannot read", name_, error));
  throw ToolError(at(name_, lineNumber() + 1, lumo_text_problem(text_)));
}

bool LineInput::next(std::string_view &line) {
  const char *text;
  size_t length;
  const int got = lumo_text_next_line(text_, &text, &length);
  if (got < 0) fail();
  if (got == 0) return false;
  line = std::string_view(text, length);
  return true;
}

std::string_view LineInput::peek(size_t n) {
  const char *bytes;
  const size_t have = lumo_text_peek(text_, n, &bytes);
  // A failure before the first whole line leaves nothing to look at.
  if (lumo_text_problem(text_) && !std::memchr(bytes, '\n', have)) fail();
  return std::string_view(bytes, have);
}

}  // namespace common
