#include "atomic_output.h"

#include "tool_error.h"

#include <cerrno>
#include <cstdlib>
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
    file_ = stdout;
    return;
  }
  struct stat existing;
  const bool exists = stat(path.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) {
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) throw ToolError(systemFailure("cannot write", name_, errno));
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
  file_ = fdopen(fd, "w");
  if (!file_) {
    const int error = errno;
    close(fd);
    unlink(temporary_.c_str());
    throw ToolError(systemFailure("cannot write", name_, error));
  }
}

AtomicOutput::~AtomicOutput() { discard(); }

void AtomicOutput::discard() {
  if (file_ && file_ != stdout) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
}

void AtomicOutput::commit() {
  errno = 0;
  bool failed = std::fflush(file_) != 0 || std::ferror(file_);
  int error = errno;
  if (file_ != stdout) {
    if (std::fclose(file_) != 0 && !failed) {
      failed = true;
      error = errno;
    }
    file_ = nullptr;
  }
  if (!failed && !temporary_.empty() && std::rename(temporary_.c_str(), name_.c_str()) != 0) {
    failed = true;
    error = errno;
  }
  if (failed) {
    discard();
    throw ToolError(systemFailure("cannot write", name_, error ? error : EIO));
  }
  temporary_.clear();
}

}  // namespace common
