// The rearrangement view: each block's class and each query's reference
// sequence and orientation.
#ifndef ALISYN_CLASSIFY_H
#define ALISYN_CLASSIFY_H

#include "piece.h"

#include <cstddef>

namespace alisyn {

enum class BlockClass { SYNTENIC, INVERTED, TRANSLOCATED, DUPLICATED };
const char *className(BlockClass c);

// A query sequence's reference: the one it shares most query bases with in
// blocks that are not duplicated, and the strand of most of those bases.
struct Assignment {
  uint32_t query = 0, reference = 0;
  char strand = '+';
  uint64_t aligned = 0;     // query bases in the query's blocks, over all references
  uint64_t toReference = 0; // of those, in blocks with the reference
  uint64_t onStrand = 0;    // of those, on the strand
};

struct Classification {
  std::vector<BlockClass> classes;      // per block
  std::vector<Assignment> assignments;  // per query with a block that is not duplicated, by query number
};

// Blocks are ranked by decreasing score, of equal ones by their place in
// `blocks`. A block is duplicated when more than half of its query bases,
// or of its reference bases, lie in alignments of blocks ranked before it.
// Of the other blocks of a query and its reference, the heaviest chain (in
// query bases) of blocks on the main strand, taken as alignments of their
// extent that chain by mayPrecede with the tolerance and no gap limit, is
// syntenic; a block on the other strand that, turned to the main strand,
// may come between two consecutive alignments of the syntenic blocks is
// inverted; every other block, on any reference, is translocated.
Classification classify(const std::vector<Piece> &pieces, const std::vector<Block> &blocks,
                        size_t references, size_t queries, uint64_t tolerance);

}  // namespace alisyn

#endif
