// An output that replaces its target only when it is complete: a regular
// file is written under a temporary name beside the target and renamed over
// it by commit(), so that a failed run leaves an existing file as it was.
// "-" is standard output; a target that exists and is no regular file (a
// FIFO, /dev/stdout) is written in place, as nothing could be renamed there.
#ifndef COMMON_ATOMIC_OUTPUT_H
#define COMMON_ATOMIC_OUTPUT_H

#include <cstdio>
#include <string>
#include <sys/types.h>

namespace common {

class AtomicOutput {
 public:
  // Opens the output; throws ToolError when it cannot.
  explicit AtomicOutput(const std::string &path);
  // Removes the temporary file of an output that was not committed.
  ~AtomicOutput();
  AtomicOutput(const AtomicOutput &) = delete;
  AtomicOutput &operator=(const AtomicOutput &) = delete;

  std::FILE *stream() { return file_; }
  // The descriptor under stream(), for a writer that bypasses stdio (such
  // as htslib's): flush stream() before writing to it.
  int descriptor() const { return fd_; }
  // Writes text; a failed write is found by commit().
  void write(const std::string &text) { std::fwrite(text.data(), 1, text.size(), file_); }
  // Flushes and closes the output and puts it in place; throws ToolError
  // when any write, the flush, the close or the rename failed, with the
  // system's reason for the first failure ("No space left on device",
  // "Broken pipe"), however long before the flush it happened.
  void commit();
  // The target, or "standard output".
  const std::string &name() const { return name_; }

 private:
  // stream() is a stdio stream over these callbacks, which write to and
  // close fd_ and keep the reason of the first failure: stdio itself keeps
  // only a flag, and errno is long overwritten by the time of commit().
  void openStream(int fd, bool ownsDescriptor);
  static ssize_t writeThrough(void *cookie, const char *data, size_t size);
  static int closeThrough(void *cookie);
  void discard();

  std::string name_;
  std::string temporary_;  // empty when written in place
  std::FILE *file_ = nullptr;
  int fd_ = -1;
  bool ownsDescriptor_ = false;  // false for standard output, left open
  int error_ = 0;                // errno of the first failed write or close
};

}  // namespace common

#endif
