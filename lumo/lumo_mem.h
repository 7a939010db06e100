// Private to the library and its tests; not installed.
#ifndef LUMO_MEM_H
#define LUMO_MEM_H

#include <cstddef>

namespace lumo_mem {

// Every block the library allocates comes from this function, with
// realloc's contract (null `old` allocates, null result leaves `old`
// intact). It is std::realloc unless a test swaps in one that fails, so
// that the out-of-memory paths can be exercised. Blocks are released with
// std::free, so a replacement must hand out malloc-family blocks.
extern void *(*resize)(void *old, std::size_t bytes);

// A zero-filled block of `count` x `size` bytes from `resize`; null when
// it fails or the size overflows.
void *zeroed(std::size_t count, std::size_t size);

}  // namespace lumo_mem

#endif  // LUMO_MEM_H
