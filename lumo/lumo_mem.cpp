#include "lumo_mem.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <sys/mman.h>

namespace lumo_mem {

void *(*resize)(void *old, std::size_t bytes) = std::realloc;

void *zeroed(std::size_t count, std::size_t size) {
  if (size != 0 && count > SIZE_MAX / size) {
    return nullptr;
  }
  void *block = resize(nullptr, count * size);
  if (block != nullptr) {
    std::memset(block, 0, count * size);
  }
  return block;
}

void prefer_huge_pages(void *block, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
  constexpr uintptr_t huge_page = uintptr_t(2) << 20;
  const uintptr_t from = (reinterpret_cast<uintptr_t>(block) + huge_page - 1) & ~(huge_page - 1);
  const uintptr_t to = (reinterpret_cast<uintptr_t>(block) + bytes) & ~(huge_page - 1);
  if (block && from < to) madvise(reinterpret_cast<void *>(from), to - from, MADV_HUGEPAGE);
#else
  (void)block;
  (void)bytes;
#endif
}

}  // namespace lumo_mem
