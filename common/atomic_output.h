// An output that replaces its target only when it is complete: a regular
// file is written under a temporary name beside the target and renamed over
// it by commit(), so that a failed run leaves an existing file as it was.
// "-" is standard output; a target that exists and is no regular file (a
// FIFO, /dev/stdout) is written in place, as nothing could be renamed there.
#ifndef COMMON_ATOMIC_OUTPUT_H
#define COMMON_ATOMIC_OUTPUT_H

#include <cstdio>
#include <string>

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
  // Writes text; a failed write is found by commit().
  void write(const std::string &text) { std::fwrite(text.data(), 1, text.size(), file_); }
  // Flushes and closes the output and puts it in place; throws ToolError
  // when any write, the flush, the close or the rename failed.
  void commit();
  // The target, or "standard output".
  const std::string &name() const { return name_; }

 private:
  void discard();

  std::string name_;
  std::string temporary_;  // empty when written in place
  std::FILE *file_ = nullptr;
};

}  // namespace common

#endif
