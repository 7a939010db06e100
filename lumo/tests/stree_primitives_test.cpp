// Tests of the suffix-tree primitives: tree records, the string table, both
// child layouts, leaf/node replacement and edge splits, failure results
// under injected allocation failures, and release of deep trees.
#include "lumo_stree.h"
#include "lumo_stree_testhook.h"
#include "stree_check.h"
#include "stree_test_util.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A tree holding text as slot 0, with a bare leaf for its suffix 0 attached
// to the root.
struct one_leaf_tree {
  std::string text;
  tree_ptr t;
  STREE_NODE leaf = nullptr;

  one_leaf_tree(const std::string &s, int policy = 0, int threshold = 0)
      : text(s), t(stree_new_tree(4, 0, policy, threshold)) {
    int id = int_stree_insert_string(t.get(), &text[0], nullptr, static_cast<int>(s.size()), 7);
    STREE_LEAF l = int_stree_new_leaf(t.get(), id, 0, 0);
    leaf = reinterpret_cast<STREE_NODE>(l);
    int_stree_connect(t.get(), t->root, l);
  }
};

TEST(StreeRecords, NewTreeHasABareRootAndKeepsItsSettings) {
  tree_ptr t(stree_new_tree(5, 0, 1, 8));
  ASSERT_NE(t, nullptr);
  EXPECT_FALSE(t->root->isaleaf);
  EXPECT_EQ(t->root->edgelen, 0);
  EXPECT_EQ(t->root->leaves, nullptr);
  EXPECT_EQ(stree_next_child(t.get(), t->root, nullptr), nullptr);
  EXPECT_EQ(t->alpha_size, 5);
  EXPECT_EQ(t->build_type, 1);
  EXPECT_EQ(t->build_threshold, 8);
  EXPECT_EQ(t->num_nodes, 0);
  EXPECT_EQ(stree_new_tree(4, 0, 2, 0), nullptr);
  stree_delete_tree(nullptr);
}

TEST(StreeRecords, StringTableGrowsAndCopiesOnlyWhenAsked) {
  for (int copyflag : {0, 1}) {
    tree_ptr t(stree_new_tree(4, copyflag, 0, 0));
    std::string s = "acgt", raw = "ACGT";
    for (int k = 0; k < 100; k++)
      ASSERT_EQ(int_stree_insert_string(t.get(), &s[0], k % 2 ? &raw[0] : nullptr, 4, k + 1), k);
    EXPECT_EQ(t->nextslot, 100);
    EXPECT_GE(t->strsize, 100);
    EXPECT_EQ(t->ids[99], 100);
    EXPECT_EQ(t->rawstrings[0], nullptr);
    EXPECT_EQ(t->strings[5] == &s[0], copyflag == 0);
    EXPECT_EQ(std::string(t->rawstrings[5], 4), "ACGT");
  }
}

TEST(StreeRecords, InsertStringRefusesBadArguments) {
  tree_ptr t(stree_new_tree(4, 0, 0, 0));
  std::string s = "ac";
  EXPECT_EQ(int_stree_insert_string(nullptr, &s[0], nullptr, 2, 1), -1);
  EXPECT_EQ(int_stree_insert_string(t.get(), &s[0], nullptr, -2, 1), -1);
  EXPECT_EQ(int_stree_insert_string(t.get(), nullptr, nullptr, 2, 1), -1);
  EXPECT_EQ(int_stree_insert_string(t.get(), nullptr, nullptr, 0, 1), 0);
}

