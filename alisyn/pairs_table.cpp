#include "pairs_table.h"

#include "tables.h"

#include <map>
#include <string>

namespace alisyn {

namespace {

using Intervals = std::vector<std::pair<uint64_t, uint64_t>>;

struct PairFigures {
  uint32_t reference = 0, query = 0;
  size_t alignments = 0;
  size_t classes[4] = {0, 0, 0, 0};
  std::vector<uint32_t> kept;  // the pair's kept pieces
  Intervals referenceSpans, querySpans;
};

// The input's pairs in order of first appearance, with their alignments read;
// INDEX maps a (reference, query) to its place.
std::vector<PairFigures> pairsOf(const AlignmentSet &set, std::map<std::pair<uint32_t, uint32_t>, size_t> &index) {
  std::vector<PairFigures> pairs;
  // Alignments of one pair mostly follow one another: each run of them is
  // looked up once.
  const Piece *last = nullptr;
  size_t pair = 0;
  for (const Piece &p : set.pieces) {
    if (!last || p.reference != last->reference || p.query != last->query) {
      const auto [at, added] = index.emplace(std::make_pair(p.reference, p.query), pairs.size());
      if (added) {
        pairs.emplace_back();
        pairs.back().reference = p.reference;
        pairs.back().query = p.query;
      }
      pair = at->second;
    }
    ++pairs[pair].alignments;
    last = &p;
  }
  return pairs;
}

void addBlock(PairFigures &pair, const std::vector<Piece> &pieces, const Block &block, BlockClass c) {
  ++pair.classes[static_cast<int>(c)];
  for (const uint32_t m : block.members) {
    pair.kept.push_back(m);
    pair.referenceSpans.emplace_back(pieces[m].xb, pieces[m].xe);
    pair.querySpans.emplace_back(pieces[m].yb, pieces[m].ye);
  }
}

std::string lengthText(uint64_t length) { return length ? std::to_string(length) : ""; }

}  // namespace

void writePairsTable(std::FILE *out, const AlignmentSet &set, const std::vector<Block> &blocks,
                     const std::vector<BlockClass> &classes) {
  std::map<std::pair<uint32_t, uint32_t>, size_t> index;
  std::vector<PairFigures> pairs = pairsOf(set, index);
  for (size_t b = 0; b < blocks.size(); ++b) {
    const Piece &first = set.pieces[blocks[b].members.front()];
    addBlock(pairs[index.at({first.reference, first.query})], set.pieces, blocks[b], classes[b]);
  }
  std::fputs("#reference\tquery\treference_length\tquery_length\talignments\tkept\tblocks\tsyntenic\tinverted\t"
             "translocated\tduplicated\treference_bases\tquery_bases\tidentity\n",
             out);
  for (PairFigures &pair : pairs) {
    const size_t *c = pair.classes;
    std::fprintf(out, "%s\t%s\t%s\t%s\t%zu\t%zu\t%zu\t%zu\t%zu\t%zu\t%zu\t%llu\t%llu\t%s\n",
                 set.references.names[pair.reference].c_str(), set.queries.names[pair.query].c_str(),
                 lengthText(set.references.lengths[pair.reference]).c_str(),
                 lengthText(set.queries.lengths[pair.query]).c_str(), pair.alignments, pair.kept.size(),
                 c[0] + c[1] + c[2] + c[3], c[0], c[1], c[2], c[3],
                 static_cast<unsigned long long>(unionLength(std::move(pair.referenceSpans))),
                 static_cast<unsigned long long>(unionLength(std::move(pair.querySpans))),
                 identityPercent(set, pair.kept).c_str());
  }
}

}  // namespace alisyn
