#include "alichain.h"

#include <algorithm>
#include <atomic>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr size_t HUGE_PAGE = size_t{2} << 20;

uintptr_t pageSize() { return static_cast<uintptr_t>(sysconf(_SC_PAGESIZE)); }

void populateForWriting(uintptr_t at, size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  madvise(reinterpret_cast<void *>(at), bytes, MADV_POPULATE_WRITE);
#else
  (void)at;
  (void)bytes;
#endif
}

std::vector<std::thread> helpers;
// Set when the run no longer needs the helpers' work.
std::atomic<bool> stopFaulting{false};

}  // namespace

void adviseHugePages(const void *p, size_t bytes) {
  if (bytes < 2 * HUGE_PAGE) return;
  const uintptr_t page = pageSize();
  const auto first = (reinterpret_cast<uintptr_t>(p) + page - 1) & ~(page - 1);
  const auto last = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(page - 1);
  // Only advice: where the kernel declines, small pages serve as before.
  madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
}

void faultInBackground(void *p, size_t bytes) {
  // Small arrays are not worth a thread.
  if (bytes < 2 * HUGE_PAGE) return;
  const uintptr_t page = pageSize();
  const auto first = reinterpret_cast<uintptr_t>(p) & ~(page - 1);
  const auto last = (reinterpret_cast<uintptr_t>(p) + bytes + page - 1) & ~(page - 1);
  // Populating for writing leaves the contents as they are, so the caller
  // may write into the range meanwhile. A failure (an old kernel, no thread
  // to be had) only leaves the faults to the first touch, as without it.
  try {
    helpers.emplace_back([first, last] {
      // A huge page at a time, so that the helper stops soon once its work
      // is not wanted.
      for (uintptr_t at = first; at < last && !stopFaulting; at += HUGE_PAGE)
        populateForWriting(at, std::min<uintptr_t>(HUGE_PAGE, last - at));
    });
  } catch (...) {  // no thread, or no memory for one
  }
}

void joinBackgroundFaults() {
  stopFaulting = true;
  for (std::thread &helper : helpers) helper.join();
  helpers.clear();
  stopFaulting = false;
}
