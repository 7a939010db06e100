// Record pools of a suffix tree: every leaf, internal node and internal leaf
// is carved out of large chunks, so a tree of n characters costs a few
// hundred mallocs instead of 2n, and releasing it frees chunks, not records.
#ifndef LUMO_STREE_POOL_H
#define LUMO_STREE_POOL_H

#include <cstddef>

// One pool hands out records of one size. Chunks are chained newest first;
// every chunk but the newest is full.
struct stree_pool_chunk {
  stree_pool_chunk *prev;
  size_t used; // records handed out from this chunk
  size_t cap;  // records the chunk holds
};

struct stree_pool {
  size_t recsize;
  stree_pool_chunk *last; // newest chunk, or null
  size_t last_bytes;      // size of the newest chunk
  void *free_list;        // released records, chained through their first bytes
};

// Every allocation of the tree component goes through stree_malloc,
// stree_realloc or stree_pool_alloc, so that tests can make the n-th one fail.
void *stree_malloc(size_t size);
void *stree_realloc(void *block, size_t size);

void stree_pool_init(stree_pool *pool, size_t recsize);
// A zero-filled record, or null when memory is exhausted.
void *stree_pool_alloc(stree_pool *pool);
// Returns a record for reuse by the same pool.
void stree_pool_free(stree_pool *pool, void *rec);
// Frees every chunk; the pool is empty afterwards.
void stree_pool_release(stree_pool *pool);

#endif
