// The positions of each sequence that intervals added so far cover, kept
// as disjoint sorted runs, to tell how many bases of a new interval are
// already covered.
#ifndef ALISYN_COVERAGE_H
#define ALISYN_COVERAGE_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace alisyn {

class Coverage {
 public:
  explicit Coverage(size_t sequences) : runs_(sequences) {}
  // The positions of [b, e] on the sequence already covered.
  uint64_t covered(uint32_t sequence, uint64_t b, uint64_t e) const;
  void add(uint32_t sequence, uint64_t b, uint64_t e);

 private:
  struct Run {
    uint64_t b, e;
  };
  // The runs of one sequence (disjoint, not touching, in order) in chunks
  // of a few hundred: a look-up reads two short arrays instead of a path of
  // tree nodes all over memory, and an insertion moves one chunk's tail.
  struct Runs {
    std::vector<std::vector<Run>> chunks;  // none empty
    std::vector<uint64_t> firsts;          // the begin of each chunk's first run
  };
  // Where the last run that begins at or before b would be: its chunk, and
  // the place after it in that chunk (0: no such run).
  static std::pair<size_t, size_t> locate(const Runs &runs, uint64_t b);
  static void split(Runs &runs, size_t chunk);

  std::vector<Runs> runs_;
};

}  // namespace alisyn

#endif
