// The alignment file format that the chainer reads, written and read:
//   # comment lines
//   X  source  sequence:sequence  1:1  XLEN:YLEN  0  .  seq1 "X"; seq2 "Y"
//   X  source  alignment  xb:yb  xe:ye  score  strand  attributes
//   X  source  fragment   xb:yb  xe:ye  score  strand  attributes
// Coordinates are 1-based and inclusive with begin <= end in both
// sequences; strand '-' means the second sequence runs backwards while the
// first runs forwards.
#ifndef COMMON_ALIGNMENT_FILE_H
#define COMMON_ALIGNMENT_FILE_H

#include "line_input.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace common {

// One alignment or fragment line; `score` is written as it stands.
struct AlignmentRecord {
  std::string name;    // the first sequence's name
  std::string source;  // the program that made the alignment
  uint64_t xb = 0, yb = 0, xe = 0, ye = 0;
  std::string score;
  char strand = '+';
  std::string attributes;
};

// Whether the chainer reads `name` back as written: it reads a line's first
// word as the name, skips lines that start with '#', and reads the sequence
// line's quoted names up to the next quote. So a name must be non-empty,
// not start with '#', and hold no blank, quote or control character.
bool carriableName(std::string_view name);

// Why carriableName refused a name, for messages.
constexpr const char *UNCARRIABLE_NAME =
    "it is empty, starts with '#', or holds a blank, a quote or a control character";

// Why the alignment line of `record` would be refused by AlignmentReader
// and the chainer (a coordinate of 2^63 - 1 or more, xe below xb, a score
// that is no number, not finite or beyond 10^15), or nullptr when they
// take it. A writer checks its records with it, so that whatever it writes
// reads back.
const char *unreadableReason(const AlignmentRecord &record);

class AlignmentWriter {
 public:
  explicit AlignmentWriter(std::FILE *out) : out_(out) {}
  // "# text"; text must hold no line break.
  void comment(std::string_view text);
  void sequencePair(const std::string &xName, uint64_t xLength, const std::string &yName,
                    uint64_t yLength, const std::string &source);
  void alignment(const AlignmentRecord &record) { line(record, "alignment"); }
  void fragment(const AlignmentRecord &record) { line(record, "fragment"); }

 private:
  void line(const AlignmentRecord &record, const char *feature);
  std::FILE *out_;
};

// One line of an alignment file as read.
struct AlignmentItem {
  enum Kind { COMMENT, SEQUENCE_PAIR, ALIGNMENT, OTHER } kind = OTHER;
  std::string_view line;  // the whole line, valid until the next read
  uint64_t lineNumber = 0;
  // ALIGNMENT: the values; SEQUENCE_PAIR: the names (from seq1 "X";
  // seq2 "Y", else the first word and an empty name) and xe:ye as lengths.
  std::string_view name, source, feature;
  int64_t xb = 0, yb = 0, xe = 0, ye = 0;
  float score = 0;
  std::string_view scoreText;
  char strand = '.';
  std::string_view attributes;  // everything after the strand
  std::string_view xName, yName;
};

// Reads an alignment file line by line with exactly the chainer's rules:
// an alignment line with too few values, a coordinate beyond 64 bits, xe
// below xb or a score that is not finite or above 10^15 throws ToolError
// naming the file and the line.
class AlignmentReader {
 public:
  explicit AlignmentReader(LineInput &input) : input_(input) {}
  bool next(AlignmentItem &item);
  const std::string &name() const { return input_.name(); }

 private:
  LineInput &input_;
};

}  // namespace common

#endif
