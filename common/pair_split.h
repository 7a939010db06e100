// One alignment file per sequence pair in a folder, with an index of them:
// DIR/pairs.tsv, one row per pair (file, reference, query, their lengths,
// alignments, minus-strand alignments).
#ifndef COMMON_PAIR_SPLIT_H
#define COMMON_PAIR_SPLIT_H

#include <cstdint>
#include <string>
#include <vector>

namespace common {

struct PairEntry {
  std::string file;  // the pair's file name within the folder
  std::string reference, query;
  uint64_t referenceLength = 0, queryLength = 0;
  uint64_t alignments = 0, minusAlignments = 0;
};

// The file name of a pair: REF-vs-QUERY.gff with every byte but letters,
// digits, '_' and '.' (but a leading one) written as
// %XX, so that different pairs never share a
// name and no name leaves the folder; a name too long for a file system is
// cut and made unique with a hash of the whole.
std::string pairFileName(const std::string &reference, const std::string &query);

// Creates the folder (one level) unless it exists; throws ToolError.
void makeFolder(const std::string &dir);

// Writes DIR/pairs.tsv, replacing an existing index only when complete.
void writePairIndex(const std::string &dir, const std::vector<PairEntry> &pairs);

}  // namespace common

#endif
