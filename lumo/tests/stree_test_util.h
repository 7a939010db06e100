// Helpers shared by the suffix-tree tests.
#ifndef STREE_TEST_UTIL_H
#define STREE_TEST_UTIL_H

#include "lumo_stree.h"

#include <memory>
#include <string>
#include <vector>

struct tree_deleter {
  void operator()(suffix_tree *t) const { stree_delete_tree(t); }
};
using tree_ptr = std::unique_ptr<suffix_tree, tree_deleter>;

// STRING records over texts that the set owns; the raw text is the coded
// text in upper case, so that raw labels can be told from coded ones.
struct string_set {
  std::vector<std::string> coded, raw;
  std::vector<STRING> recs;
  std::vector<STRING *> ptrs;

  explicit string_set(const std::vector<std::string> &texts, int alpha_size = 4);
  STRING **array() { return ptrs.data(); }
  int count() const { return static_cast<int>(ptrs.size()); }
};

// Inserts `text` into tree (raw text null) and returns the builder's result.
int add_text(SUFFIX_TREE tree, std::string &text, int strid);

// Counts of what a walk finds: leaves and internal leaves per slot.
struct placement_counts {
  std::vector<int> leaves, intleaves;
  int internal_nodes = 0;
};
placement_counts count_placements(SUFFIX_TREE tree);

#endif
