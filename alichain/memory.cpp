#include "alichain.h"

#include <sys/mman.h>
#include <unistd.h>

void adviseHugePages(const void *p, size_t bytes) {
  constexpr size_t HUGE_PAGE = size_t{2} << 20;
  if (bytes < 2 * HUGE_PAGE) return;
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto first = (reinterpret_cast<uintptr_t>(p) + page - 1) & ~(page - 1);
  const auto last = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(page - 1);
  // Only advice: where the kernel declines, small pages serve as before.
  madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
}
