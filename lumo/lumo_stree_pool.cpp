// Chunked record pools and the component's single allocation point.
#include "lumo_stree_pool.h"
#include "lumo_stree_testhook.h"

#include <cstdlib>
#include <cstring>

long stree_testhook_fail_countdown = 0;

namespace {

// Chunks start small so that small trees stay small, and grow to a size
// where the malloc count of a genome-sized tree is negligible.
const size_t first_chunk_records = 64;
const size_t max_chunk_records = size_t(1) << 16;

// Record storage starts after the header, aligned for any record.
const size_t header_size =
    (sizeof(stree_pool_chunk) + alignof(std::max_align_t) - 1) /
    alignof(std::max_align_t) * alignof(std::max_align_t);

bool injected_failure() {
  return stree_testhook_fail_countdown > 0 && --stree_testhook_fail_countdown == 0;
}

bool add_chunk(stree_pool *pool) {
  size_t cap = pool->last ? pool->last->cap * 2 : first_chunk_records;
  if (cap > max_chunk_records) cap = max_chunk_records;
  void *block = std::malloc(header_size + cap * pool->recsize);
  if (!block) return false;
  stree_pool_chunk *chunk = static_cast<stree_pool_chunk *>(block);
  chunk->prev = pool->last;
  chunk->used = 0;
  chunk->cap = cap;
  pool->last = chunk;
  return true;
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

void stree_pool_init(stree_pool *pool, size_t recsize) {
  pool->recsize = recsize;
  pool->last = nullptr;
  pool->free_list = nullptr;
}

char *stree_pool_chunk_data(stree_pool_chunk *chunk) {
  return reinterpret_cast<char *>(chunk) + header_size;
}

void *stree_pool_alloc(stree_pool *pool) {
  if (injected_failure()) return nullptr;
  void *rec = pool->free_list;
  if (rec) {
    std::memcpy(&pool->free_list, rec, sizeof(void *));
  } else {
    if ((!pool->last || pool->last->used == pool->last->cap) && !add_chunk(pool))
      return nullptr;
    rec = stree_pool_chunk_data(pool->last) + pool->last->used++ * pool->recsize;
  }
  std::memset(rec, 0, pool->recsize);
  return rec;
}

void stree_pool_free(stree_pool *pool, void *rec) {
  std::memcpy(rec, &pool->free_list, sizeof(void *));
  pool->free_list = rec;
}

void stree_pool_release(stree_pool *pool) {
  while (pool->last) {
    stree_pool_chunk *prev = pool->last->prev;
    std::free(pool->last);
    pool->last = prev;
  }
  pool->free_list = nullptr;
}
