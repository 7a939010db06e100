// The positions of each sequence that intervals added so far cover, kept
// as disjoint sorted runs, to tell how many bases of a new interval are
// already covered.
#ifndef ALISYN_COVERAGE_H
#define ALISYN_COVERAGE_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace alisyn {

class Coverage {
 public:
  explicit Coverage(size_t sequences) : runs_(sequences) {}
  // The positions of [b, e] on the sequence already covered.
  uint64_t covered(uint32_t sequence, uint64_t b, uint64_t e) const;
  void add(uint32_t sequence, uint64_t b, uint64_t e);

 private:
  std::vector<std::map<uint64_t, uint64_t>> runs_;  // per sequence: begin -> end, disjoint, not touching
};

}  // namespace alisyn

#endif
