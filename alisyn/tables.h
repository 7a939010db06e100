// The tab-separated outputs: the blocks table and the query assignments.
#ifndef ALISYN_TABLES_H
#define ALISYN_TABLES_H

#include "alignment_set.h"
#include "classify.h"

#include <cstdio>
#include <string>

namespace alisyn {

// The identity of the alignments MEMBERS in percent with two decimals,
// weighted by reference bases; "" when there are none or one states none.
std::string identityPercent(const AlignmentSet &set, const std::vector<uint32_t> &members);
// One header line, then per block: id (from 1, in the order given), reference,
// start, end, query, start, end, strand, class, alignments, score, reference
// bases aligned, identity in percent (empty when an alignment states none).
void writeBlocksTable(std::FILE *out, const AlignmentSet &set, const std::vector<Block> &blocks,
                      const std::vector<BlockClass> &classes);
// One header line, then per assigned query: query, its length (empty when
// unknown), reference, orientation, query bases aligned, of those to the
// reference, their share, and the share of those on the orientation's strand.
void writeAssignments(std::FILE *out, const AlignmentSet &set, const std::vector<Assignment> &assignments);

}  // namespace alisyn

#endif
