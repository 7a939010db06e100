#include "alichain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <set>

namespace {

constexpr int64_t KEY_MIN = std::numeric_limits<int64_t>::min();
constexpr int64_t KEY_MAX = std::numeric_limits<int64_t>::max();

int64_t largestKey(const NODE *n) {
  if (!n->pm) return n->lMax;
  return n->pr ? n->rMax : n->mMax;
}

// Checks the subtree under n; returns its leaf depth and appends its leaves.
int checkSubtree(const NODE *n, std::vector<const NODE *> &leaves) {
  if (!n->pm) {
    leaves.push_back(n);
    return 0;
  }
  EXPECT_TRUE(n->pl) << "internal node without left child";
  EXPECT_EQ(n->pl->pup, n);
  EXPECT_EQ(n->pm->pup, n);
  EXPECT_EQ(n->lMax, largestKey(n->pl));
  EXPECT_EQ(n->mMax, largestKey(n->pm));
  const int depth = checkSubtree(n->pl, leaves);
  EXPECT_EQ(checkSubtree(n->pm, leaves), depth) << "leaves at different depths";
  if (n->pr) {
    EXPECT_EQ(n->pr->pup, n);
    EXPECT_EQ(n->rMax, largestKey(n->pr));
    EXPECT_EQ(checkSubtree(n->pr, leaves), depth) << "leaves at different depths";
  }
  return depth + 1;
}

// Every invariant of the pass's tree, and its keys equal `expected`.
void checkTree(const PASS &pass, const std::set<int64_t> &expected) {
  ASSERT_TRUE(pass.tree);
  EXPECT_EQ(pass.tree->pup, nullptr);
  std::vector<const NODE *> leaves;
  checkSubtree(pass.tree, leaves);
  if (::testing::Test::HasFailure()) return;
  ASSERT_GE(leaves.size(), 2u);
  EXPECT_EQ(leaves.front()->lMax, KEY_MIN);
  EXPECT_EQ(leaves.front()->pl, nullptr);
  EXPECT_EQ(leaves.back()->lMax, KEY_MAX);
  EXPECT_EQ(leaves.back()->pr, nullptr);
  EXPECT_EQ(findRightSentinel(pass), leaves.back());
  std::vector<int64_t> keys;
  for (size_t i = 0; i < leaves.size(); ++i) {
    if (i > 0) {
      EXPECT_EQ(leaves[i]->pl, leaves[i - 1]) << "leaf list broken";
      EXPECT_LT(leaves[i - 1]->lMax, leaves[i]->lMax) << "leaf keys not strictly increasing";
    }
    if (i + 1 < leaves.size()) {
      EXPECT_EQ(leaves[i]->pr, leaves[i + 1]) << "leaf list broken";
    }
    if (i > 0 && i + 1 < leaves.size()) keys.push_back(leaves[i]->lMax);
  }
  EXPECT_EQ(keys, std::vector<int64_t>(expected.begin(), expected.end()));
}

class ScoreTree : public ::testing::Test {
 protected:
  void SetUp() override { initTree(pass); }

  // Stores a leaf with key y through the public operations.
  void insertKey(int64_t y) {
    pass.ali.push_back(ALI{0, 0, 0, y, static_cast<int64_t>(pass.ali.size()) + 1, UINT64_MAX});
    NODE *leaf = findLeaf(y);
    ASSERT_GT(leaf->lMax, y) << "key already stored";
    insert(pass, pass.ali.size() - 1, leaf->pl);
  }
  void deleteKey(int64_t y) {
    NODE *leaf = findLeaf(y);
    ASSERT_EQ(leaf->lMax, y);
    deleteLeaf(pass, leaf);
  }
  NODE *findLeaf(int64_t y) { return ::findLeaf(pass, y); }
  void checkTree(const std::set<int64_t> &expected) { ::checkTree(pass, expected); }

