#include "alichain.h"

#include <algorithm>
#include <atomic>
#include <pthread.h>
#include <sched.h>
#include <sys/mman.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

constexpr size_t HUGE_PAGE = size_t{2} << 20;

uintptr_t pageSize() { return static_cast<uintptr_t>(sysconf(_SC_PAGESIZE)); }

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
      // Faulting ahead only pays while a processor would idle: the helper
      // must never take one from the passes. A huge page at a time, so that
      // a helper starved of time stops soon once its work is not wanted.
      sched_param idle{};
      pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
      for (uintptr_t at = first; at < last && !stopFaulting; at += HUGE_PAGE)
        madvise(reinterpret_cast<void *>(at), std::min<uintptr_t>(HUGE_PAGE, last - at),
                MADV_POPULATE_WRITE);
    });
  } catch (const std::system_error &) {
  }
}

void joinBackgroundFaults() {
  stopFaulting = true;
  for (std::thread &helper : helpers) helper.join();
  helpers.clear();
  stopFaulting = false;
}
