// A text input read line by line: a file, or standard input for "-",
// gzip-compressed or plain (told apart by its first bytes, so a compressed
// file needs no particular name). The library's text reader does the
// reading (lumo_text.h says which gzip data it takes); this adds the
// file's opening and the messages of the programs.
#ifndef COMMON_LINE_INPUT_H
#define COMMON_LINE_INPUT_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "lumo_text.h"

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
  // stays valid until the next call. Throws ToolError on a read error
  // ("cannot read FILE: reason"), and on damaged, cut or trailing gzip data
  // ("FILE, line N: ..." for the first line that it could not give whole).
  bool next(std::string_view &line);
  // The number of the line last returned by next(), from 1.
  uint64_t lineNumber() const { return static_cast<uint64_t>(lumo_text_line_number(text_)); }
  // The path, or "standard input".
  const std::string &name() const { return name_; }
  // Up to n bytes of the (decompressed) content that next() has not yet
  // returned, without taking them: for recognising a format. Throws
  // ToolError when a failure comes before one whole line.
  std::string_view peek(size_t n);

 private:
  // Throws the ToolError for the reader's failure.
  [[noreturn]] void fail() const;

  std::string name_;
  std::FILE *file_ = nullptr;
  lumo_text *text_ = nullptr;
};

}  // namespace common

#endif
