// The search of every query strand of a run against the reference index,
// several strands at once, and the matches sorted out into sequence pairs.
#ifndef MUMFIND_STRAND_SEARCH_H
#define MUMFIND_STRAND_SEARCH_H

#include <vector>

#include "match_finder.h"
#include "match_output.h"
#include "reference_index.h"

namespace mumfind {

struct SearchSettings {
  MatchKind kind;
  int minLength;
  bool bothStrands;  // the reverse complement of each query too
  int threads;       // strands searched at once, >= 1
};

// Searches each of `queries` (and its reverse complement with bothStrands)
// against the whole index, then returns one result per pair of `references`
// (sequences of the index) and `queries`, reference-major. Within a pair:
// the forward strand's matches, then the reverse strand's, each ordered by
// query position. Throws what a search throws (out of memory).
std::vector<PairResult> searchPairs(const ReferenceIndex &index,
                                    const std::vector<const Sequence *> &references,
                                    const std::vector<const Sequence *> &queries,
                                    const SearchSettings &settings);

}  // namespace mumfind

#endif
