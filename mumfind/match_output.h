// mumfind's outputs: the alignment file that the chainer reads, or a table.
#ifndef MUMFIND_MATCH_OUTPUT_H
#define MUMFIND_MATCH_OUTPUT_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "sequences.h"

namespace mumfind {

// A match in the coordinates of the output: 1-based, `queryBegin` the lower
// end of the match on the query's forward strand, whatever the strand.
struct PairMatch {
  int64_t refBegin, queryBegin, length;
  char strand;  // '+', or '-' for a match of the query's reverse complement
};

struct PairResult {
  const Sequence *reference, *query;
  std::vector<PairMatch> matches;
  uint64_t minusCount() const;
};

// One `sequence:sequence` line and one alignment line per match, scored by
// its length.
void writeAlignments(std::FILE *out, const PairResult &pair);

// One tab-separated line per match: reference, query, strand, reference
// start, query start, length. A '-' match starts, on the forward strand,
// at its highest query position and runs down from there.
void writeTable(std::FILE *out, const PairResult &pair);

}  // namespace mumfind

#endif
