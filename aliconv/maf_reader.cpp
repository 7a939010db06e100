// MAF: "#" header lines, then blocks of an "a" line (with score=) and one
// "s" line per sequence, ended by a blank line. An "s" line gives the
// source, a start counting from 0 on the row's own strand (the reverse
// complement for "-"), the size, the strand, the source's length and the
// row's text. The first row is the first sequence, the second the second;
// blocks of more than two rows are refused.
#include "line_input.h"
#include "readers.h"

#include <algorithm>
#include <cctype>

namespace aliconv {

namespace {

struct Row {
  std::string name, text;
  uint64_t start = 0, size = 0, sourceLength = 0;
  char strand = '+';
  // The forward coordinate of the row's own-strand position p (from 0).
  uint64_t forward(uint64_t p) const { return strand == '+' ? p + 1 : sourceLength - p; }
};

struct MafBlock {
  std::string score;
  Row rows[2];
  size_t rowCount = 0;
  uint64_t record = 0, lineNumber = 0;
};

void readRow(std::string_view line, const Place &place, std::vector<std::string_view> &f,
             Row &row) {
  splitFields(line, ' ', f);
  if (f.size() != 7) place.fail("an 's' line has 7 fields");
  if (f[4] != "+" && f[4] != "-") place.fail("the strand is neither + nor -");
  row.name.assign(f[1]);
  row.start = unsignedField(f[2], place, "the start");
  row.size = unsignedField(f[3], place, "the size");
  row.strand = f[4][0];
  row.sourceLength = unsignedField(f[5], place, "the source size");
  row.text.assign(f[6]);
  if (row.size == 0 || row.start > row.sourceLength || row.size > row.sourceLength - row.start)
    place.fail("the row is empty or runs past its source's size");
}

// The alignment of a complete block, its identity over gap-free columns and
// its gap-free blocks, walked along the rows' own strands.
void blockAlignment(const MafBlock &block, const Place &place, bool wantBlocks, Alignment &a) {
  if (block.rowCount != 2) place.fail("a block with other than two 's' lines");
  const Row &x = block.rows[0], &y = block.rows[1];
  if (x.text.size() != y.text.size()) place.fail("the block's rows differ in length");
  uint64_t xAt = x.start, yAt = y.start, same = 0, aligned = 0, run = 0;
  a.blocks.clear();
  auto closeRun = [&] {
    if (run && wantBlocks) {
      const uint64_t xLow = x.strand == '+' ? x.forward(xAt - run) : x.forward(xAt - 1);
      const uint64_t yLow = y.strand == '+' ? y.forward(yAt - run) : y.forward(yAt - 1);
      a.blocks.push_back(Block{xLow, yLow, run});
    }
    run = 0;
  };
  for (size_t i = 0; i < x.text.size(); ++i) {
    const bool inX = x.text[i] != '-', inY = y.text[i] != '-';
    if (inX && inY) {
      ++aligned;
      same += std::toupper(static_cast<unsigned char>(x.text[i])) ==
              std::toupper(static_cast<unsigned char>(y.text[i]));
      ++run;
    } else {
      closeRun();
    }
    xAt += inX;
    yAt += inY;
  }
  closeRun();
  if (xAt - x.start != x.size || yAt - y.start != y.size)
    place.fail("a row's bases do not add up to its size");
  // Walked along a minus first row, the blocks came in falling x.
  if (x.strand == '-') std::reverse(a.blocks.begin(), a.blocks.end());
  a.xName = x.name;
  a.yName = y.name;
  a.xLength = x.sourceLength;
  a.yLength = y.sourceLength;
  a.xb = x.forward(x.strand == '+' ? x.start : x.start + x.size - 1);
  a.xe = a.xb + x.size - 1;
  a.yb = y.forward(y.strand == '+' ? y.start : y.start + y.size - 1);
  a.ye = a.yb + y.size - 1;
  a.strand = x.strand == y.strand ? '+' : '-';
  a.alignerScore = block.score;
  a.identityNumerator = same;
  a.identityDenominator = aligned;
  a.record = block.record;
  a.lineNumber = block.lineNumber;
}

std::string scoreOf(std::string_view line, const Place &place) {
  std::vector<std::string_view> words;
  splitFields(line, ' ', words);
  for (const std::string_view word : words)
    if (startsWith(word, "score=")) {
      if (!isScore(word.substr(6))) place.fail("the block's score is no number");
      return std::string(word.substr(6));
    }
  return {};
}

}  // namespace

void readMaf(common::LineInput &input, RecordSink &sink, const ReadSettings &settings) {
  std::vector<std::string_view> fields;
  MafBlock block;
  Alignment a;
  std::string_view line;
  bool inBlock = false;
  auto finishBlock = [&] {
    if (!inBlock) return;
    inBlock = false;
    blockAlignment(block, Place{input.name(), block.lineNumber}, settings.blocks, a);
    sink.alignment(a);
  };
  while (input.next(line)) {
    const Place place{input.name(), input.lineNumber()};
    if (!line.empty() && line.front() == 'a' && (line.size() == 1 || line[1] == ' ' || line[1] == '\t')) {
      finishBlock();
      inBlock = true;
      block.record += 1;
      block.lineNumber = input.lineNumber();
      block.rowCount = 0;
      block.score = scoreOf(line, place);
    } else if (inBlock && !line.empty() && line.front() == 's') {
      if (block.rowCount == 2) place.fail("a block with more than two 's' lines");
      readRow(line, place, fields, block.rows[block.rowCount++]);
    } else if (!inBlock && !isBlankLine(line) && line.front() != '#') {
      place.fail("a line outside every block that is no '#' comment");
    }
    if (settings.lines) sink.line(line, inBlock ? block.record : 0, inBlock ? LineRole::RECORD : LineRole::OTHER);
    if (isBlankLine(line)) finishBlock();
  }
  finishBlock();
}

}  // namespace aliconv