  PASS pass;
};

TEST_F(ScoreTree, FreshTreeHasOnlySentinels) {
  checkTree({});
  for (int64_t y : {KEY_MIN + 1, int64_t{-5}, int64_t{0}, int64_t{7}, KEY_MAX}) {
    const NODE *leaf = findLeaf(y);
    EXPECT_EQ(leaf->lMax, KEY_MAX);
    EXPECT_EQ(leaf->pl->lMax, KEY_MIN);
    EXPECT_EQ(static_cast<uint64_t>(leaf->pl->mMax), NO_ALIGNMENT);
    EXPECT_EQ(leaf->pl->rMax, 0);
  }
  EXPECT_EQ(findLeaf(KEY_MIN)->lMax, KEY_MIN);
}

TEST_F(ScoreTree, FindLeafReturnsSmallestKeyNotBelow) {
  for (int64_t y : {10, 20, 30, 40, 50}) insertKey(y);
  EXPECT_EQ(findLeaf(30)->lMax, 30);
  EXPECT_EQ(findLeaf(31)->lMax, 40);
  EXPECT_EQ(findLeaf(31)->pl->lMax, 30);
  EXPECT_EQ(findLeaf(9)->lMax, 10);
  EXPECT_EQ(findLeaf(51)->lMax, KEY_MAX);
  EXPECT_EQ(findLeaf(50)->mMax, 4) << "leaf carries its alignment number";
}

TEST_F(ScoreTree, AscendingInsertsThenDeletesInEveryOrderFamily) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    pass = PASS();
    initTree(pass);
    std::set<int64_t> keys;
    for (int64_t y = 1; y <= 10; ++y) {
      insertKey(y);
      keys.insert(y);
      checkTree(keys);
    }
    std::vector<int64_t> order(keys.begin(), keys.end());
    std::shuffle(order.begin(), order.end(), rng);
    for (int64_t y : order) {
      deleteKey(y);
      keys.erase(y);
      checkTree(keys);
      ASSERT_FALSE(HasFailure()) << "round " << round << " deleting " << y;
    }
  }
}

TEST_F(ScoreTree, RandomOperationSequencesKeepEveryInvariant) {
  std::mt19937_64 rng(12345);
  for (int round = 0; round < 40; ++round) {
    initTree(pass);  // reuses the nodes of the previous round's tree
    std::set<int64_t> keys;
    const int64_t range = round % 2 ? 60 : 1000000;
    for (int step = 0; step < 400; ++step) {
      const int64_t y = static_cast<int64_t>(rng() % static_cast<uint64_t>(range)) - range / 2;
      const bool remove = !keys.empty() && rng() % 5 < 2;
      if (remove) {
        auto it = keys.lower_bound(y);
        if (it == keys.end()) it = keys.begin();
        const int64_t victim = *it;
        deleteKey(victim);
        keys.erase(victim);
      } else if (!keys.count(y)) {
        insertKey(y);
        keys.insert(y);
      }
      checkTree(keys);
      ASSERT_FALSE(HasFailure()) << "round " << round << " step " << step;
    }
  }
}

TEST_F(ScoreTree, BatchedSearchFindsWhatSingleSearchesFind) {
  std::mt19937_64 rng(3);
  for (int64_t y = 0; y < 500; y += 1 + static_cast<int64_t>(rng() % 7)) insertKey(y);
  std::vector<int64_t> keys;
  for (int i = 0; i < 16; ++i) keys.push_back(static_cast<int64_t>(rng() % 520) - 10);
  keys.push_back(KEY_MIN);
  keys.push_back(KEY_MAX);
  std::vector<NODE *> leaves(keys.size());
  findLeaves(pass, keys.data(), leaves.data(), keys.size());
  for (size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(leaves[i], findLeaf(keys[i])) << keys[i];
}

TEST_F(ScoreTree, ExtremeKeysNextToTheSentinels) {
  insertKey(KEY_MIN + 1);
  insertKey(KEY_MAX - 1);
  checkTree({KEY_MIN + 1, KEY_MAX - 1});
  EXPECT_EQ(findLeaf(KEY_MAX - 1)->lMax, KEY_MAX - 1);
  deleteKey(KEY_MIN + 1);
  checkTree({KEY_MAX - 1});
}

}  // namespace
