#include "line_input.h"

#include "tool_error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

namespace common {

namespace {

constexpr size_t CHUNK = 1 << 18;

// zlib's reason without the "<fd:N>: " that it puts before it for a stream
// opened from a descriptor.
std::string zlibReason(const char *why) {
  std::string reason = why;
  const size_t end = reason.find(">: ");
  if (reason.compare(0, 4, "<fd:") == 0 && end != std::string::npos) reason.erase(0, end + 3);
  return reason;
}

}  // namespace

LineInput::LineInput(const std::string &path)
    : name_(path == "-" ? "standard input" : path), buffer_(CHUNK) {
  const int fd = path == "-" ? dup(STDIN_FILENO) : open(path.c_str(), O_RDONLY);
  if (fd < 0) throw ToolError(systemFailure("cannot open", name_, errno));
  file_ = gzdopen(fd, "rb");
  if (!file_) {
    close(fd);
    throw ToolError("cannot read " + name_ + ": out of memory");
  }
  gzbuffer(file_, CHUNK);
}

LineInput::~LineInput() { gzclose(file_); }

bool LineInput::fill() {
  if (atEnd_) return false;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == buffer_.size()) buffer_.resize(2 * buffer_.size());
  const int n = gzread(file_, buffer_.data() + end_, static_cast<unsigned>(buffer_.size() - end_));
  if (n <= 0) {
    // A compressed stream cut short ends without an error from gzread. A
    // damaged stream is reported where the lines before the damage end.
    int code = 0;
    const char *why = gzerror(file_, &code);
    if (n < 0 && code == Z_ERRNO) throw ToolError(systemFailure("cannot read", name_, errno));
    if (code != Z_OK) damage_ = "the compressed input is damaged or cut short (" + zlibReason(why) + ")";
    atEnd_ = true;
    return false;
  }
  end_ += static_cast<size_t>(n);
  return true;
}

bool LineInput::next(std::string_view &line) {
  size_t searched = begin_;
  for (;;) {
    const char *base = buffer_.data();
    const void *lineBreak = std::memchr(base + searched, '\n', end_ - searched);
    if (lineBreak) {
      size_t stop = static_cast<size_t>(static_cast<const char *>(lineBreak) - base);
      const size_t start = begin_;
      begin_ = stop + 1;
      if (stop > start && base[stop - 1] == '\r') --stop;
      line = std::string_view(base + start, stop - start);
      ++lineNumber_;
      return true;
    }
    const size_t pending = end_ - begin_;
    if (!fill()) break;
    searched = pending;  // fill() moved the pending bytes to the front
  }
  if (!damage_.empty()) throw ToolError(at(name_, lineNumber_ + 1, damage_));
  if (begin_ == end_) return false;
  size_t stop = end_;
  if (buffer_[stop - 1] == '\r') --stop;
  line = std::string_view(buffer_.data() + begin_, stop - begin_);
  begin_ = end_;
  ++lineNumber_;
  return true;
}

std::string_view LineInput::peek(size_t n) {
  while (end_ - begin_ < n && fill()) {
  }
  // Damage before the first whole line leaves nothing to look at.
  if (!damage_.empty() && !std::memchr(buffer_.data() + begin_, '\n', end_ - begin_))
    throw ToolError(at(name_, lineNumber_ + 1, damage_));
  return std::string_view(buffer_.data() + begin_, std::min(n, end_ - begin_));
}

}  // namespace common
