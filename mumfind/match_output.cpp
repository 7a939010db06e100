#include "match_output.h"

#include <algorithm>
#include <cinttypes>

#include "alignment_file.h"

namespace mumfind {

uint64_t PairResult::minusCount() const {
  return static_cast<uint64_t>(
      std::count_if(matches.begin(), matches.end(), [](const PairMatch &m) { return m.strand == '-'; }));
}

void writeAlignments(std::FILE *out, const PairResult &pair) {
  common::AlignmentWriter writer(out);
  writer.sequencePair(pair.reference->name, uint64_t(pair.reference->length), pair.query->name,
                      uint64_t(pair.query->length), "mumfind");
  common::AlignmentRecord record;
  record.name = pair.reference->name;
  record.source = "mumfind";
  uint64_t number = 0;
  for (const PairMatch &m : pair.matches) {
    record.xb = uint64_t(m.refBegin);
    record.xe = uint64_t(m.refBegin + m.length - 1);
    record.yb = uint64_t(m.queryBegin);
    record.ye = uint64_t(m.queryBegin + m.length - 1);
    record.score = std::to_string(m.length);
    record.strand = m.strand;
    record.attributes = "match " + std::to_string(++number);
    writer.alignment(record);
  }
}

void writeTable(std::FILE *out, const PairResult &pair) {
  for (const PairMatch &m : pair.matches) {
    int64_t queryStart = m.strand == '+' ? m.queryBegin : m.queryBegin + m.length - 1;
    std::fprintf(out, "%s\t%s\t%c\t%" PRId64 "\t%" PRId64 "\t%" PRId64 "\n",
                 pair.reference->name.c_str(), pair.query->name.c_str(), m.strand, m.refBegin,
                 queryStart, m.length);
  }
}

}  // namespace mumfind
