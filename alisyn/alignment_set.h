// The alignments of an input as the synteny core sees them, with what the
// outputs need besides: sequence names and lengths, record numbers and
// identities; read once through aliconv's readers.
#ifndef ALISYN_ALIGNMENT_SET_H
#define ALISYN_ALIGNMENT_SET_H

#include "conversion.h"
#include "piece.h"
#include "readers.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace alisyn {

// The sequences of one side (references or queries), numbered in order of
// first appearance.
struct Sequences {
  std::vector<std::string> names;
  std::vector<uint64_t> lengths;  // 0: the input states none
  std::unordered_map<std::string, uint32_t> numbers;
  // The sequence named last, looked at first: aligners write the
  // alignments of one sequence together. UINT32_MAX before any.
  uint32_t last = UINT32_MAX;
};

struct AlignmentSet {
  Sequences references, queries;
  std::vector<Piece> pieces;
  std::vector<uint64_t> records;  // per piece: its record number in the input
  std::vector<double> identity;   // per piece: a fraction, or -1 when the input states none
  aliconv::Conversion conversion;  // the format and the score kind settled
};

// Reads every alignment of the input; with `checkBlocks` their gap-free
// blocks are read as well, so that a later reading may parse only the
// records it keeps; `threads` - 1 threads parse beside the reading.
// Throws ToolError naming file and line for bad input, and for a sequence
// whose stated length changes.
AlignmentSet readAlignments(aliconv::Input &input, aliconv::ScoreKind score, bool checkBlocks, int threads);

}  // namespace alisyn

#endif
