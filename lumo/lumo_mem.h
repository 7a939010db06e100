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

// Offers the whole 2 MiB pages inside a block to the kernel as huge
// pages (where the system takes such advice; otherwise nothing): the
// index's arrays are read at random, and with 4 KiB pages nearly every
// such read of a large array also misses the TLB.
void prefer_huge_pages(void *block, std::size_t bytes);

}  // namespace lumo_mem

#endif  // LUMO_MEM_H
