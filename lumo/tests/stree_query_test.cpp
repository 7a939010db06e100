// Tree queries against brute force over the texts: random string sets
// (with repeats, so that internal leaves and deep nodes occur), every
// pattern's match and occurrences, every record's string depth, and the
// walk's visiting order.
#include "lumo_stree.h"
#include "stree_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using occurrence = std::pair<int, int>;  // (identifier, position)

std::string random_text(std::mt19937 &rng, const std::string &alphabet, size_t len) {
  std::string s(len, '\0');
  for (char &ch : s) ch = alphabet[rng() % alphabet.size()];
  return s;
}

// Texts over `alphabet` that share pieces: some are copies of a piece of an
// earlier text, or repeat a short word.
std::vector<std::string> related_texts(std::mt19937 &rng, const std::string &alphabet) {
  std::vector<std::string> texts;
  size_t count = 1 + rng() % 4;
  while (texts.size() < count) {
    std::string t = random_text(rng, alphabet, rng() % 40);
    if (!texts.empty() && rng() % 2) {
      const std::string &e = texts[rng() % texts.size()];
      t = e.substr(e.empty() ? 0 : rng() % e.size()) + t;
    }
    if (rng() % 4 == 0) t += std::string(rng() % 10, alphabet[0]);
    texts.push_back(t);
  }
  return texts;
}

std::set<occurrence> suffixes_below(SUFFIX_TREE tree, STREE_NODE top) {
  std::set<occurrence> found;
  STREE_SUFFIXES it;
  stree_suffixes_begin(&it, tree, top);
  int id, pos;
  while (stree_suffixes_next(&it, &id, &pos)) EXPECT_TRUE(found.insert({id, pos}).second);
  return found;
}

std::set<occurrence> occurrences(const std::vector<std::string> &texts, const std::string &p) {
  std::set<occurrence> found;
  for (size_t k = 0; k < texts.size(); k++)
    for (size_t pos = 0; pos < texts[k].size(); pos++)
      if (texts[k].compare(pos, p.size(), p) == 0) found.insert({int(k) + 1, int(pos)});
  return found;
}

// Length of the longest prefix of p that occurs in a text.
int longest_occurring_prefix(const std::vector<std::string> &texts, const std::string &p) {
  int len = 0;
  while (len < int(p.size()) && !occurrences(texts, p.substr(0, size_t(len) + 1)).empty()) len++;
  return len;
}

// The path label of a record, read up the parent links.
std::string path_label(STREE_NODE node) {
  std::string label;
  for (; node; node = node->parent) label.insert(0, node->edgestr ? node->edgestr : "", size_t(node->edgelen));
  return label;
}

// Calls check(rng, texts, tree) on 150 random string sets over `alphabet`,
// built in both child layouts by turns.
template <typename Check>
void on_random_trees(const std::string &alphabet, unsigned seed, Check check) {
  std::mt19937 rng(seed);
  for (int round = 0; round < 150; round++) {
    std::vector<std::string> texts = related_texts(rng, alphabet);
    string_set set(texts);
    tree_ptr t(stree_gen_ukkonen_build(set.array(), set.count(), round % 2, 2));
    ASSERT_NE(t, nullptr);
    check(rng, texts, t.get());
  }
}

class Queries : public ::testing::TestWithParam<std::string> {};

TEST_P(Queries, MatchEndsWhereThePatternsOccurrencesAre) {
  const std::string alphabet = GetParam();
  on_random_trees(alphabet, 7, [&](std::mt19937 &rng, const std::vector<std::string> &texts,
                                   SUFFIX_TREE t) {
    for (int k = 0; k < 20; k++) {
      // Half the patterns start inside a text, so that long matches occur.
      const std::string &e = texts[rng() % texts.size()];
      std::string p = random_text(rng, alphabet, rng() % 8);
      if (k % 2 && !e.empty()) p = e.substr(rng() % e.size(), rng() % 12) + p;
      STREE_NODE node = nullptr;
      int pos = -1;
      int len = stree_match(t, p.data(), int(p.size()), &node, &pos);
      ASSERT_EQ(len, longest_occurring_prefix(texts, p)) << p;
      ASSERT_NE(node, nullptr);
      std::string label = path_label(node);
      ASSERT_EQ(label.substr(0, label.size() - size_t(node->edgelen - pos)), p.substr(0, size_t(len)));
      if (len > 0) {
        EXPECT_EQ(suffixes_below(t, node), occurrences(texts, p.substr(0, size_t(len))));
      }
    }
  });
}

