#include "stree_test_util.h"

#include <cctype>

string_set::string_set(const std::vector<std::string> &texts, int alpha_size)
    : coded(texts), raw(texts) {
  for (std::string &r : raw)
    for (char &ch : r) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  recs.resize(texts.size());
  for (size_t k = 0; k < texts.size(); k++) {
    STRING &s = recs[k];
    s = STRING();
    s.sequence = &coded[k][0];
    s.raw_seq = &raw[k][0];
    s.length = static_cast<int>(coded[k].size());
    s.alpha_size = alpha_size;
    ptrs.push_back(&s);
  }
}

int add_text(SUFFIX_TREE tree, std::string &text, int strid) {
  return stree_ukkonen_add_string(tree, &text[0], nullptr, static_cast<int>(text.size()), strid);
}

placement_counts count_placements(SUFFIX_TREE tree) {
  placement_counts pc;
  pc.leaves.assign(static_cast<size_t>(tree->nextslot), 0);
  pc.intleaves.assign(static_cast<size_t>(tree->nextslot), 0);
  std::vector<STREE_NODE> stack{tree->root};
  while (!stack.empty()) {
    STREE_NODE n = stack.back();
    stack.pop_back();
    if (n->isaleaf) {
      pc.leaves[static_cast<size_t>(reinterpret_cast<STREE_LEAF>(n)->strid)]++;
      continue;
    }
    if (n != tree->root) pc.internal_nodes++;
    for (STREE_INTLEAF il = n->leaves; il; il = il->next)
      pc.intleaves[static_cast<size_t>(il->strid)]++;
    for (STREE_NODE c = stree_next_child(tree, n, nullptr); c; c = stree_next_child(tree, n, c))
      stack.push_back(c);
  }
  return pc;
}
