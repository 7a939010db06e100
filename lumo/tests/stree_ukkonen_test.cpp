// Tests of the suffix-tree builder: the small cases whose shape is known,
// the failure paths, random string sets checked by the invariant walker,
// and large inputs.
#include "lumo_stree.h"
#include "lumo_stree_testhook.h"
#include "stree_check.h"
#include "stree_test_util.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

tree_ptr new_tree(int policy = 0, int threshold = 0) {
  return tree_ptr(stree_new_tree(4, 0, policy, threshold));
}

TEST(UkkonenSmall, EmptyStringIsEnteredAndChangesNothingElse) {
  tree_ptr t = new_tree();
  std::string empty;
  EXPECT_EQ(add_text(t.get(), empty, 9), 1);
  EXPECT_EQ(t->nextslot, 1);
  EXPECT_EQ(t->ids[0], 9);
  EXPECT_EQ(t->num_nodes, 0);
  EXPECT_EQ(stree_next_child(t.get(), t->root, nullptr), nullptr);
  EXPECT_EQ(t->root->leaves, nullptr);
}

TEST(UkkonenSmall, TwoEqualCharactersSplitTheFirstLeaf) {
  tree_ptr t = new_tree();
  std::string aa = "aa";
  ASSERT_EQ(add_text(t.get(), aa, 1), 1);
  EXPECT_EQ(t->num_nodes, 1);
  STREE_NODE node = stree_find_child(t.get(), t->root, 'a');
  ASSERT_NE(node, nullptr);
  ASSERT_FALSE(node->isaleaf);
  EXPECT_EQ(node->edgelen, 1);
  EXPECT_EQ(node->suffix_link, t->root);
  ASSERT_NE(node->leaves, nullptr);
  EXPECT_EQ(node->leaves->pos, 1);
  EXPECT_EQ(node->leaves->next, nullptr);
  STREE_NODE leaf = stree_find_child(t.get(), node, 'a');
  ASSERT_NE(leaf, nullptr);
  ASSERT_TRUE(leaf->isaleaf);
  EXPECT_EQ(reinterpret_cast<STREE_LEAF>(leaf)->pos, 0);
  EXPECT_EQ(leaf->edgelen, 1);
  EXPECT_EQ(stree_next_child(t.get(), node, leaf), nullptr);
  EXPECT_EQ(stree_check(t.get()), "");
}

// A second string that the first already contains makes no leaf: all of
// its suffixes become internal leaves.
struct contained_case {
  const char *first, *second;
};

void PrintTo(const contained_case &c, std::ostream *os) {
  *os << '"' << c.first << "\" then \"" << c.second << '"';
}

class UkkonenContained : public ::testing::TestWithParam<contained_case> {};

TEST_P(UkkonenContained, SecondStringOnlyAddsInternalLeaves) {
  tree_ptr t = new_tree();
  std::string a = GetParam().first, b = GetParam().second;
  ASSERT_EQ(add_text(t.get(), a, 1), 1);
  int before = t->num_nodes;
  ASSERT_EQ(add_text(t.get(), b, 2), 1);
  EXPECT_EQ(t->num_nodes, before);
  placement_counts pc = count_placements(t.get());
  EXPECT_EQ(pc.leaves[1], 0);
  EXPECT_EQ(pc.intleaves[1], static_cast<int>(b.size()));
  EXPECT_EQ(stree_check(t.get()), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, UkkonenContained,
                         ::testing::Values(contained_case{"abcab", "abcab"},
                                           contained_case{"mississippi", "mississippi"},
                                           contained_case{"abcabx", "abca"},
                                           contained_case{"xabcaby", "bcab"},
                                           contained_case{"aaaaa", "aaa"}));

TEST(UkkonenSmall, AppendedCharacterTurnsEveryLeafIntoANode) {
  tree_ptr t = new_tree();
  std::string a = "abcd", b = "abcde";
  ASSERT_EQ(add_text(t.get(), a, 1), 1);
  EXPECT_EQ(t->num_nodes, 4);
  ASSERT_EQ(add_text(t.get(), b, 2), 1);
  EXPECT_EQ(t->num_nodes, 4 + 5);
  STREE_NODE prev = nullptr;
  for (const char *suffix : {"d", "cd", "bcd", "abcd"}) {
    STREE_NODE n = stree_find_child(t.get(), t->root, suffix[0]);
    ASSERT_NE(n, nullptr);
    ASSERT_FALSE(n->isaleaf) << suffix;
    EXPECT_EQ(n->suffix_link, prev ? prev : t->root) << suffix;
    STREE_NODE e = stree_find_child(t.get(), n, 'e');
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->isaleaf);
    prev = n;
  }
  EXPECT_NE(stree_find_child(t.get(), t->root, 'e'), nullptr);
  EXPECT_EQ(stree_check(t.get()), "");
}

TEST(UkkonenSmall, HighBytesReachFindChildAsNegativeInts) {
  tree_ptr t = new_tree();
  std::string s = "\x80\xff\x80\xff\x01";
  ASSERT_EQ(add_text(t.get(), s, 1), 1);
  EXPECT_NE(stree_find_child(t.get(), t->root, static_cast<signed char>('\xff')), nullptr);
  EXPECT_NE(stree_find_child(t.get(), t->root, 0xff), nullptr);
  EXPECT_EQ(stree_find_child(t.get(), t->root, 'z'), nullptr);
  EXPECT_EQ(stree_check(t.get()), "");
}

