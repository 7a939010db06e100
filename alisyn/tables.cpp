#include "tables.h"

namespace alisyn {

namespace {

unsigned long long ull(uint64_t v) { return static_cast<unsigned long long>(v); }

}  // namespace

std::string identityPercent(const AlignmentSet &set, const std::vector<uint32_t> &members) {
  double same = 0, bases = 0;
  for (const uint32_t m : members) {
    if (set.identity[m] < 0) return "";
    const double length = static_cast<double>(set.pieces[m].xe - set.pieces[m].xb + 1);
    same += length * set.identity[m];
    bases += length;
  }
  if (members.empty()) return "";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", 100 * same / bases);
  return text;
}

void writeBlocksTable(std::FILE *out, const AlignmentSet &set, const std::vector<Block> &blocks,
                      const std::vector<BlockClass> &classes) {
  std::fputs("#id\treference\tref_start\tref_end\tquery\tquery_start\tquery_end\tstrand\tclass\t"
             "alignments\tscore\treference_bases\tidentity\n",
             out);
  for (size_t b = 0; b < blocks.size(); ++b) {
    const Piece &first = set.pieces[blocks[b].members.front()];
    const Span s = spanOf(blocks[b], set.pieces);
    std::fprintf(out, "%zu\t%s\t%llu\t%llu\t%s\t%llu\t%llu\t%c\t%s\t%zu\t%.15g\t%llu\t%s\n", b + 1,
                 set.references.names[first.reference].c_str(), ull(s.xb), ull(s.xe),
                 set.queries.names[first.query].c_str(), ull(s.yb), ull(s.ye), first.strand,
                 className(classes[b]), blocks[b].members.size(), blocks[b].score,
                 ull(referenceBases(blocks[b], set.pieces)), identityPercent(set, blocks[b].members).c_str());
  }
}

void writeAssignments(std::FILE *out, const AlignmentSet &set, const std::vector<Assignment> &assignments) {
  std::fputs("#query\tquery_length\treference\torientation\taligned_bases\tbases_to_reference\t"
             "reference_share\torientation_share\n",
             out);
  for (const Assignment &a : assignments) {
    const uint64_t length = set.queries.lengths[a.query];
    std::fprintf(out, "%s\t%s\t%s\t%c\t%llu\t%llu\t%.4f\t%.4f\n", set.queries.names[a.query].c_str(),
                 length ? std::to_string(length).c_str() : "", set.references.names[a.reference].c_str(),
                 a.strand, ull(a.aligned), ull(a.toReference),
                 static_cast<double>(a.toReference) / static_cast<double>(a.aligned),
                 static_cast<double>(a.onStrand) / static_cast<double>(a.toReference));
  }
}

}  // namespace alisyn
