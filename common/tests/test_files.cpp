#include "test_files.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>
#include <zlib.h>

namespace common_test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lumotools_test_XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (!mkdtemp(name.data())) throw std::runtime_error("cannot make a temporary folder");
  path_ = name.data();
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void writeFile(const std::string &path, const std::string &content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::string readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeGzip(const std::string &path, const std::string &content, size_t keep) {
  uLongf size = compressBound(static_cast<uLong>(content.size())) + 32;
  std::vector<unsigned char> packed(size);
  z_stream stream{};
  // windowBits 15 + 16: a gzip wrapper rather than zlib's own.
  deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
  stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(content.data()));
  stream.avail_in = static_cast<uInt>(content.size());
  stream.next_out = packed.data();
  stream.avail_out = static_cast<uInt>(size);
  deflate(&stream, Z_FINISH);
  size = stream.total_out;
  deflateEnd(&stream);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char *>(packed.data()),
             static_cast<std::streamsize>(std::min<size_t>(size, keep)));
}

}  // namespace common_test
