// Suffix-tree primitives: the tree record with its string table and record
// pools, and the operations that make, link and release records.
#include "lumo_stree.h"
#include "lumo_stree_children.h"
#include "lumo_stree_pool.h"

#include <cstdlib>
#include <cstring>

namespace {

// The public tree record comes first, so a SUFFIX_TREE converts to and from
// the whole private record.
struct tree_rec {
  suffix_tree pub;
  stree_arena arena;
  stree_pool nodes;
  stree_pool leaves;
  stree_pool intleaves;
  stree_pool tables[child_table_classes];
};

tree_rec *rec_of(SUFFIX_TREE tree) { return reinterpret_cast<tree_rec *>(tree); }

// Threshold handed to the child layer: 0 keeps every node a list.
int table_threshold(SUFFIX_TREE tree) {
  if (tree->build_type == 0) return 0;
  return tree->build_threshold < 2 ? 2 : tree->build_threshold;
}

STREE_NODE new_node(SUFFIX_TREE tree) {
  STREE_NODE node = static_cast<STREE_NODE>(stree_pool_alloc(&rec_of(tree)->nodes));
  if (node) tree->nodes_created++;
  return node;
}

STREE_INTLEAF new_intleaf(SUFFIX_TREE tree, int id, int pos) {
  STREE_INTLEAF il = static_cast<STREE_INTLEAF>(stree_pool_alloc(&rec_of(tree)->intleaves));
  if (il) {
    il->strid = id;
    il->pos = pos;
  }
  return il;
}

// Grows the four slot arrays to `cap`. Each grows through a temporary, so a
// failure leaves every array valid; strsize grows only when all four did.
int grow_string_table(SUFFIX_TREE tree, int cap) {
  size_t n = static_cast<size_t>(cap);
  void *p = stree_realloc(tree->strings, n * sizeof(char *));
  if (p) tree->strings = static_cast<char **>(p);
  void *q = p ? stree_realloc(tree->rawstrings, n * sizeof(char *)) : nullptr;
  if (q) tree->rawstrings = static_cast<char **>(q);
  void *r = q ? stree_realloc(tree->lengths, n * sizeof(int)) : nullptr;
  if (r) tree->lengths = static_cast<int *>(r);
  void *s = r ? stree_realloc(tree->ids, n * sizeof(int)) : nullptr;
  if (!s) return 0;
  tree->ids = static_cast<int *>(s);
  tree->strsize = cap;
  return 1;
}

// A copy of M bytes of text, or null (also for a null text).
char *copy_text(const char *text, int M) {
  if (!text) return nullptr;
  char *copy = static_cast<char *>(stree_malloc(M > 0 ? static_cast<size_t>(M) : 1));
  if (copy && M > 0) std::memcpy(copy, text, static_cast<size_t>(M));
  return copy;
}

void free_copies(SUFFIX_TREE tree) {
  if (!tree->copyflag) return;
  for (int k = 0; k < tree->nextslot; k++) {
    std::free(tree->strings[k]);
    std::free(tree->rawstrings[k]);
  }
}

} // namespace

SUFFIX_TREE stree_new_tree(int alphabet_size, int copyflag, int build_policy,
                           int build_threshold) {
  if (build_policy != 0 && build_policy != 1) return nullptr;
  tree_rec *rec = static_cast<tree_rec *>(stree_malloc(sizeof(tree_rec)));
  if (!rec) return nullptr;
  std::memset(&rec->pub, 0, sizeof rec->pub);
  stree_arena_init(&rec->arena);
  stree_pool_init(&rec->nodes, &rec->arena, sizeof(stree_node));
  stree_pool_init(&rec->leaves, &rec->arena, sizeof(stree_leaf));
  stree_pool_init(&rec->intleaves, &rec->arena, sizeof(stree_intleaf));
  for (int c = 0; c < child_table_classes; c++)
    stree_pool_init(&rec->tables[c], &rec->arena, child_table_bytes(c));
  SUFFIX_TREE tree = &rec->pub;
  tree->copyflag = copyflag;
  tree->alpha_size = alphabet_size;
  tree->build_type = build_policy;
  tree->build_threshold = build_threshold;
  tree->idents_dirty = 1;
  tree->root = new_node(tree);
  if (!tree->root) {
    stree_arena_release(&rec->arena);
    std::free(rec);
    return nullptr;
  }
  return tree;
}

void stree_delete_tree(SUFFIX_TREE tree) {
  if (!tree) return;
  tree_rec *rec = rec_of(tree);
  stree_arena_release(&rec->arena);
  free_copies(tree);
  std::free(tree->strings);
  std::free(tree->rawstrings);
  std::free(tree->lengths);
  std::free(tree->ids);
  std::free(rec);
}

