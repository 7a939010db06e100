/* Builds and releases a suffix tree from C through the public header. */
#include "lumo_stree.h"

#include <stdio.h>
#include <string.h>

int main(void) {
  char coded[] = "0120312";
  char raw[] = "ACGATCG";
  STRING rec;
  STRING *recs[1];
  SUFFIX_TREE tree;
  STREE_NODE child;
  int children = 0;

  memset(&rec, 0, sizeof rec);
  rec.sequence = coded;
  rec.raw_seq = raw;
  rec.length = (int)strlen(coded);
  rec.alpha_size = 5;
  recs[0] = &rec;
  tree = stree_gen_ukkonen_build(recs, 1, 0, 0);
  if (!tree) {
    fprintf(stderr, "build failed\n");
    return 1;
  }
  for (child = stree_next_child(tree, tree->root, NULL); child;
       child = stree_next_child(tree, tree->root, child))
    children++;
  if (children != 4 || tree->num_nodes != 5 || tree->ids[0] != 1) {
    fprintf(stderr, "unexpected tree: %d children, %d leaves\n", children, tree->num_nodes);
    stree_delete_tree(tree);
    return 1;
  }
  stree_delete_tree(tree);
  return 0;
}
