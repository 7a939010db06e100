// Files that a test makes in a folder of its own, removed with the folder.
#ifndef COMMON_TESTS_TEST_FILES_H
#define COMMON_TESTS_TEST_FILES_H

#include <string>

namespace common_test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir &) = delete;
  TempDir &operator=(const TempDir &) = delete;
  const std::string &path() const { return path_; }
  // path()/name
  std::string file(const std::string &name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void writeFile(const std::string &path, const std::string &content);
std::string readFile(const std::string &path);
// The content as one gzip member.
std::string gzipped(const std::string &content);
// The content gzip-compressed, cut to `keep` bytes when keep is given.
void writeGzip(const std::string &path, const std::string &content, size_t keep = SIZE_MAX);

}  // namespace common_test

#endif