STREE_NODE stree_next_child(SUFFIX_TREE tree, STREE_NODE node, STREE_NODE child) {
  if (!tree || !node || node->isaleaf) return nullptr;
  return children_next(node, child);
}

int int_stree_insert_string(SUFFIX_TREE tree, char *S, char *Sraw, int M, int strid) {
  if (!tree || M < 0 || (!S && M > 0)) return -1;
  if (tree->nextslot == tree->strsize) {
    if (tree->strsize > 0x3fffffff) return -1;
    if (!grow_string_table(tree, tree->strsize ? tree->strsize * 2 : 16)) return -1;
  }
  char *text = S, *raw = Sraw;
  if (tree->copyflag) {
    text = copy_text(S ? S : "", M);
    raw = copy_text(Sraw, M);
    if (!text || (Sraw && !raw)) {
      std::free(text);
      std::free(raw);
      return -1;
    }
  }
  int slot = tree->nextslot++;
  tree->strings[slot] = text;
  tree->rawstrings[slot] = raw;
  tree->lengths[slot] = M;
  tree->ids[slot] = strid;
  return slot;
}

STREE_LEAF int_stree_new_leaf(SUFFIX_TREE tree, int id, int i, int pos) {
  if (!tree || id < 0 || id >= tree->nextslot) return nullptr;
  int len = tree->lengths[id];
  if (i < 0 || i >= len || pos < 0 || pos > i) return nullptr;
  STREE_LEAF leaf = static_cast<STREE_LEAF>(stree_pool_alloc(&rec_of(tree)->leaves));
  if (!leaf) return nullptr;
  char *raw = tree->rawstrings[id];
  leaf->isaleaf = 1;
  leaf->edgestr = tree->strings[id] + i;
  leaf->rawedgestr = raw ? raw + i : nullptr;
  leaf->edgelen = len - i;
  leaf->id = static_cast<unsigned char>(leaf->edgestr[0]);
  leaf->strid = id;
  leaf->pos = pos;
  return leaf;
}

void int_stree_free_leaf(SUFFIX_TREE tree, STREE_LEAF leaf) {
  if (tree && leaf) stree_pool_free(&rec_of(tree)->leaves, leaf);
}

STREE_NODE int_stree_convert_leafnode(SUFFIX_TREE tree, STREE_NODE leaf) {
  if (!tree || !leaf || !leaf->isaleaf) return nullptr;
  STREE_LEAF old = reinterpret_cast<STREE_LEAF>(leaf);
  STREE_INTLEAF il = new_intleaf(tree, old->strid, old->pos);
  if (!il) return nullptr;
  STREE_NODE node = new_node(tree);
  if (!node) {
    stree_pool_free(&rec_of(tree)->intleaves, il);
    return nullptr;
  }
  node->id = leaf->id;
  node->edgestr = leaf->edgestr;
  node->rawedgestr = leaf->rawedgestr;
  node->edgelen = leaf->edgelen;
  node->parent = leaf->parent;
  node->leaves = il;
  children_replace(leaf->parent, leaf, node);
  stree_pool_free(&rec_of(tree)->leaves, leaf);
  return node;
}

STREE_NODE int_stree_connect(SUFFIX_TREE tree, STREE_NODE node, STREE_LEAF leaf) {
  if (!tree || !node || !leaf) return nullptr;
  if (node->isaleaf) {
    node = int_stree_convert_leafnode(tree, node);
    if (!node) return nullptr;
  }
  STREE_NODE child = reinterpret_cast<STREE_NODE>(leaf);
  if (!children_add(node, child, table_threshold(tree), rec_of(tree)->tables)) return nullptr;
  child->parent = node;
  return node;
}

int int_stree_add_intleaf(SUFFIX_TREE tree, STREE_NODE node, int id, int pos) {
  if (!tree || !node || node->isaleaf) return 0;
  STREE_INTLEAF il = new_intleaf(tree, id, pos);
  if (!il) return 0;
  il->next = node->leaves;
  node->leaves = il;
  return 1;
}

STREE_NODE int_stree_edge_split(SUFFIX_TREE tree, STREE_NODE node, int len) {
  if (!tree || !node || !node->parent || len <= 0 || len >= node->edgelen) return nullptr;
  STREE_NODE mid = new_node(tree);
  if (!mid) return nullptr;
  mid->id = node->id;
  mid->edgestr = node->edgestr;
  mid->rawedgestr = node->rawedgestr;
  mid->edgelen = len;
  mid->parent = node->parent;
  children_replace(node->parent, node, mid);
  node->edgestr += len;
  node->id = static_cast<unsigned char>(node->edgestr[0]);
  if (node->rawedgestr) node->rawedgestr += len;
  node->edgelen -= len;
  node->parent = mid;
  node->next = nullptr;
  mid->children = node; // a first child always goes into a list
  return mid;
}
