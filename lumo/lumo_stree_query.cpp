// Questions to a built tree: where a pattern's longest matching prefix
// ends, which suffixes lie below a record, and a depth-first walk. None of
// them recurses or allocates: the walks climb back through `parent`.
#include "lumo_stree.h"

namespace {

// String depth of a record: the lengths of the edges up to the root.
int depth_of(STREE_NODE node) {
  int depth = 0;
  for (; node; node = node->parent) depth += node->edgelen;
  return depth;
}

// Moves a walk whose current record has been visited completely (a leaf,
// or an internal node on its way out) to the next record.
int walk_on_from_finished(STREE_WALK *walk) {
  STREE_NODE node = walk->node;
  if (node == walk->top) return 0;
  STREE_NODE sibling = stree_next_child(walk->tree, node->parent, node);
  walk->depth -= node->edgelen;
  walk->leaving = 0;
  if (sibling) {
    walk->node = sibling;
    walk->depth += sibling->edgelen;
  } else {
    walk->node = node->parent;
    walk->leaving = 1;
  }
  return 1;
}

}  // namespace

extern "C" {

int stree_match(SUFFIX_TREE tree, const char *P, int M, STREE_NODE *node, int *pos) {
  if (!tree || M < 0 || (!P && M > 0)) return -1;
  STREE_NODE at = tree->root;
  int on_edge = 0, matched = 0;
  while (matched < M) {
    if (on_edge == at->edgelen) {
      STREE_NODE child = stree_find_child(tree, at, P[matched]);
      if (!child) break;
      at = child;
      on_edge = 0;
    }
    if (at->edgestr[on_edge] != P[matched]) break;
    on_edge++;
    matched++;
  }
  if (node) *node = at;
  if (pos) *pos = on_edge;
  return matched;
}

void stree_walk_begin(STREE_WALK *walk, SUFFIX_TREE tree, STREE_NODE top) {
  walk->tree = tree;
  walk->top = top;
  walk->node = nullptr;
  walk->depth = 0;
  walk->leaving = 0;
}

int stree_walk_next(STREE_WALK *walk) {
  if (!walk->tree || !walk->top) return 0;
  STREE_NODE node = walk->node;
  if (!node) {
    walk->node = walk->top;
    walk->depth = depth_of(walk->top);
    return 1;
  }
  if (node->isaleaf || walk->leaving) return walk_on_from_finished(walk);
  STREE_NODE first = stree_next_child(walk->tree, node, nullptr);
  if (first) {
    walk->node = first;
    walk->depth += first->edgelen;
  } else {
    walk->leaving = 1;
  }
  return 1;
}

void stree_suffixes_begin(STREE_SUFFIXES *suffixes, SUFFIX_TREE tree, STREE_NODE top) {
  stree_walk_begin(&suffixes->walk, tree, top);
  suffixes->pending = nullptr;
}

int stree_suffixes_next(STREE_SUFFIXES *suffixes, int *strid, int *pos) {
  STREE_WALK *walk = &suffixes->walk;
  for (;;) {
    if (STREE_INTLEAF il = suffixes->pending) {
      suffixes->pending = il->next;
      if (strid) *strid = walk->tree->ids[il->strid];
      if (pos) *pos = il->pos;
      return 1;
    }
    if (!stree_walk_next(walk)) return 0;
    if (walk->leaving) continue;
    STREE_NODE node = walk->node;
    if (!node->isaleaf) {
      suffixes->pending = node->leaves;
      continue;
    }
    STREE_LEAF leaf = reinterpret_cast<STREE_LEAF>(node);
    if (strid) *strid = walk->tree->ids[leaf->strid];
    if (pos) *pos = leaf->pos;
    return 1;
  }
}

}  // extern "C"
