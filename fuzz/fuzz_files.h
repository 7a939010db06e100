// Helpers shared by the fuzz targets: temporary files named after the
// process, and a way to run a program's main without its standard output.
#ifndef FUZZ_FUZZ_FILES_H
#define FUZZ_FUZZ_FILES_H

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace fuzz {

inline std::string readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Ends the run, naming the broken invariant, when `holds` is false.
inline void check(bool holds, const char *invariant) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s\n", invariant);
  std::abort();
}

// A file under the temporary directory holding the given bytes; removed
// when the object goes.
class TempFile {
 public:
  TempFile(const char *tag, const std::string &bytes)
      : path_(std::string(P_tmpdir) + "/lumofuzz-" + tag + "-" + std::to_string(getpid())) {
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  ~TempFile() { std::remove(path_.c_str()); }
  TempFile(const TempFile &) = delete;
  TempFile &operator=(const TempFile &) = delete;

  char *name() { return path_.data(); }
  std::string contents() const { return readFile(path_); }

 private:
  std::string path_;
};

// Runs `body` with standard output and standard error sent to /dev/null,
// so that a fuzzing run is not drowned in the programs' messages.
template <typename Body>
int silenced(Body body) {
  std::fflush(stdout);
  std::fflush(stderr);
  const int savedOut = dup(1), savedErr = dup(2);
  const int null = open("/dev/null", O_WRONLY);
  dup2(null, 1);
  dup2(null, 2);
  const int status = body();
  std::fflush(stdout);
  std::fflush(stderr);
  dup2(savedOut, 1);
  dup2(savedErr, 2);
  close(null);
  close(savedOut);
  close(savedErr);
  return status;
}

}  // namespace fuzz

#endif