TEST(StreeRecords, NewLeafLabelsTheRestOfTheString) {
  tree_ptr t(stree_new_tree(4, 0, 0, 0));
  std::string s = "acgta", raw = "ACGTA";
  int id = int_stree_insert_string(t.get(), &s[0], &raw[0], 5, 3);
  STREE_LEAF leaf = int_stree_new_leaf(t.get(), id, 2, 1);
  ASSERT_NE(leaf, nullptr);
  EXPECT_TRUE(leaf->isaleaf);
  EXPECT_EQ(leaf->edgestr, &s[2]);
  EXPECT_EQ(leaf->rawedgestr, &raw[2]);
  EXPECT_EQ(leaf->edgelen, 3);
  EXPECT_EQ(leaf->strid, id);
  EXPECT_EQ(leaf->pos, 1);
  int_stree_free_leaf(t.get(), leaf);
  EXPECT_EQ(int_stree_new_leaf(t.get(), id, 5, 0), nullptr);
  EXPECT_EQ(int_stree_new_leaf(t.get(), id + 1, 0, 0), nullptr);
  EXPECT_EQ(int_stree_new_leaf(t.get(), id, 1, 2), nullptr);
}

class StreeLayout : public ::testing::TestWithParam<int> {};

// Many children under one node: in the table layout the node switches to
// a table at the threshold and keeps growing it.
TEST_P(StreeLayout, FindsAndEnumeratesEveryChild) {
  tree_ptr t(stree_new_tree(256, 0, GetParam(), 3));
  std::string all(256, '\0');
  for (int c = 0; c < 256; c++) all[static_cast<size_t>(c)] = static_cast<char>(c);
  int id = int_stree_insert_string(t.get(), &all[0], nullptr, 256, 1);
  for (int c = 0; c < 256; c++) {
    STREE_LEAF leaf = int_stree_new_leaf(t.get(), id, c, c);
    ASSERT_EQ(int_stree_connect(t.get(), t->root, leaf), t->root);
  }
  EXPECT_EQ(t->root->isanarray, GetParam());
  int seen = 0;
  for (STREE_NODE c = stree_next_child(t.get(), t->root, nullptr); c;
       c = stree_next_child(t.get(), t->root, c))
    seen++;
  EXPECT_EQ(seen, 256);
  for (int c = 0; c < 256; c++) {
    STREE_NODE child = stree_find_child(t.get(), t->root, static_cast<signed char>(c));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(static_cast<unsigned char>(child->edgestr[0]), c);
    EXPECT_EQ(stree_find_child(t.get(), t->root, c), child);
  }
  EXPECT_EQ(stree_find_child(t.get(), nullptr, 'a'), nullptr);
}

TEST_P(StreeLayout, SplitAndConvertKeepTheLeafsPlace) {
  one_leaf_tree o("acgt", GetParam(), 2);
  STREE_NODE mid = int_stree_edge_split(o.t.get(), o.leaf, 1);
  ASSERT_NE(mid, nullptr);
  EXPECT_EQ(stree_find_child(o.t.get(), o.t->root, 'a'), mid);
  EXPECT_EQ(mid->edgelen, 1);
  EXPECT_EQ(mid->suffix_link, nullptr);
  EXPECT_EQ(stree_find_child(o.t.get(), mid, 'c'), o.leaf);
  EXPECT_EQ(o.leaf->edgelen, 3);
  EXPECT_EQ(o.leaf->parent, mid);
  EXPECT_EQ(int_stree_edge_split(o.t.get(), o.leaf, 3), nullptr);
  EXPECT_EQ(int_stree_edge_split(o.t.get(), o.leaf, 0), nullptr);
  STREE_NODE node = int_stree_convert_leafnode(o.t.get(), o.leaf);
  ASSERT_NE(node, nullptr);
  EXPECT_FALSE(node->isaleaf);
  EXPECT_EQ(stree_find_child(o.t.get(), mid, 'c'), node);
  ASSERT_NE(node->leaves, nullptr);
  EXPECT_EQ(node->leaves->pos, 0);
  EXPECT_EQ(node->edgelen, 3);
  EXPECT_EQ(int_stree_convert_leafnode(o.t.get(), node), nullptr);
  EXPECT_EQ(int_stree_add_intleaf(o.t.get(), node, 0, 0), 1);
  EXPECT_EQ(int_stree_add_intleaf(o.t.get(), nullptr, 0, 0), 0);
}

