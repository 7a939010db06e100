#include "atomic_output.h"

#include "tool_error.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace common {

namespace {

// The mode a newly created file would get: what open(2) gives 0666 under
// the process's umask (mkstemp makes its file 0600).
mode_t newFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

AtomicOutput::AtomicOutput(const std::string &path) : name_(path == "-" ? "standard output" : path) {
  if (path == "-") {
    // Whatever the program already gave to stdout goes first.
    std::fflush(stdout);
    openStream(STDOUT_FILENO, false);
    return;
  }
  struct stat existing;
  const bool exists = stat(path.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) {
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) throw ToolError(systemFailure("cannot write", name_, errno));
    openStream(fd, true);
    return;
  }
  std::vector<char> pattern(path.begin(), path.end());
  const std::string suffix = ".tmpXXXXXX";
  pattern.insert(pattern.end(), suffix.begin(), suffix.end());
  pattern.push_back('\0');
  const int fd = mkstemp(pattern.data());
  if (fd < 0) throw ToolError(systemFailure("cannot write", name_, errno));
  temporary_ = pattern.data();
  // The finished file keeps the permissions of the one it replaces.
  fchmod(fd, exists ? existing.st_mode & 07777 : newFileMode());
  openStream(fd, true);
}

AtomicOutput::~AtomicOutput() { discard(); }

void AtomicOutput::openStream(int fd, bool ownsDescriptor) {
  fd_ = fd;
  ownsDescriptor_ = ownsDescriptor;
  const cookie_io_functions_t functions{nullptr, &AtomicOutput::writeThrough, nullptr,
                                        &AtomicOutput::closeThrough};
  file_ = fopencookie(this, "w", functions);
  if (file_) return;
  const int error = errno;
  if (ownsDescriptor) close(fd);
  discard();
  throw ToolError(systemFailure("cannot write", name_, error));
}

// Writes all of data unless the system refuses; the first refusal's reason
// is kept and nothing more is written after it. Returning less than size
// sets the stream's error flag.
ssize_t AtomicOutput::writeThrough(void *cookie, const char *data, size_t size) {
  auto &out = *static_cast<AtomicOutput *>(cookie);
  size_t written = 0;
  while (out.error_ == 0 && written < size) {
    const ssize_t n = ::write(out.fd_, data + written, size - written);
    if (n > 0)
      written += static_cast<size_t>(n);
    else if (n == 0)
      out.error_ = EIO;
    else if (errno != EINTR)
      out.error_ = errno;
  }
  return static_cast<ssize_t>(written);
}

// A file system may report a failed write only when the file is closed.
int AtomicOutput::closeThrough(void *cookie) {
  auto &out = *static_cast<AtomicOutput *>(cookie);
  if (!out.ownsDescriptor_ || close(out.fd_) == 0) return 0;
  if (out.error_ == 0) out.error_ = errno;
  return -1;
}

void AtomicOutput::discard() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
}

void AtomicOutput::commit() {
  bool failed = std::fflush(file_) != 0 || std::ferror(file_);
  failed = std::fclose(file_) != 0 || failed;
  file_ = nullptr;
  if (!failed && !temporary_.empty() && std::rename(temporary_.c_str(), name_.c_str()) != 0) {
    failed = true;
    error_ = errno;
  }
  if (failed) {
    discard();
    throw ToolError(systemFailure("cannot write", name_, error_ ? error_ : EIO));
  }
  temporary_.clear();
}

}  // namespace common
