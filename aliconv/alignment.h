// One alignment as every input format's reader hands it over: both
// sequences' names, 1-based inclusive coordinates with begin <= end on the
// forward strand of each, the strand ('-': the second sequence runs
// backwards while the first runs forwards), the ingredients of each score
// kind, and optionally the gap-free blocks.
#ifndef ALICONV_ALIGNMENT_H
#define ALICONV_ALIGNMENT_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace aliconv {

// A gap-free block: `length` positions from x in the first sequence, paired
// with the positions from y (the lowest forward coordinate) in the second;
// on the minus strand x rising meets y falling.
struct Block {
  uint64_t x = 0, y = 0, length = 0;
};

struct Alignment {
  std::string_view xName, yName;  // valid for the duration of the callback
  uint64_t xLength = 0, yLength = 0;  // 0: the format does not state it
  uint64_t xb = 0, xe = 0, yb = 0, ye = 0;
  char strand = '+';
  std::string_view alignerScore;  // empty: the record has none
  // Identity as a fraction; a denominator of 0: the record states none.
  uint64_t identityNumerator = 0, identityDenominator = 0;
  uint64_t record = 0;        // the record's number in the input, from 1
  uint64_t lineNumber = 0;    // where the record starts (BAM: its record number)
  std::vector<Block> blocks;  // filled when the reader was asked for them
};

// Records the gap-free blocks of an alignment as a walk along it: x always
// rises, y rises on the plus strand and falls on the minus strand. Adjacent
// aligned columns, mismatches included, make one block. A step longer than
// what is left of the alignment in either sequence is not taken and marks
// the walk as overrun: lengths that wrap around 64 bits could otherwise
// walk back to the right end.
class BlockWalker {
 public:
  // Starts at the alignment's first column: (xb, yb), or (xb, ye) on the
  // minus strand.
  BlockWalker(std::vector<Block> &blocks, const Alignment &alignment);
  void aligned(uint64_t n);
  void xOnly(uint64_t n);
  void yOnly(uint64_t n);
  // The first-sequence positions not yet walked.
  uint64_t xLeft() const { return xLeft_; }
  bool overrun() const { return overrun_; }
  // Whether the walk covered the alignment exactly: no step beyond it and
  // no position of either sequence left.
  bool complete() const { return !overrun_ && xLeft_ == 0 && yLeft_ == 0; }
  const std::vector<Block> &blocks() const { return *blocks_; }

 private:
  std::vector<Block> *blocks_;
  uint64_t x_, y_;  // the next column's positions
  uint64_t xLeft_, yLeft_;
  bool minus_;
  bool run_ = false;  // whether the last block may still grow
  bool overrun_ = false;
};

}  // namespace aliconv

#endif
