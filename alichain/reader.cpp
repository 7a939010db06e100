// The alignment reader: loads the input file once per run, takes its
// alignment lines into `ali` and remembers which lines the report copies.
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
bool readAll(int fd, size_t expected) {
  size_t capacity = expected + 1;
  std::unique_ptr<char[]> text(new char[capacity]);
  adviseHugePages(text.get(), capacity);
  // The reads fault in the first half themselves, a helper the second.
  faultInBackground(text.get() + capacity / 2, capacity - capacity / 2);
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
void loadFile(const std::string &filename) {
  const int fd = open(filename.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw AlichainError("Error: Unable to input file " + filename + "\n");
  struct stat st {};
  const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (!readAll(fd, regular ? static_cast<size_t>(st.st_size) : 65536)) {
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
size_t endOfLine(size_t begin) {
  const char *base = input.text.get();
  const void *lineBreak = std::memchr(base + begin, '\n', input.textSize - begin);
  return static_cast<size_t>(static_cast<const char *>(lineBreak) - base) + 1;
}

// Takes the values of an alignment line (line number lineNumber) into
// `ali`, or refuses the line.
void takeAlignment(const std::string &filename, size_t lineNumber, const ALIGNMENT_FIELDS &f,
                   int values) {
  if (values < 8)
    throw AlichainError("Error: Alignment file " + filename + " not in proper format (line " +
                        std::to_string(lineNumber) + ")\n");
  if (const char *why = alignmentFault(f)) refuseLine(filename, lineNumber, why);
  const int64_t score = scaleScore(f.score);
  ali.push_back(ALI{f.xb, f.yb, f.xe, f.ye, score, UINT64_MAX});
  input.readScore.push_back(score);
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
void reserveTables(const char *text, size_t size) {
  const size_t lines = countLineBreaks(text, size);
  const size_t expected = std::min(lines, size / 22 + 1);
  ali.reserve(expected);
  input.readScore.reserve(expected);
  input.alignmentLines.reserve(expected);
  adviseHugePages(ali.data(), expected * sizeof(ALI));
  adviseHugePages(input.readScore.data(), expected * sizeof(int64_t));
  adviseHugePages(input.alignmentLines.data(), expected * sizeof(size_t));
  faultInBackground(ali.data(), expected * sizeof(ALI));
  faultInBackground(input.readScore.data(), expected * sizeof(int64_t));
  faultInBackground(input.alignmentLines.data(), expected * sizeof(size_t));
}

// Walks the lines once: takes alignment lines, and remembers where they
// and the comment and sequence lines stand, for the report.
void parseInput(const std::string &filename) {
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
  reserveTables(base, size);
  for (size_t begin = 0; begin < size;) {
    const size_t end = endOfLine(begin);
    ++lineNumber;
    if (nextSequence < begin) nextSequence = findSequence(begin);
    const char *line = base + begin;
    if (*line == '#' || nextSequence < end) input.copiedLines.push_back({begin, end});
    ALIGNMENT_FIELDS f{};
    const int values = *line == '#' ? 0 : scanAlignmentFields(line, base + end - 1, f);
    if (values >= 3 && isAlignmentFeature(f)) {
      takeAlignment(filename, lineNumber, f, values);
      input.alignmentLines.push_back(begin);
    }
    begin = end;
  }
}

// Whether this thread's table has the second sequence mirrored.
thread_local bool mirrored = false;

// Mirrors the second sequence (an involution) and restores the as-read
// scores, so the table can serve the other pass without rereading. A thread
// other than the reader's starts from the parsed table's coordinates (not
// its scores, which the other pass is changing).
void setOrientation(int opt_r) {
  const bool mirror = opt_r != 0;
  const std::vector<ALI> &source = *input.parsed;
  if (&source != &ali) {
    ali.clear();
    ali.reserve(source.size());
    adviseHugePages(ali.data(), source.size() * sizeof(ALI));
    for (const ALI &s : source) ali.push_back(ALI{s.xb, s.yb, s.xe, s.ye, 0, 0});
    mirrored = false;
  }
  for (size_t i = 0; i < ali.size(); ++i) {
    ALI &a = ali[i];
    if (mirror != mirrored) {
      const int64_t yb = a.yb;
      a.yb = -a.ye;
      a.ye = -yb;
    }
    a.score = input.readScore[i];
    a.pred = UINT64_MAX;
  }
  mirrored = mirror;
}

}  // namespace

LINESPAN alignmentSpan(uint64_t alinr) {
  const char *base = input.text.get();
  const std::vector<size_t> &lines = input.alignmentLines;
  const size_t limit = alinr + 1 < lines.size() ? lines[alinr + 1] : input.textSize;
  LINESPAN span{lines[alinr], endOfLine(lines[alinr])};
  while (span.end < limit) {
    const size_t next = endOfLine(span.end);
    if (!memmem(base + span.end, next - span.end, "fragment", 8)) break;
    span.end = next;
  }
  return span;
}

uint64_t readAlignments(const std::string &filename, int opt_r) {
  if (!input.loaded) {
    loadFile(filename);
    parseInput(filename);
    input.loaded = true;
    input.parsed = &ali;
    mirrored = false;
    // As parsed, the table is already in the forward orientation with the
    // as-read scores; another walk over it would only cost time.
    if (opt_r == 0) return ali.size();
  }
  setOrientation(opt_r);
  return ali.size();
}