TEST_P(Queries, WalkGivesEveryRecordItsDepthInDepthFirstOrder) {
  on_random_trees(GetParam(), 11, [](std::mt19937 &, const std::vector<std::string> &texts,
                                     SUFFIX_TREE t) {
    STREE_WALK walk;
    stree_walk_begin(&walk, t, t->root);
    std::vector<STREE_NODE> open;  // internal nodes entered and not yet left
    int suffixes = 0;
    while (stree_walk_next(&walk)) {
      STREE_NODE n = walk.node;
      std::string label = path_label(n);
      ASSERT_EQ(walk.depth, int(label.size()));
      if (walk.leaving) {
        ASSERT_FALSE(open.empty());
        ASSERT_EQ(open.back(), n);
        open.pop_back();
        continue;
      }
      if (n != t->root) {
        ASSERT_EQ(open.back(), n->parent);
      }
      // Every suffix below the record starts with its path label.
      for (const occurrence &o : suffixes_below(t, n))
        ASSERT_EQ(texts[size_t(o.first) - 1].compare(size_t(o.second), label.size(), label), 0);
      if (n->isaleaf) {
        STREE_LEAF leaf = reinterpret_cast<STREE_LEAF>(n);
        EXPECT_EQ(walk.depth, t->lengths[leaf->strid] - leaf->pos);
        suffixes++;
      } else {
        open.push_back(n);
        for (STREE_INTLEAF il = n->leaves; il; il = il->next) {
          EXPECT_EQ(walk.depth, t->lengths[il->strid] - il->pos);
          suffixes++;
        }
      }
    }
    EXPECT_TRUE(open.empty());
    size_t total = 0;
    for (const std::string &s : texts) total += s.size();
    EXPECT_EQ(size_t(suffixes), total);
    EXPECT_EQ(suffixes_below(t, t->root).size(), total);
  });
}

INSTANTIATE_TEST_SUITE_P(Alphabets, Queries,
                         ::testing::Values(std::string("ab"), std::string("0123"),
                                           std::string("\x80\xff\x01", 3)));

TEST(Queries, WalkOfALeafOrAnEmptyTree) {
  std::vector<std::string> texts{"abcab"};
  string_set set(texts);
  tree_ptr t(stree_gen_ukkonen_build(set.array(), 1, 0, 0));
  STREE_NODE node;
  int pos;
  ASSERT_EQ(stree_match(t.get(), "cab", 3, &node, &pos), 3);
  ASSERT_TRUE(node->isaleaf);
  EXPECT_EQ(suffixes_below(t.get(), node), (std::set<occurrence>{{1, 2}}));
  STREE_WALK walk;
  stree_walk_begin(&walk, t.get(), node);
  ASSERT_TRUE(stree_walk_next(&walk));
  EXPECT_EQ(walk.depth, 3);
  EXPECT_FALSE(stree_walk_next(&walk));

  tree_ptr empty(stree_new_tree(4, 0, 0, 0));
  EXPECT_EQ(stree_match(empty.get(), "a", 1, &node, &pos), 0);
  EXPECT_EQ(node, empty->root);
  EXPECT_EQ(pos, 0);
  EXPECT_TRUE(suffixes_below(empty.get(), empty->root).empty());
  EXPECT_EQ(stree_match(nullptr, "a", 1, &node, &pos), -1);
  EXPECT_EQ(stree_match(empty.get(), nullptr, 1, &node, &pos), -1);
  stree_walk_begin(&walk, nullptr, nullptr);
  EXPECT_FALSE(stree_walk_next(&walk));
}

}  // namespace
