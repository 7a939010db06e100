#include "lumo_mem.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

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

}  // namespace lumo_mem
