// The filters that keep each region's best alignments: blocks are taken in
// decreasing score, and each of their alignments is kept when the bases it
// covers in the reference, the query or both overlap those of the
// alignments kept before it by at most the overlap tolerance, and by fewer
// than half of its own bases.
#ifndef ALISYN_FILTER_H
#define ALISYN_FILTER_H

#include "piece.h"

#include <string_view>

namespace alisyn {

enum class FilterMode { NONE, REFERENCE, QUERY, ONE_TO_ONE };

bool filterModeFromName(std::string_view name, FilterMode &mode);
const char *filterModeName(FilterMode mode);

// Chains (in any order) are taken in decreasing score, of equal ones the
// first in `chains`; members in chain order. Each chain then becomes a
// block of its kept alignments, split where two consecutive ones may no
// longer precede each other; chains with nothing kept vanish. Returns the
// blocks, in the order of the chains they come from.
std::vector<Block> filterBlocks(const std::vector<Piece> &pieces, const ChainList &chains, FilterMode mode,
                                const ChainSettings &settings, size_t references, size_t queries);

}  // namespace alisyn

#endif