TEST_P(StreeLayout, ConnectToALeafMakesANodeInItsPlace) {
  one_leaf_tree o("ac", GetParam(), 2);
  std::string longer = "acg";
  int id = int_stree_insert_string(o.t.get(), &longer[0], nullptr, 3, 8);
  STREE_LEAF leaf = int_stree_new_leaf(o.t.get(), id, 2, 0);
  STREE_NODE node = int_stree_connect(o.t.get(), o.leaf, leaf);
  ASSERT_NE(node, nullptr);
  EXPECT_FALSE(node->isaleaf);
  EXPECT_EQ(stree_find_child(o.t.get(), o.t->root, 'a'), node);
  EXPECT_EQ(stree_find_child(o.t.get(), node, 'g'), reinterpret_cast<STREE_NODE>(leaf));
  EXPECT_EQ(node->leaves->strid, 0);
}

INSTANTIATE_TEST_SUITE_P(Policies, StreeLayout, ::testing::Values(0, 1));

// Under an injected allocation failure each primitive gives its failure
// result and leaves the tree as it was.
TEST(StreeFailure, PrimitivesFailCleanly) {
  one_leaf_tree o("acgt", 1, 2);
  stree_testhook_fail_countdown = 1;
  EXPECT_EQ(stree_new_tree(4, 0, 0, 0), nullptr);
  stree_testhook_fail_countdown = 1;
  EXPECT_EQ(int_stree_edge_split(o.t.get(), o.leaf, 2), nullptr);
  for (long n : {1, 2}) {
    stree_testhook_fail_countdown = n;
    EXPECT_EQ(int_stree_convert_leafnode(o.t.get(), o.leaf), nullptr);
  }
  stree_testhook_fail_countdown = 1;
  EXPECT_EQ(int_stree_new_leaf(o.t.get(), 0, 1, 1), nullptr);
  STREE_LEAF leaf = int_stree_new_leaf(o.t.get(), 0, 1, 1);
  stree_testhook_fail_countdown = 1; // the table the root's second child needs
  EXPECT_EQ(int_stree_connect(o.t.get(), o.t->root, leaf), nullptr);
  int_stree_free_leaf(o.t.get(), leaf);
  stree_testhook_fail_countdown = 1;
  EXPECT_EQ(int_stree_add_intleaf(o.t.get(), o.t->root, 0, 0), 0);
  stree_testhook_fail_countdown = 0;
  EXPECT_EQ(stree_find_child(o.t.get(), o.t->root, 'a'), o.leaf);
  EXPECT_EQ(o.t->root->isanarray, 0);
  EXPECT_EQ(o.t->root->leaves, nullptr);
}

// Fails each allocation of a copying insert in turn (table growth, then
// the two copies) until one goes through. That nothing leaks is checked
// only by the sanitizer build's leak checker.
TEST(StreeFailure, CopyingInsertFailsAtEachAllocationLeaksCheckedBySanitizer) {
  tree_ptr t(stree_new_tree(4, 1, 0, 0));
  std::string s = "acgt";
  int failures = 0;
  for (long n = 1;; n++) {
    stree_testhook_fail_countdown = n;
    int slot = int_stree_insert_string(t.get(), &s[0], &s[0], 4, 1);
    bool fired = stree_testhook_fail_countdown == 0;
    stree_testhook_fail_countdown = 0;
    if (!fired) {
      EXPECT_EQ(slot, 0);
      break;
    }
    EXPECT_EQ(slot, -1) << "allocation " << n;
    failures++;
  }
  EXPECT_EQ(failures, 5);
  stree_testhook_fail_countdown = 2; // the raw copy, the table has room now
  EXPECT_EQ(int_stree_insert_string(t.get(), &s[0], &s[0], 4, 2), -1);
  stree_testhook_fail_countdown = 0;
  EXPECT_EQ(t->nextslot, 1);
}

} // namespace