// Every byte value is a character: a string holding all 256 of them, once
// forward and once backward, and a second string of them all in steps of 7.
TEST(UkkonenSmall, EveryByteValueIsACharacter) {
  std::string all;
  for (int b = 0; b < 256; b++) all.push_back(static_cast<char>(b));
  std::string twice = all + std::string(all.rbegin(), all.rend());
  std::string stepped;
  for (int b = 0; b < 256 * 7; b += 7) stepped.push_back(static_cast<char>(b % 256));
  for (int policy : {0, 1}) {
    tree_ptr t(stree_new_tree(256, 0, policy, 2));
    ASSERT_EQ(add_text(t.get(), twice, 1), 1);
    ASSERT_EQ(add_text(t.get(), stepped, 2), 1);
    for (int b = 0; b < 256; b++) EXPECT_NE(stree_find_child(t.get(), t->root, b), nullptr);
    EXPECT_EQ(stree_check(t.get()), "");
  }
}

TEST(UkkonenSmall, RejectsBadArguments) {
  tree_ptr t = new_tree();
  std::string s = "ab";
  EXPECT_EQ(stree_ukkonen_add_string(nullptr, &s[0], nullptr, 2, 1), 0);
  EXPECT_EQ(stree_ukkonen_add_string(t.get(), &s[0], nullptr, -1, 1), 0);
  EXPECT_EQ(stree_ukkonen_add_string(t.get(), nullptr, nullptr, 2, 1), 0);
  EXPECT_EQ(t->nextslot, 0);
}

TEST(GenBuild, GivesIdentifiersInArrayOrderAndKeepsRawLabels) {
  string_set set({"acgt", "cgta", "gtac"}, 5);
  tree_ptr t(stree_gen_ukkonen_build(set.array(), set.count(), 0, 0));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->alpha_size, 5);
  ASSERT_EQ(t->nextslot, 3);
  for (int k = 0; k < 3; k++) EXPECT_EQ(t->ids[k], k + 1);
  STREE_NODE n = stree_find_child(t.get(), t->root, 'g');
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->rawedgestr[0], 'G');
  EXPECT_EQ(stree_check(t.get()), "");
}

TEST(GenBuild, RefusesEmptyNegativeOrNullInput) {
  string_set set({"acgt", "cg"});
  EXPECT_EQ(stree_gen_ukkonen_build(nullptr, 2, 0, 0), nullptr);
  EXPECT_EQ(stree_gen_ukkonen_build(set.array(), 0, 0, 0), nullptr);
  EXPECT_EQ(stree_gen_ukkonen_build(set.array(), -1, 0, 0), nullptr);
  EXPECT_EQ(stree_gen_ukkonen_build(set.array(), 2, 7, 0), nullptr);
  set.recs[1].sequence = nullptr; // a length without a text
  EXPECT_EQ(stree_gen_ukkonen_build(set.array(), 2, 0, 0), nullptr);
  set.ptrs[1] = nullptr;
  EXPECT_EQ(stree_gen_ukkonen_build(set.array(), 2, 0, 0), nullptr);
}

// Allocations made while inserting the first of `set`'s strings into a new
// tree, counted through the failure hook.
long allocations_for_first(string_set &set) {
  const long plenty = 1L << 40;
  stree_testhook_fail_countdown = plenty;
  tree_ptr t(stree_gen_ukkonen_build(set.array(), 1, 0, 0));
  long used = plenty - stree_testhook_fail_countdown;
  stree_testhook_fail_countdown = 0;
  return used;
}

// That the tree is released is checked only by the sanitizer build's leak
// checker.
TEST(GenBuild, FailedSecondInsertionGivesNullLeaksCheckedBySanitizer) {
  string_set set({"acgtacgga", "cgtacc", "ttt"});
  long first = allocations_for_first(set);
  stree_testhook_fail_countdown = first + 1;
  EXPECT_EQ(stree_gen_ukkonen_build(set.array(), 3, 0, 0), nullptr);
  stree_testhook_fail_countdown = 0;
}

// Every allocation of a build fails in turn: each gives null and leaks
// nothing (the leak checker of the sanitizer build watches).
class GenBuildFailure : public ::testing::TestWithParam<int> {};

TEST_P(GenBuildFailure, EveryAllocationFailureGivesNull) {
  string_set set({"acgtacggacgt", "gtacc", "acgtacggacgtt", "a", "cccc"});
  for (long n = 1;; n++) {
    stree_testhook_fail_countdown = n;
    tree_ptr t(stree_gen_ukkonen_build(set.array(), set.count(), GetParam(), 2));
    bool fired = stree_testhook_fail_countdown == 0;
    stree_testhook_fail_countdown = 0;
    if (!fired) {
      ASSERT_NE(t, nullptr);
      EXPECT_EQ(stree_check(t.get()), "");
      break;
    }
    EXPECT_EQ(t, nullptr) << "allocation " << n;
  }
}

INSTANTIATE_TEST_SUITE_P(Policies, GenBuildFailure, ::testing::Values(0, 1));

} // namespace
