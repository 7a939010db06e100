// Record pools of a suffix tree: every leaf, internal node, internal leaf
// and child table is carved out of large chunks, so a tree of n characters
// costs a few hundred mallocs instead of 2n, and releasing it frees chunks,
// not records.
#ifndef LUMO_STREE_POOL_H
#define LUMO_STREE_POOL_H

#include <cstddef>

// The chunks of one tree, shared by all its pools. Fresh records of every
// size are cut from the newest chunk in the order they are asked for, so
// records made together (a node split off an edge and the leaf placed under
// it) lie side by side and are often read with one cache miss.
struct stree_pool_chunk {
  stree_pool_chunk *prev;
  size_t used; // bytes handed out from this chunk
  size_t cap;  // bytes the chunk holds for records
};

struct stree_arena {
  stree_pool_chunk *last; // newest chunk, or null; chained newest first
  size_t last_bytes;      // size of the newest chunk
};

// Records of all sizes share the chunks, so every record size must be a
// multiple of the strictest alignment among them (that of a pointer).
const size_t stree_record_align = alignof(void *);

// One pool hands out records of one size, reusing those released to it.
struct stree_pool {
  size_t recsize;     // a multiple of stree_record_align
  stree_arena *arena; // where fresh records come from
  void *free_list;    // released records, chained through their first bytes
};

// Every allocation of the tree component goes through stree_malloc,
// stree_realloc or stree_pool_alloc, so that tests can make the n-th one fail.
void *stree_malloc(size_t size);
void *stree_realloc(void *block, size_t size);

void stree_arena_init(stree_arena *arena);
// Frees every chunk; the pools of the arena are to be initialised anew
// before further use.
void stree_arena_release(stree_arena *arena);

void stree_pool_init(stree_pool *pool, stree_arena *arena, size_t recsize);
// A zero-filled record, or null when memory is exhausted.
void *stree_pool_alloc(stree_pool *pool);
// Returns a record for reuse by the same pool.
void stree_pool_free(stree_pool *pool, void *rec);

#endif
