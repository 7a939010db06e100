// A text input read line by line: a file, or standard input for "-",
// gzip-compressed or plain (told apart by its first bytes, so a compressed
// file needs no particular name).
#ifndef COMMON_LINE_INPUT_H
#define COMMON_LINE_INPUT_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

typedef struct gzFile_s *gzFile;

namespace common {

class LineInput {
 public:
  // Opens path ("-": standard input); throws ToolError when it cannot.
  explicit LineInput(const std::string &path);
  ~LineInput();
  LineInput(const LineInput &) = delete;
  LineInput &operator=(const LineInput &) = delete;

  // The next line without its line break ("\n" or "\r\n"); false at the end
  // of the input. A last line without a line break is a line. The view
  // stays valid until the next call. Throws ToolError on a read error, and
  // on a damaged compressed stream ("FILE, line N: ..." for the first line
  // that it could not give whole).
  bool next(std::string_view &line);
  // The number of the line last returned by next(), from 1.
  uint64_t lineNumber() const { return lineNumber_; }
  // The path, or "standard input".
  const std::string &name() const { return name_; }
  // Up to n bytes of the (decompressed) content that next() has not yet
  // returned, without taking them: for recognising a format. Throws
  // ToolError when a damaged compressed stream gives not one whole line.
  std::string_view peek(size_t n);

 private:
  // Reads more of the input after the bytes not yet taken; false at its end.
  bool fill();

  std::string name_;
  gzFile file_ = nullptr;
  std::vector<char> buffer_;
  size_t begin_ = 0;  // first byte not yet taken
  size_t end_ = 0;    // end of the bytes read
  bool atEnd_ = false;
  std::string damage_;  // why a compressed stream ended early; empty: it did not
  uint64_t lineNumber_ = 0;
};

}  // namespace common

#endif
