// Chunked record pools and the component's single allocation point.
#include "lumo_stree_pool.h"
#include "lumo_stree_testhook.h"

#include <cassert>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>

long stree_testhook_fail_countdown = 0;

namespace {

// Chunk sizes in bytes double from a few records' worth up to 4 MiB, so
// that small trees stay small and a genome-sized tree needs only a few
// hundred chunks.
const size_t first_chunk_bytes = size_t(4) << 10;
const size_t max_chunk_bytes = size_t(4) << 20;

// Record storage starts after the header, aligned for any record.
const size_t header_size =
    (sizeof(stree_pool_chunk) + alignof(std::max_align_t) - 1) /
    alignof(std::max_align_t) * alignof(std::max_align_t);

// Chunks of a huge page or more are placed on huge-page boundaries and
// offered to the kernel as huge pages: a big tree is visited in random
// order, and with 4 KiB pages nearly every record visit would also miss
// the TLB.
const size_t huge_page = size_t(2) << 20;

void *alloc_chunk(size_t bytes) {
  if (bytes < huge_page) return std::malloc(bytes);
  void *block = std::aligned_alloc(huge_page, bytes);
#ifdef MADV_HUGEPAGE
  if (block) madvise(block, bytes, MADV_HUGEPAGE);
#endif
  return block;
}

bool injected_failure() {
  return stree_testhook_fail_countdown > 0 && --stree_testhook_fail_countdown == 0;
}

bool add_chunk(stree_arena *arena, size_t recsize) {
  size_t bytes = arena->last ? arena->last_bytes * 2 : first_chunk_bytes;
  if (bytes > max_chunk_bytes) bytes = max_chunk_bytes;
  while (header_size + recsize > bytes) bytes *= 2;
  void *block = alloc_chunk(bytes);
  if (!block) return false;
  stree_pool_chunk *chunk = static_cast<stree_pool_chunk *>(block);
  chunk->prev = arena->last;
  chunk->used = 0;
  chunk->cap = bytes - header_size;
  arena->last = chunk;
  arena->last_bytes = bytes;
  return true;
}

char *chunk_data(stree_pool_chunk *chunk) {
  return reinterpret_cast<char *>(chunk) + header_size;
}

} // namespace

void *stree_malloc(size_t size) {
  if (injected_failure()) return nullptr;
  return std::malloc(size);
}

void *stree_realloc(void *block, size_t size) {
  if (injected_failure()) return nullptr;
  return std::realloc(block, size);
}

void stree_arena_init(stree_arena *arena) {
  arena->last = nullptr;
  arena->last_bytes = 0;
}

void stree_arena_release(stree_arena *arena) {
  while (arena->last) {
    stree_pool_chunk *prev = arena->last->prev;
    std::free(arena->last);
    arena->last = prev;
  }
  arena->last_bytes = 0;
}

void stree_pool_init(stree_pool *pool, stree_arena *arena, size_t recsize) {
  assert(recsize % stree_record_align == 0);
  pool->recsize = recsize;
  pool->arena = arena;
  pool->free_list = nullptr;
}

void *stree_pool_alloc(stree_pool *pool) {
  if (injected_failure()) return nullptr;
  void *rec = pool->free_list;
  if (rec) {
    std::memcpy(&pool->free_list, rec, sizeof(void *));
  } else {
    stree_arena *arena = pool->arena;
    if ((!arena->last || arena->last->used + pool->recsize > arena->last->cap) &&
        !add_chunk(arena, pool->recsize))
      return nullptr;
    rec = chunk_data(arena->last) + arena->last->used;
    arena->last->used += pool->recsize;
  }
  std::memset(rec, 0, pool->recsize);
  return rec;
}

void stree_pool_free(stree_pool *pool, void *rec) {
  std::memcpy(rec, &pool->free_list, sizeof(void *));
  pool->free_list = rec;
}
