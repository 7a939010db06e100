// The records the synteny core works on: alignments reduced to what
// chaining, filtering and classification need, and the blocks made of them.
// Sequences are numbered in order of first appearance in the input, so that
// every tie broken by "first in the input" is a comparison of numbers.
#ifndef ALISYN_PIECE_H
#define ALISYN_PIECE_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace alisyn {

// An alignment: 1-based inclusive intervals on the forward strand of each
// sequence, begin <= end; on '-' the query runs backwards while the
// reference runs forwards. Its index in the vector that holds it is its
// place in the input, the last tie-breaker everywhere.
struct Piece {
  uint32_t reference = 0, query = 0;
  uint64_t xb = 0, xe = 0, yb = 0, ye = 0;
  char strand = '+';
  double score = 0;
};

struct ChainSettings {
  uint64_t maxOverlap = 0;  // bases two consecutive alignments may share in each sequence
  uint64_t maxGap = 0;      // bases between consecutive alignments in each sequence
  double minScore = 0;      // chains scoring less are dropped
  uint64_t minLength = 0;   // chains covering fewer reference bases are dropped
};

// A chain of alignments (indices into the pieces, in chain order: rising
// along the reference) and its score, the sum of its members' scores.
struct Block {
  std::vector<uint32_t> members;
  double score = 0;
};

// Chains one after another, as they are taken and as the filter reads
// them: chain c is members[starts[c], starts[c + 1]) with score scores[c].
// Flat, because most chains are a single alignment: a list of its own for
// each would cost an allocation apiece, and a look far away in memory.
struct ChainList {
  std::vector<uint32_t> members;
  std::vector<size_t> starts{0};
  std::vector<double> scores;

  size_t size() const { return scores.size(); }
  const uint32_t *begin(size_t c) const { return members.data() + starts[c]; }
  const uint32_t *end(size_t c) const { return members.data() + starts[c + 1]; }
  void add(const uint32_t *first, const uint32_t *last, double score) {
    members.insert(members.end(), first, last);
    starts.push_back(members.size());
    scores.push_back(score);
  }
};

// The extent of a block: the smallest and largest positions its members
// cover in each sequence.
struct Span {
  uint64_t xb, xe, yb, ye;
};
Span spanOf(const Block &block, const std::vector<Piece> &pieces);

// Puts blocks in the order of the output: by reference (first in the input
// first), reference start, query, query start, strand ('+' first), and
// then first member in the input.
void sortBlocks(std::vector<Block> &blocks, const std::vector<Piece> &pieces);

// The indices of `values` in decreasing value, of equal values the lower
// index first: the order in which chains and blocks are taken.
std::vector<uint32_t> decreasingOrder(const std::vector<double> &values);

// The bases of [b, e] counted once over a set of intervals given in any
// order: the length of their union.
uint64_t unionLength(std::vector<std::pair<uint64_t, uint64_t>> intervals);
// The reference (or query) bases a block covers, each counted once.
uint64_t referenceBases(const Block &block, const std::vector<Piece> &pieces);
uint64_t queryBases(const Block &block, const std::vector<Piece> &pieces);

}  // namespace alisyn

#endif
