#include "failing_alloc.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <utility>

#include "lumo_mem.h"

namespace {

std::vector<int> failing_calls;
std::vector<std::size_t> sizes;
// The library allocates on its worker threads too.
std::mutex counting;

void *counting_resize(void *old, std::size_t bytes) {
  const std::lock_guard<std::mutex> hold(counting);
  sizes.push_back(bytes);
  const int call = static_cast<int>(sizes.size());
  if (std::find(failing_calls.begin(), failing_calls.end(), call) != failing_calls.end()) {
    return nullptr;
  }
  return std::realloc(old, bytes);
}

}  // namespace

FailingAlloc::FailingAlloc(std::vector<int> failing) {
  failing_calls = std::move(failing);
  sizes.clear();
  lumo_mem::resize = counting_resize;
}

FailingAlloc::~FailingAlloc() { lumo_mem::resize = std::realloc; }

const std::vector<std::size_t> &FailingAlloc::requests() const { return sizes; }
