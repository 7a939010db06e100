// Child layouts, and the lookup of a child (here, so that the layout code
// inlines into it). A table is one pooled block: a header, then `cap` child
// pointers, then the `cap` first characters of their labels, so that a
// lookup scans a few bytes instead of reading every sibling's label.
#include "lumo_stree_children.h"
#include <cstring>

namespace {

struct child_table {
  int count;
  int cap;
};

STREE_NODE *kids(child_table *t) { return reinterpret_cast<STREE_NODE *>(t + 1); }

unsigned char *keys(child_table *t) {
  return reinterpret_cast<unsigned char *>(kids(t) + t->cap);
}

child_table *table_of(STREE_NODE node) {
  return reinterpret_cast<child_table *>(node->children);
}

// A record's `id` holds the first byte of its label, so that the lookup
// compares records without reading the texts, one cache miss fewer a
// sibling.
unsigned char first_char(STREE_NODE child) { return static_cast<unsigned char>(child->id); }

// Slot of the child beginning with c, or -1.
int table_slot(child_table *t, unsigned char c) {
  const void *hit = std::memchr(keys(t), c, static_cast<size_t>(t->count));
  return hit ? static_cast<int>(static_cast<const unsigned char *>(hit) - keys(t)) : -1;
}

int size_class(int cap) {
  int cls = 0;
  while ((4 << cls) < cap) cls++;
  return cls;
}

child_table *new_table(stree_pool *pools, int cap) {
  child_table *t = static_cast<child_table *>(stree_pool_alloc(&pools[size_class(cap)]));
  if (t) t->cap = cap;
  return t;
}

void table_append(child_table *t, STREE_NODE child) {
  kids(t)[t->count] = child;
  keys(t)[t->count] = first_char(child);
  t->count++;
  child->next = nullptr;
}

// Moves the list of node, plus `extra`, into a table of at least `need`
// slots; the list is left alone when memory is exhausted.
int list_to_table(STREE_NODE node, STREE_NODE extra, int need, stree_pool *pools) {
  child_table *t = new_table(pools, 4 << size_class(need));
  if (!t) return 0;
  for (STREE_NODE c = node->children, next; c; c = next) {
    next = c->next;
    table_append(t, c);
  }
  table_append(t, extra);
  node->children = reinterpret_cast<STREE_NODE>(t);
  node->isanarray = 1;
  return 1;
}

// A table never needs more than 256 slots: one per byte value.
int table_add(STREE_NODE node, STREE_NODE child, stree_pool *pools) {
  child_table *t = table_of(node);
  if (t->count == t->cap) {
    child_table *bigger = new_table(pools, t->cap * 2);
    if (!bigger) return 0;
    for (int k = 0; k < t->count; k++) table_append(bigger, kids(t)[k]);
    stree_pool_free(&pools[size_class(t->cap)], t);
    t = bigger;
    node->children = reinterpret_cast<STREE_NODE>(t);
  }
  table_append(t, child);
  return 1;
}

int list_length(STREE_NODE node) {
  int n = 0;
  for (STREE_NODE c = node->children; c; c = c->next) n++;
  return n;
}

} // namespace

STREE_NODE children_find(STREE_NODE node, unsigned char c) {
  if (node->isanarray) {
    child_table *t = table_of(node);
    int slot = table_slot(t, c);
    return slot < 0 ? nullptr : kids(t)[slot];
  }
  STREE_NODE child = node->children;
  while (child && first_char(child) != c) child = child->next;
  return child;
}

size_t child_table_bytes(int size_class) {
  size_t cap = size_t(4) << size_class;
  size_t bytes = sizeof(child_table) + cap * (sizeof(STREE_NODE) + 1);
  return (bytes + alignof(STREE_NODE) - 1) / alignof(STREE_NODE) * alignof(STREE_NODE);
}

int children_add(STREE_NODE node, STREE_NODE child, int threshold, stree_pool *table_pools) {
  if (node->isanarray) return table_add(node, child, table_pools);
  if (threshold > 0) {
    int need = list_length(node) + 1;
    if (need >= threshold) return list_to_table(node, child, need, table_pools);
  }
  child->next = node->children;
  node->children = child;
  return 1;
}

void children_replace(STREE_NODE node, STREE_NODE old, STREE_NODE repl) {
  if (node->isanarray) {
    child_table *t = table_of(node);
    kids(t)[table_slot(t, first_char(old))] = repl;
    repl->next = nullptr;
    return;
  }
  STREE_NODE *link = &node->children;
  while (*link != old) link = &(*link)->next;
  repl->next = old->next;
  *link = repl;
}

STREE_NODE children_next(STREE_NODE node, STREE_NODE child) {
  if (!node->isanarray) return child ? child->next : node->children;
  child_table *t = table_of(node);
  int slot = 0;
  if (child) {
    slot = table_slot(t, first_char(child));
    if (slot < 0) return nullptr;
    slot++;
  }
  return slot < t->count ? kids(t)[slot] : nullptr;
}

STREE_NODE stree_find_child(SUFFIX_TREE tree, STREE_NODE node, int ch) {
  if (!tree || !node || node->isaleaf) return nullptr;
  return children_find(node, static_cast<unsigned char>(ch));
}
