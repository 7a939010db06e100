// Generalized suffix trees by Ukkonen's online construction: one phase per
// character plus one for the end of the string, suffix links and
// skip/count descent, no terminator symbol. A suffix still inside the tree
// when its string ends becomes an internal leaf of the node where it ends.
#include "lumo_stree.h"

namespace {

// State of one insertion. The active point: the path of the current suffix
// S[j..i-1] ends g characters down the edge entering `node` (label
// `edgestr`, `edgelen` characters); g == edgelen means at `node` itself, and
// at the root g is 0. `lastnode` is the node of the latest placement, which
// may still wait for its suffix link (the root when there is none).
struct insertion {
  SUFFIX_TREE tree;
  const char *S;
  int M;
  int id;
  STREE_NODE root;
  STREE_NODE node;
  int g;
  const char *edgestr;
  int edgelen;
  STREE_NODE lastnode;
};

enum extension_result { PHASE_END, PLACED, FAILED };

// Starts loading the cache lines of a node record that hold every field the
// build reads (all but `leaves`), so that the miss of a node it will visit
// soon overlaps the work before the visit.
void prefetch_node(STREE_NODE node) {
  __builtin_prefetch(node);
  __builtin_prefetch(reinterpret_cast<char *>(node) + 64);
}

void take_edge(insertion *in, STREE_NODE node) {
  in->node = node;
  in->edgestr = node->edgestr;
  in->edgelen = node->edgelen;
}

// Gives suffix j its leaf (i < M) or internal leaf (i == M) at the active
// point, which is exactly at in->node. Returns 0 on failure.
int place_suffix(insertion *in, int i, int j) {
  SUFFIX_TREE tree = in->tree;
  if (i < in->M) {
    STREE_LEAF leaf = int_stree_new_leaf(tree, in->id, i, j);
    if (!leaf) return 0;
    STREE_NODE node = int_stree_connect(tree, in->node, leaf);
    if (!node) {
      int_stree_free_leaf(tree, leaf);
      return 0;
    }
    in->node = node;
    tree->num_nodes++;
    return 1;
  }
  if (in->node->isaleaf) {
    STREE_NODE node = int_stree_convert_leafnode(tree, in->node);
    if (!node) return 0;
    in->node = node;
  }
  return int_stree_add_intleaf(tree, in->node, in->id, j);
}

void link_lastnode(insertion *in, STREE_NODE target) {
  if (in->lastnode != in->root && !in->lastnode->suffix_link)
    in->lastnode->suffix_link = target;
}

// One extension of phase i for suffix j: either the path already continues
// with S[i] (the phase ends) or the suffix is placed.
extension_result extend(insertion *in, int i, int j) {
  if (in->g == 0 || in->g == in->edgelen) {
    if (i < in->M) {
      STREE_NODE child = stree_find_child(in->tree, in->node, in->S[i]);
      // The suffix link of this node is where the next extension goes once
      // a suffix is placed, now below it or right here.
      if (!in->node->isaleaf && in->node->suffix_link) prefetch_node(in->node->suffix_link);
      if (child) {
        take_edge(in, child);
        in->g = 1;
        return PHASE_END;
      }
    }
  } else {
    if (i < in->M && in->S[i] == in->edgestr[in->g]) {
      in->g++;
      return PHASE_END;
    }
    STREE_NODE mid = int_stree_edge_split(in->tree, in->node, in->g);
    if (!mid) return FAILED;
    take_edge(in, mid);
  }
  if (!place_suffix(in, i, j)) return FAILED;
  link_lastnode(in, in->node);
  in->lastnode = in->node;
  return PLACED;
}

// Walks S[h..i-1] down from in->node using only first characters and edge
// lengths (skip/count); the path is known to be in the tree.
int descend(insertion *in, int i) {
  int h = i - in->g;
  while (in->g > 0) {
    STREE_NODE child = stree_find_child(in->tree, in->node, in->S[h]);
    if (!child) return 0;
    // The next step of the walk looks at this child's children. (For a leaf
    // this fetches a line past it, which costs little: testing first would
    // wait for the child's first line.)
    __builtin_prefetch(reinterpret_cast<char *>(child) + 64);
    in->node = child;
    if (child->edgelen > in->g) break;
    in->g -= child->edgelen;
    h += child->edgelen;
  }
  take_edge(in, in->node);
  return 1;
}

// Moves the active point from S[j..i-1] to S[j+1..i-1]. Returns 0 only when
// the tree lacks a link or path that it must have (a tree damaged by an
// earlier failed insertion).
int next_suffix(insertion *in, int i) {
  STREE_NODE node = in->node;
  if (node == in->root) return 1;
  if (in->g == in->edgelen && !node->isaleaf && node->suffix_link) {
    take_edge(in, node->suffix_link);
    in->g = in->edgelen;
    return 1;
  }
  STREE_NODE parent = node->parent;
  if (parent == in->root) {
    in->node = in->root;
    in->g--;
  } else {
    in->node = parent->suffix_link;
    if (!in->node) return 0;
  }
  if (!descend(in, i)) return 0;
  if (in->g == 0) {
    if (!in->node->isaleaf && in->lastnode != in->root && !in->lastnode->suffix_link) {
      in->lastnode->suffix_link = in->node;
      in->lastnode = in->node;
    }
    if (in->node != in->root) in->g = in->edgelen;
  }
  return 1;
}

} // namespace

int stree_ukkonen_add_string(SUFFIX_TREE tree, char *S, char *Sraw, int M, int strid) {
  if (!tree) return 0;
  insertion in{tree, S, M, -1, tree->root, tree->root, 0, nullptr, 0, tree->root};
  in.id = int_stree_insert_string(tree, S, Sraw, M, strid);
  if (in.id == -1) return 0;
  // j: start of the longest suffix not yet placed; it never decreases.
  int j = 0;
  for (int i = 0;; i++) {
    while (j <= i && j < M) {
      extension_result r = extend(&in, i, j);
      if (r == FAILED) return 0;
      if (r == PHASE_END) break;
      if (!next_suffix(&in, i)) return 0;
      j++;
    }
    if (i == M) break;
  }
  return 1;
}

SUFFIX_TREE stree_gen_ukkonen_build(STRING **strings, int num_strings, int build_policy,
                                    int build_threshold) {
  if (!strings || num_strings <= 0 || !strings[0]) return nullptr;
  SUFFIX_TREE tree =
      stree_new_tree(strings[0]->alpha_size, 0, build_policy, build_threshold);
  if (!tree) return nullptr;
  for (int k = 0; k < num_strings; k++) {
    STRING *s = strings[k];
    if (!s || stree_ukkonen_add_string(tree, s->sequence, s->raw_seq, s->length, k + 1) <= 0) {
      stree_delete_tree(tree);
      return nullptr;
    }
  }
  return tree;
}
