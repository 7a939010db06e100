// The definition of precedence written plainly, and random alignments of a few sequence pairs on both strands, short enough
// to overlap and chain often, with few distinct scores so that ties are common.
#ifndef ALISYN_TESTS_RANDOM_PIECES_H
#define ALISYN_TESTS_RANDOM_PIECES_H

#include "piece.h"

#include <random>

namespace alisyn {

class Random {
 public:
  explicit Random(uint32_t seed) : engine_(seed) {}
  uint64_t below(uint64_t n) { return std::uniform_int_distribution<uint64_t>(0, n - 1)(engine_); }

  std::vector<Piece> pieces(size_t n, uint32_t references, uint32_t queries) {
    std::vector<Piece> out;
    for (size_t k = 0; k < n; ++k) {
      Piece p;
      p.reference = static_cast<uint32_t>(below(references));
      p.query = static_cast<uint32_t>(below(queries));
      p.strand = below(3) == 0 ? '-' : '+';
      p.xb = 1 + below(400);
      p.xe = p.xb + below(below(4) == 0 ? 8 : 60);
      p.yb = 1 + below(400);
      p.ye = p.yb + below(below(4) == 0 ? 8 : 60);
      // Few distinct scores, so that ties are common.
      p.score = below(5) == 0 ? 0.5 * static_cast<double>(below(4)) : static_cast<double>(1 + below(6));
      out.push_back(p);
    }
    return out;
  }

 private:
  std::mt19937 engine_;
};

// The definition of precedence, written out with signed distances.
// Each chain of the list as a block of its own.
inline std::vector<Block> blocksOf(const ChainList &chains) {
  std::vector<Block> blocks;
  for (size_t c = 0; c < chains.size(); ++c)
    blocks.push_back(Block{std::vector<uint32_t>(chains.begin(c), chains.end(c)), chains.scores[c]});
  return blocks;
}

inline bool plainMayPrecede(const Piece &j, const Piece &i, const ChainSettings &s) {
  if (j.reference != i.reference || j.query != i.query || j.strand != i.strand) return false;
  const auto line = [&](int64_t jb, int64_t je, int64_t ib, int64_t ie) {
    if (!(jb < ib && je < ie)) return false;
    const int64_t distance = ib - je - 1;  // a gap when >= 0, an overlap when < 0
    return distance < 0 ? static_cast<uint64_t>(-distance) <= s.maxOverlap
                        : static_cast<uint64_t>(distance) <= s.maxGap;
  };
  const auto v = [](uint64_t x) { return static_cast<int64_t>(x); };
  if (!line(v(j.xb), v(j.xe), v(i.xb), v(i.xe))) return false;
  return j.strand == '+' ? line(v(j.yb), v(j.ye), v(i.yb), v(i.ye)) : line(v(i.yb), v(i.ye), v(j.yb), v(j.ye));
}

}  // namespace alisyn

#endif
