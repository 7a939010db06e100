// Test helper: makes chosen allocations of the library fail and records
// the sizes it asked for.
#ifndef LUMO_TESTS_FAILING_ALLOC_H
#define LUMO_TESTS_FAILING_ALLOC_H

#include <cstddef>
#include <vector>

// While an instance lives, the library's allocations go through it: the
// calls numbered in `failing` (counted from 1) return null, the others are
// served by realloc. The library's own allocator is back afterwards.
class FailingAlloc {
 public:
  explicit FailingAlloc(std::vector<int> failing = {});
  ~FailingAlloc();
  FailingAlloc(const FailingAlloc &) = delete;
  FailingAlloc &operator=(const FailingAlloc &) = delete;

  // Bytes asked for by each call so far, failed ones included.
  const std::vector<std::size_t> &requests() const;
};

#endif  // LUMO_TESTS_FAILING_ALLOC_H
