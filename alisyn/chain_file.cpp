#include "chain_file.h"

#include <algorithm>
#include <cmath>

namespace alisyn {

namespace {

unsigned long long ull(uint64_t v) { return static_cast<unsigned long long>(v); }

// A gap-free piece in the chain file's coordinates: 0-based starts in the
// reference and in the query's strand.
struct Ungapped {
  uint64_t t, q, size;
};

std::vector<Ungapped> ungappedPieces(const AlignmentSet &set, const Block &block, const Fragments &fragments) {
  std::vector<Ungapped> out;
  uint64_t tReach = 0, qReach = 0;  // the ends (exclusive) of the pieces so far
  for (const uint32_t m : block.members) {
    const Piece &p = set.pieces[m];
    const uint64_t qSize = set.queries.lengths[p.query];
    for (const aliconv::Block &f : fragments.at(m)) {
      Ungapped u{f.x - 1, p.strand == '-' ? qSize - (f.y + f.length - 1) : f.y - 1, f.length};
      if (!out.empty()) {
        const uint64_t cut = std::max(tReach > u.t ? tReach - u.t : uint64_t{0}, qReach > u.q ? qReach - u.q : uint64_t{0});
        if (cut >= u.size) continue;
        u.t += cut, u.q += cut, u.size -= cut;
      }
      out.push_back(u);
      tReach = u.t + u.size;
      qReach = u.q + u.size;
    }
  }
  return out;
}

}  // namespace

std::string chainFileObstacle(const AlignmentSet &set, const std::vector<Block> &blocks,
                              const Fragments &fragments) {
  for (const Block &block : blocks)
    for (const uint32_t m : block.members) {
      const Piece &p = set.pieces[m];
      if (!set.references.lengths[p.reference] || !set.queries.lengths[p.query])
        return "the input does not state the length of " +
               (set.references.lengths[p.reference] ? set.queries.names[p.query]
                                                    : set.references.names[p.reference]);
      const auto at = fragments.find(m);
      if (at == fragments.end() || at->second.empty())
        return "the input gives no gap-free pieces (CIGAR, cs tag, delta indels or MAF rows) for "
               "record " + std::to_string(set.records[m]);
    }
  return "";
}

void writeChainFile(std::FILE *out, const AlignmentSet &set, const std::vector<Block> &blocks,
                    const Fragments &fragments) {
  for (size_t b = 0; b < blocks.size(); ++b) {
    const std::vector<Ungapped> pieces = ungappedPieces(set, blocks[b], fragments);
    const Piece &first = set.pieces[blocks[b].members.front()];
    const Ungapped &last = pieces.back();
    std::fprintf(out, "chain %lld %s %llu + %llu %llu %s %llu %c %llu %llu %zu\n",
                 static_cast<long long>(std::llround(blocks[b].score)),
                 set.references.names[first.reference].c_str(), ull(set.references.lengths[first.reference]),
                 ull(pieces.front().t), ull(last.t + last.size), set.queries.names[first.query].c_str(),
                 ull(set.queries.lengths[first.query]), first.strand, ull(pieces.front().q),
                 ull(last.q + last.size), b + 1);
    for (size_t k = 0; k + 1 < pieces.size(); ++k)
      std::fprintf(out, "%llu\t%llu\t%llu\n", ull(pieces[k].size),
                   ull(pieces[k + 1].t - pieces[k].t - pieces[k].size),
                   ull(pieces[k + 1].q - pieces[k].q - pieces[k].size));
    std::fprintf(out, "%llu\n\n", ull(last.size));
  }
}

}  // namespace alisyn
