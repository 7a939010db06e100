#include "summary.h"


namespace alisyn {

namespace {

struct Covered {
  uint64_t bases = 0, length = 0;
  bool lengthsKnown = true;
};

Covered coveredOf(const AlignmentSet &set, const std::vector<Block> &blocks, bool reference) {
  const Sequences &side = reference ? set.references : set.queries;
  std::vector<std::vector<std::pair<uint64_t, uint64_t>>> intervals(side.names.size());
  for (const Block &b : blocks)
    for (const uint32_t m : b.members) {
      const Piece &p = set.pieces[m];
      intervals[reference ? p.reference : p.query].emplace_back(reference ? p.xb : p.yb, reference ? p.xe : p.ye);
    }
  Covered c;
  for (size_t s = 0; s < intervals.size(); ++s) {
    c.bases += unionLength(std::move(intervals[s]));
    c.length += side.lengths[s];
    c.lengthsKnown = c.lengthsKnown && side.lengths[s] != 0;
  }
  return c;
}

void writeCovered(std::FILE *out, const char *what, const Covered &c) {
  std::fprintf(out, "alisyn: %s bases covered: %llu", what, static_cast<unsigned long long>(c.bases));
  if (c.lengthsKnown && c.length)
    std::fprintf(out, " (%.2f%% of %llu)", 100.0 * static_cast<double>(c.bases) / static_cast<double>(c.length),
                 static_cast<unsigned long long>(c.length));
  std::fputc('\n', out);
}

}  // namespace

void writeSummary(std::FILE *out, const RunFacts &facts, const AlignmentSet &set, const std::vector<Block> &blocks,
                  const std::vector<BlockClass> &classes) {
  std::fprintf(out, "alisyn: %s (%s): %zu sequence pairs, %zu alignments read, %zu kept\n", facts.inputName.c_str(),
               aliconv::formatName(set.conversion.format), facts.pairs, set.pieces.size(), facts.keptAlignments);
  size_t counts[4] = {0, 0, 0, 0};
  for (const BlockClass c : classes) ++counts[static_cast<int>(c)];
  std::fprintf(out, "alisyn: %zu blocks: %zu syntenic, %zu inverted, %zu translocated, %zu duplicated\n",
               blocks.size(), counts[0], counts[1], counts[2], counts[3]);
  writeCovered(out, "reference", coveredOf(set, blocks, true));
  writeCovered(out, "query", coveredOf(set, blocks, false));
  if (!facts.chainFileNote.empty()) std::fprintf(out, "alisyn: no chain file: %s\n", facts.chainFileNote.c_str());
}

}  // namespace alisyn
