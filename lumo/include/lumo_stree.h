/* lumo_stree: generalized suffix trees over coded texts, built by Ukkonen's
 * online construction, and the primitives that make, link and release the
 * tree records. C99 and C++ compatible.
 *
 * Texts are compared byte by byte for equality only; any byte value is a
 * valid character, values above 127 included. Nothing is appended to a
 * string: a suffix that ends inside the tree is recorded as an internal
 * leaf (STREE_INTLEAF) of the internal node where it ends.
 *
 * Child layouts (chosen per tree by build_policy and build_threshold):
 *   build_policy 0, the default: every node holds its children as a list
 *     through `next`, headed by `children`; `isanarray` stays 0. This costs
 *     no memory beyond the records (about 107 bytes per character for a
 *     genome) and suits small alphabets such as DNA. build_threshold is
 *     ignored.
 *   build_policy 1: a node holds its children as a list until it gets its
 *     build_threshold-th child (a threshold below 2 counts as 2: a first
 *     child always joins a list); from then on `isanarray` is 1 and `children` points to a
 *     private table that keeps the first character of every child's label
 *     beside it, so finding a child reads no labels. It pays off for large
 *     alphabets and nodes with many children; for DNA a threshold of 4 is
 *     about as fast as the list, for about 5 bytes more a character.
 *   Any other build_policy is refused by stree_new_tree.
 * Whatever the layout, a caller enumerates a node's children only through
 * stree_next_child; `children` and `next` are the primitives' business.
 *
 * Strings: int_stree_insert_string enters a string into the tree's string
 * table (strings, rawstrings, lengths, ids; it grows without limit) and
 * returns its slot number, counted from 0. The `strid` of every leaf and
 * internal leaf is such a slot number; `ids[slot]` is the identifier the
 * caller gave the string (stree_gen_ukkonen_build gives 1, 2, ... in array
 * order). `copyflag` 0 (what the builder uses): the tree refers to the
 * callers' texts, which must stay unchanged and alive as long as the tree;
 * nonzero: the tree keeps its own copies and releases them with the tree.
 *
 * Counting: `num_nodes` starts at 0 and is changed only by the builder,
 * which adds 1 for every leaf it attaches, so after a build it is the
 * number of leaves made (a leaf later turned into an internal node stays
 * counted). `nodes_created` counts the internal nodes made by the
 * primitives, the root included. Records are not numbered: `id` holds the
 * first byte of the record's edge label (0 to 255; 0 for the root), which
 * finding a child compares without reading the texts; `idents_dirty` is 1,
 * and tree_size and the other statistics counters stay 0.
 *
 * Memory: records are cut from large chunks owned by the tree, in the order
 * they are made. Once a tree holds more than a few MiB, its next chunk is
 * allocated ahead and a helper thread maps it in while the current one
 * fills; that thread ends by the next chunk change or stree_delete_tree, so
 * a tree must not be grown or released in a child process forked meanwhile.
 *
 * Records live in pools owned by the tree: never free a record yourself,
 * and never keep a pointer to a leaf across an insertion (a leaf of an
 * earlier string may be replaced by an internal node; internal nodes stay
 * the same records for the life of the tree). No operation recurses, so
 * trees of any depth are built, walked and released safely. */
#ifndef LUMO_STREE_H
#define LUMO_STREE_H

#include "lumo.h"

