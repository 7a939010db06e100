// The alignment reader: loads the input file once per run, takes its
// alignment lines into the input's table and remembers which lines the
// report copies; and gives each pass its oriented copy of that table.
#include "alichain.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void refuseLine(const std::string &filename, size_t lineNumber, const char *why) {
  throw AlichainError("Error: Alignment file " + filename + ", line " +
                      std::to_string(lineNumber) + ": " + why + "\n");
}

// Reads all of fd into input.text (size hint `expected`), leaving one byte
// of room after the contents.
bool readAll(int fd, size_t expected, INPUT &input) {
  size_t capacity = expected + 1;
  std::unique_ptr<char[]> text(new char[capacity]);
  adviseHugePages(text.get(), capacity);
  size_t used = 0;
  for (;;) {
    if (used == capacity) {
      std::unique_ptr<char[]> larger(new char[2 * capacity]);
      std::memcpy(larger.get(), text.get(), used);
      text = std::move(larger);
      capacity *= 2;
    }
    const ssize_t n = read(fd, text.get() + used, capacity - used);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    used += static_cast<size_t>(n);
  }
  input.text = std::move(text);
  input.textSize = used;
  return true;
}

// Reads the whole file into input.text and makes sure it ends with a line
// break, so that every copied line carries one.
void loadFile(const std::string &filename, INPUT &input) {
  const int fd = open(filename.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw AlichainError("Error: Unable to input file " + filename + "\n");
  struct stat st {};
  const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (!readAll(fd, regular ? static_cast<size_t>(st.st_size) : 65536, input)) {
    close(fd);
    throw AlichainError("Error: Unable to input file " + filename + "\n");
  }
  if (close(fd) != 0) fprintf(stderr, "Error: Unable to close file %s\n", filename.c_str());
  if (input.textSize == 0)
    fprintf(stderr, "File %s is empty\n", filename.c_str());
  else if (input.text[input.textSize - 1] != '\n')
    input.text[input.textSize++] = '\n';
}

// Where the input line that begins at `begin` ends, its line break included
// (the text ends with one).
size_t endOfLine(const INPUT &input, size_t begin) {
  const char *base = input.text.get();
  const void *lineBreak = std::memchr(base + begin, '\n', input.textSize - begin);
  return static_cast<size_t>(static_cast<const char *>(lineBreak) - base) + 1;
}

// Takes the values of an alignment line (line number lineNumber) into
// the input's table, or refuses the line.
void takeAlignment(INPUT &input, size_t lineNumber, const ALIGNMENT_FIELDS &f, int values) {
  const std::string &filename = input.name;
  if (values < 8)
    throw AlichainError("Error: Alignment file " + filename + " not in proper format (line " +
                        std::to_string(lineNumber) + ")\n");
  if (const char *why = alignmentFault(f)) refuseLine(filename, lineNumber, why);
  input.ali.push_back(ALI{f.xb, f.yb, f.xe, f.ye, scaleScore(f.score), UINT64_MAX});
}

// Counts the line breaks of [text, text + size) a block at a time: a sum of
// at most 255 one-byte flags fits a byte, and byte-wide sums vectorise far
// better than a count kept in a full word.
size_t countLineBreaks(const char *text, size_t size) {
  constexpr size_t BLOCK = 255;
  size_t total = 0;
  for (size_t at = 0; at < size; at += BLOCK) {
    const char *block = text + at;
    const size_t length = std::min(BLOCK, size - at);
    unsigned char inBlock = 0;
    for (size_t i = 0; i < length; ++i)
      inBlock = static_cast<unsigned char>(inBlock + (block[i] == '\n'));
    total += inBlock;
  }
  return total;
}

// Reserves the per-alignment tables at once, so that they are filled
// without being moved: at most one alignment per line, and none shorter
// than 22 bytes ("a b hsp:hsp 1:1 1:1 1\n").
void reserveTables(INPUT &input) {
  const size_t lines = countLineBreaks(input.text.get(), input.textSize);
  const size_t expected = std::min(lines, input.textSize / 22 + 1);
  input.ali.reserve(expected);
  input.alignmentLines.reserve(expected);
  adviseHugePages(input.ali.data(), expected * sizeof(ALI));
  adviseHugePages(input.alignmentLines.data(), expected * sizeof(size_t));
}

// Walks the lines once: takes alignment lines, and remembers where they
// and the comment and sequence lines stand, for the report.
void parseInput(INPUT &input) {
  static const char SEQUENCE[] = "sequence:sequence";
  const char *base = input.text.get();
  const size_t size = input.textSize;
  auto findSequence = [&](size_t from) {
    const void *hit = memmem(base + from, size - from, SEQUENCE, sizeof SEQUENCE - 1);
    return hit ? static_cast<size_t>(static_cast<const char *>(hit) - base) : size;
  };
  // Position of the first "sequence:sequence" at or after the current line.
  size_t nextSequence = findSequence(0);
  size_t lineNumber = 0;
  reserveTables(input);
  for (size_t begin = 0; begin < size;) {
    const size_t end = endOfLine(input, begin);
    ++lineNumber;
    if (nextSequence < begin) nextSequence = findSequence(begin);
    const char *line = base + begin;
    if (*line == '#' || nextSequence < end) input.copiedLines.push_back({begin, end});
    ALIGNMENT_FIELDS f{};
    const int values = *line == '#' ? 0 : scanAlignmentFields(line, base + end - 1, f);
    if (values >= 3 && isAlignmentFeature(f)) {
      takeAlignment(input, lineNumber, f, values);
      input.alignmentLines.push_back(begin);
    }
    begin = end;
  }
}

}  // namespace

LINESPAN alignmentSpan(const INPUT &input, uint64_t alinr) {
  const char *base = input.text.get();
  const std::vector<size_t> &lines = input.alignmentLines;
  const size_t limit = alinr + 1 < lines.size() ? lines[alinr + 1] : input.textSize;
  LINESPAN span{lines[alinr], endOfLine(input, lines[alinr])};
  while (span.end < limit) {
    const size_t next = endOfLine(input, span.end);
    if (!memmem(base + span.end, next - span.end, "fragment", 8)) break;
    span.end = next;
  }
  return span;
}

uint64_t readAlignments(const std::string &filename, INPUT &input) {
  input.name = filename;
  loadFile(filename, input);
  parseInput(input);
  return input.ali.size();
}

void orientAlignments(const INPUT &input, int opt_r, PASS &pass) {
  std::vector<ALI> &ali = pass.ali;
  ali.clear();
  ali.reserve(input.ali.size());
  adviseHugePages(ali.data(), input.ali.size() * sizeof(ALI));
  // Mirroring negates and swaps the second-sequence values, so a chain
  // running backwards in the second sequence runs forwards in the mirror.
  for (const ALI &a : input.ali)
    ali.push_back(opt_r ? ALI{a.xb, -a.ye, a.xe, -a.yb, a.score, UINT64_MAX} : a);
}
