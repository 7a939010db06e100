// Which matches unique in the reference are unique in the query too. Each
// query position whose longest match occurs in the reference at one place
// only is added; consecutive positions usually extend one run (the next
// position's match is the same text less its first character). A candidate
// match of `length` characters at reference position r is unique in the
// query when no other added position matches `length` characters or more
// at r.
#ifndef MUMFIND_UNIQUE_IN_QUERY_H
#define MUMFIND_UNIQUE_IN_QUERY_H

#include <cstdint>
#include <vector>

namespace mumfind {

class UniqueInQuery {
 public:
  // Query position q (increasing from call to call) matches its longest
  // match, `length` characters, only at reference position `ref`.
  void add(int64_t q, int64_t ref, int64_t length);

  // Takes the adds of a later part of the same query.
  void append(const UniqueInQuery &later);

  // Of `refs` and `lengths` (candidates, each one of the adds), whether
  // each is unique in the query; in the order given.
  std::vector<bool> alone(const std::vector<int64_t> &refs, const std::vector<int64_t> &lengths) const;

 private:
  // The adds at query positions q .. q + count - 1: reference positions
  // ref .. ref + count - 1, each matching up to reference position end
  // (exclusive), so with lengths end - ref, end - ref - 1, ...
  struct Run {
    int64_t ref, end, count;
  };
  std::vector<Run> runs_;
  int64_t lastQuery_ = -2;
};

}  // namespace mumfind

#endif
