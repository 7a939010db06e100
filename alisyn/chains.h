// Chains of alignments per reference, query and strand: the best chain
// ending at each alignment, then every chain, greedily.
#ifndef ALISYN_CHAINS_H
#define ALISYN_CHAINS_H

#include "piece.h"

#include <vector>

namespace alisyn {

// Whether alignment j may directly precede alignment i in a chain: same
// reference, query and strand; j starts before i and ends before i ends in
// the reference, and in the query on '+' (on '-' i starts and ends before j
// in the query); in each sequence they overlap by at most maxOverlap bases
// or leave a gap of at most maxGap bases.
bool mayPrecede(const Piece &j, const Piece &i, const ChainSettings &settings);

// The best chain ending at each alignment: its score best[i] = score of i
// plus best[previous[i]] when that is positive; previous[i] is the
// alignment that may precede i with the highest best, of equal ones the
// first in the input, or NO_PREVIOUS.
struct ChainEnds {
  std::vector<double> best;
  std::vector<uint32_t> previous;
  static constexpr uint32_t NO_PREVIOUS = UINT32_MAX;
};

// O(n log n) plus O(log n) for each alignment that is passed over because
// it ends inside its successor (possible only where alignments shorter
// than the overlap tolerance pile up). The groups are shared out among
// `threads` threads.
ChainEnds bestChains(const std::vector<Piece> &pieces, const ChainSettings &settings, int threads = 1);

// Every chain: ends are taken in decreasing best (of equal ones the first
// in the input); an end already in a chain is skipped; the chain runs back
// through `previous` until an alignment that an earlier chain took. Chains
// below minScore or covering fewer than minLength reference bases are
// dropped, their alignments staying taken. In the order taken.
ChainList extractChains(const std::vector<Piece> &pieces, const ChainEnds &ends, const ChainSettings &settings);

}  // namespace alisyn

#endif
