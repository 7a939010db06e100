// The summary of a run for standard error.
#ifndef ALISYN_SUMMARY_H
#define ALISYN_SUMMARY_H

#include "alignment_set.h"
#include "classify.h"

#include <cstdio>
#include <string>

namespace alisyn {

struct RunFacts {
  std::string inputName;
  size_t pairs = 0;
  size_t keptAlignments = 0;
  std::string chainFileNote;  // why no chain file was written, or ""
};

// Pairs, alignments read and kept, blocks by class, and the reference and
// query bases the kept alignments cover (each counted once), with their
// share of the sequences' lengths where the input states them all.
void writeSummary(std::FILE *out, const RunFacts &facts, const AlignmentSet &set, const std::vector<Block> &blocks,
                  const std::vector<BlockClass> &classes);

}  // namespace alisyn

#endif
