// Neighbour count of the candidate list.
#ifndef SMOOTH_NEIGHBOURS_H
#define SMOOTH_NEIGHBOURS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "smooth.h"

// For each of the num1 candidates of input, in list order, the number of
// other candidates (by place in the list, so equal positions count) whose
// position differs from its own by at most winsize; all zero when winsize
// is negative. O(n log n). Throws bad_alloc when memory runs out.
std::vector<uint32_t> count_neighbours(const LINE *input, size_t num1, int winsize);

#endif
