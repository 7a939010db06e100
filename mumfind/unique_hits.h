// For each reference position, the longest match of the query that starts
// there and whether another query position matches there as long: what
// decides whether a match unique in the reference is unique in the query.
#ifndef MUMFIND_UNIQUE_HITS_H
#define MUMFIND_UNIQUE_HITS_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mumfind {

class UniqueHits {
 public:
  explicit UniqueHits(int referenceLength) : best_(static_cast<std::size_t>(referenceLength), 0) {}

  // A query position whose longest match, `length` characters, occurs only
  // at reference position `ref`.
  void add(int ref, int length);
  // Whether the query has no other position matching `length` or more
  // characters at `ref` (one add of (ref, length) given).
  bool alone(int ref, int length) const { return best_[static_cast<std::size_t>(ref)] == code(length, false); }
  // Forgets every add, in time proportional to the adds when few.
  void clear();

 private:
  // The longest length shifted left once, the low bit set when two query
  // positions reach it.
  static uint32_t code(int length, bool tie) { return static_cast<uint32_t>(length) << 1 | tie; }

  std::vector<uint32_t> best_;
  // Positions set since the last clear, while fewer than a sixteenth of
  // the reference: beyond that clearing all is as cheap.
  std::vector<int> touched_;
  bool touchedAll_ = false;
};

}  // namespace mumfind

#endif
