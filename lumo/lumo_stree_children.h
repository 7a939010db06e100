// The child layouts of suffix-tree nodes: a sibling list through `next`, or
// a child table that keeps each child's first label character beside it.
#ifndef LUMO_STREE_CHILDREN_H
#define LUMO_STREE_CHILDREN_H

#include "lumo_stree.h"
#include "lumo_stree_pool.h"

// Tables come in size classes of 4, 8, ..., 256 slots, each from its own
// record pool of the tree; table_pools is the array of those pools.
const int child_table_classes = 7;
size_t child_table_bytes(int size_class);

// Child whose label begins with byte c, or null. node must be internal.
STREE_NODE children_find(STREE_NODE node, unsigned char c);
// Adds child (whose label is set) to node; switches node to a table once it
// has `threshold` children (threshold 0: never). Returns 1, or 0 with node
// unchanged when memory is exhausted.
int children_add(STREE_NODE node, STREE_NODE child, int threshold, stree_pool *table_pools);
// Puts repl, whose label begins with the same character, in old's place.
void children_replace(STREE_NODE node, STREE_NODE old, STREE_NODE repl);
// Child after `child` (the first with child null), or null.
STREE_NODE children_next(STREE_NODE node, STREE_NODE child);

#endif
