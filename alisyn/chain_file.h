// The blocks as a chain file, the format that coordinate lift-over tools
// read: per block a header line "chain score tName tSize tStrand tStart
// tEnd qName qSize qStrand qStart qEnd id" (0-based, half-open; on the
// minus strand the query's interval counts on its reverse complement),
// then "size dt dq" per gap-free piece and "size" for the last, from the
// gap-free pieces of the block's alignments in chain order. Where two
// alignments overlap, the later one's piece loses its overlapping start, so
// every base is lifted by one piece.
#ifndef ALISYN_CHAIN_FILE_H
#define ALISYN_CHAIN_FILE_H

#include "alignment_set.h"

#include <cstdio>
#include <map>
#include <string>

namespace alisyn {

// The gap-free pieces of alignments, by piece index.
using Fragments = std::map<uint32_t, std::vector<aliconv::Block>>;

// Why no chain file can be written for the blocks ("" when one can): a
// sequence whose length the input does not state, or an alignment whose
// gap-free pieces it does not give.
std::string chainFileObstacle(const AlignmentSet &set, const std::vector<Block> &blocks,
                              const Fragments &fragments);
void writeChainFile(std::FILE *out, const AlignmentSet &set, const std::vector<Block> &blocks,
                    const Fragments &fragments);

}  // namespace alisyn

#endif
