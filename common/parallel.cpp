#include "parallel.h"

#include <exception>
#include <thread>
#include <vector>

namespace common {

void inParallel(int parts, const std::function<void(int part)> &task) {
  std::vector<std::exception_ptr> failures(static_cast<size_t>(parts > 0 ? parts : 0));
  const auto guarded = [&](int part) {
    try {
      task(part);
    } catch (...) {
      failures[static_cast<size_t>(part)] = std::current_exception();
    }
  };
  std::vector<std::thread> threads;
  for (int part = 1; part < parts; ++part) threads.emplace_back(guarded, part);
  if (parts > 0) guarded(0);
  for (std::thread &t : threads) t.join();
  for (const std::exception_ptr &failure : failures)
    if (failure) std::rethrow_exception(failure);
}

}  // namespace common