#ifdef __cplusplus
extern "C" {
#endif

/* One suffix that ends at an internal node. */
typedef struct stree_intleaf {
  int strid;                  /* slot of the suffix's string */
  int pos;                    /* position where the suffix begins */
  struct stree_intleaf *next; /* next internal leaf of the same node */
} *STREE_INTLEAF;

typedef struct stree_node *STREE_NODE;

/* A leaf. Its first seven fields agree with stree_node, so a STREE_NODE may
 * designate a leaf; `isaleaf` tells them apart. */
typedef struct stree_leaf {
  int isaleaf;      /* 1 */
  int id;           /* first byte of the label, as unsigned char */
  char *edgestr;    /* label of the edge from the parent, in the coded text */
  char *rawedgestr; /* the same label in the raw text; null without one */
  int edgelen;      /* characters of the label */
  STREE_NODE parent;
  STREE_NODE next;  /* sibling, in the list layout */
  int strid;        /* slot of the string of the suffix ending here */
  int pos;          /* position where that suffix begins */
} *STREE_LEAF;

/* An internal node or the root (edgelen 0). An internal node may have no
 * children and only internal leaves. */
struct stree_node {
  int isaleaf; /* 0 */
  int id;
  char *edgestr;
  char *rawedgestr;
  int edgelen;
  STREE_NODE parent;
  STREE_NODE next;
  STREE_NODE suffix_link; /* node of this path label less its first char */
  int isanarray;          /* 1: `children` is a private child table */
  STREE_NODE children;    /* list head or table; see stree_next_child */
  STREE_INTLEAF leaves;   /* internal leaves; null when none */
};

typedef struct suffix_tree {
  STREE_NODE root;
  int num_nodes;
  char **strings;    /* coded text of each slot */
  char **rawstrings; /* raw text of each slot, or null */
  int *lengths;      /* length of each slot's text */
  int *ids;          /* caller's identifier of each slot */
  int nextslot;      /* slots in use */
  int strsize;       /* slots allocated */
  int copyflag;
  int alpha_size;
  int build_type;    /* the build_policy */
  int build_threshold;
  int idents_dirty;
  int tree_size;
  int num_compares;
  int edges_traversed;
  int links_traversed;
  int child_cost;
  int nodes_created;
  int creation_cost;
} *SUFFIX_TREE;

/* ---- Building ---- */

/* Inserts every non-empty suffix of S[0..M-1] into `tree`, which must hold
 * its suffix links (a new tree, or one whose insertions all succeeded).
 * Sraw (may be null) is the raw text of the same length; strid is the
 * caller's identifier, kept in tree->ids. Returns 1 on success, 0 on
 * failure: a null tree, M < 0, S null while M > 0, or memory exhausted.
 * After a failure the tree is fit only for stree_delete_tree. */
int stree_ukkonen_add_string(SUFFIX_TREE tree, char *S, char *Sraw, int M,
                             int strid);

/* Makes a tree over the `sequence` texts (with `raw_seq` beside them) of
 * strings[0..num_strings-1], identifiers 1..num_strings in array order; the
 * alphabet size is taken from the first record. The records' texts must
 * outlive the tree. Returns the tree, which the caller releases with
 * stree_delete_tree; null when `strings` is null, num_strings is 0 or
 * negative, a record is null, the policy is unknown or any insertion
 * fails (the partial tree is released then). */
SUFFIX_TREE stree_gen_ukkonen_build(STRING **strings, int num_strings,
                                    int build_policy, int build_threshold);

/* ---- Trees ---- */

/* A new tree with no strings; its root is an internal node with no children.
 * copyflag: 0 refer to the callers' texts, nonzero copy them; build_policy
 * and build_threshold select the child layout (see the top of this file).
 * Returns null when memory is exhausted or build_policy is unknown. */
SUFFIX_TREE stree_new_tree(int alphabet_size, int copyflag, int build_policy,
                           int build_threshold);

/* Releases the tree, every record in it and its copies of texts; does
 * nothing for null. Takes time linear in the records, uses no recursion. */
void stree_delete_tree(SUFFIX_TREE tree);

/* The child of `node` whose edge label begins with character `ch` (a char
 * widened to int, with or without its sign: only its low byte counts), a
 * leaf or an internal node. Null when there is none, when `node` is a leaf
 * and when tree or node is null. */
STREE_NODE stree_find_child(SUFFIX_TREE tree, STREE_NODE node, int ch);

/* Enumerates the children of `node`: with `child` null, the first child;
 * otherwise the child after `child`. Null after the last child, for a leaf
 * and for null arguments. The order is unspecified but stable while the
 * tree is not changed. */
STREE_NODE stree_next_child(SUFFIX_TREE tree, STREE_NODE node,
                            STREE_NODE child);

/* ---- Queries ---- */

/* Follows the pattern P[0..M-1] down from the root as far as the tree's
 * path labels spell it, and returns the length of the longest prefix of P
 * that is a path (0 to M): the prefix occurs in the strings exactly where
 * the suffixes below *node start. *node receives the record (an internal
 * node or a leaf) on whose incoming edge the match ends and *pos how many
 * characters of that edge it covers (1 to edgelen; edgelen when it ends at
 * the record itself); for a match of length 0 they are the root and 0.
 * Either output may be null. Returns -1 (outputs untouched) when tree is
 * null, M < 0, or P is null while M > 0. Time: O(M) child lookups. */
int stree_match(SUFFIX_TREE tree, const char *P, int M, STREE_NODE *node, int *pos);

/* A depth-first walk over the subtree of `top` (a node or a leaf): after
 * stree_walk_begin, each stree_walk_next that returns 1 sets
 *   node     the record visited,
 *   depth    its string depth (the length of its path label: the edge
 *            lengths from the root down to it, inclusive),
 *   leaving  0 on the way down; 1 for the second visit of an internal node,
 *            after every record below it.
 * Leaves are visited once, internal nodes twice (the root and `top`
 * included), children in stree_next_child order. Returns 0 when the walk is
 * over, and at once for a null tree or top. The walk keeps no memory of its
 * own and takes time linear in the records visited (plus the depth of
 * `top`); the tree must not change during it. */
typedef struct stree_walk {
  SUFFIX_TREE tree;
  STREE_NODE top;
  STREE_NODE node;
  int depth;
  int leaving;
} STREE_WALK;

void stree_walk_begin(STREE_WALK *walk, SUFFIX_TREE tree, STREE_NODE top);
int stree_walk_next(STREE_WALK *walk);

/* The suffixes that start with the path label of `top` (a node or a leaf):
 * each leaf and each internal leaf of its subtree, `top` included. After
 * stree_suffixes_begin, each stree_suffixes_next that returns 1 gives one
 * suffix: *strid the identifier the caller gave its string (tree->ids of
 * the slot, 1, 2, ... after stree_gen_ukkonen_build) and *pos the position
 * where it starts in that string; either output may be null. Returns 0 when
 * all have been given, and at once for a null tree or top. Each suffix
 * comes once, in no particular order; no memory is allocated. */
typedef struct stree_suffixes {
  STREE_WALK walk;
  STREE_INTLEAF pending; /* internal leaves of the current node not yet given */
} STREE_SUFFIXES;

void stree_suffixes_begin(STREE_SUFFIXES *suffixes, SUFFIX_TREE tree, STREE_NODE top);
int stree_suffixes_next(STREE_SUFFIXES *suffixes, int *strid, int *pos);

/* ---- Primitives the builder relies on (internal to the tree component) ---- */

/* Enters a string into the string table (copying the texts when the tree's
 * copyflag is set) and returns its slot number; -1 when memory is exhausted,
 * tree is null, M < 0, or S is null while M > 0. */
int int_stree_insert_string(SUFFIX_TREE tree, char *S, char *Sraw, int M,
                            int strid);

/* A new leaf, not yet in the tree, for the suffix of slot `id` starting at
 * `pos`, labelled with that string from position `i` to its end; the
 * caller hands it to int_stree_connect or int_stree_free_leaf. Null when
 * memory is exhausted, tree is null or the arguments are out of range. */
STREE_LEAF int_stree_new_leaf(SUFFIX_TREE tree, int id, int i, int pos);

/* Makes `leaf` a child of `node` and returns the internal node holding it:
 * `node` itself when internal; when `node` is a leaf, a new internal node
 * that takes its place and keeps its suffix as an internal leaf (the old
 * leaf record is released). Null on failure (memory, null arguments), and
 * then the tree is unchanged and `leaf` is not in it. */
STREE_NODE int_stree_connect(SUFFIX_TREE tree, STREE_NODE node,
                             STREE_LEAF leaf);

/* Releases a leaf that is not in the tree; does nothing for null. */
void int_stree_free_leaf(SUFFIX_TREE tree, STREE_LEAF leaf);

/* Replaces `leaf` by a new internal node with the same parent and label that
 * keeps the leaf's suffix as an internal leaf; the leaf record is released.
 * Returns the node, or null (tree unchanged) on failure. */
STREE_NODE int_stree_convert_leafnode(SUFFIX_TREE tree, STREE_NODE leaf);

/* Adds the internal leaf (id, pos) to the internal node `node`. Returns 1, or
 * 0 when memory is exhausted or node is null or a leaf. */
int int_stree_add_intleaf(SUFFIX_TREE tree, STREE_NODE node, int id, int pos);

/* Splits the edge entering `node` after its first `len` characters
 * (0 < len < edgelen): a new internal node with that label takes node's place
 * and gets node, with the rest of its label, as its only child. Returns the
 * new node, or null (tree unchanged) when memory is exhausted, an argument
 * is null, node is the root or len is out of range. */
STREE_NODE int_stree_edge_split(SUFFIX_TREE tree, STREE_NODE node, int len);

#ifdef __cplusplus
}
#endif

#endif /* LUMO_STREE_H */
