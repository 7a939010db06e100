// Property tests of the suffix-tree builder: random string sets over small
// alphabets and high bytes, related to each other by repeats, prefixes and
// substrings, are built in every child layout and walked by the invariant
// checker; and inputs of a million characters build, check and free.
#include "lumo_stree.h"
#include "stree_check.h"
#include "stree_test_util.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

struct layout {
  int policy, threshold;
};
const layout layouts[] = {{0, 0}, {1, 0}, {1, 3}};

std::string random_text(std::mt19937 &rng, const std::string &alphabet, size_t len) {
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::string s(len, '\0');
  for (char &ch : s) ch = alphabet[pick(rng)];
  return s;
}

// A string that is new, or made from an earlier one: a copy, a prefix, a
// substring, a repeat of a piece, or an earlier string extended.
std::string next_text(std::mt19937 &rng, const std::string &alphabet,
                      const std::vector<std::string> &earlier) {
  std::uniform_int_distribution<int> kind(0, earlier.empty() ? 0 : 5);
  std::uniform_int_distribution<size_t> short_len(0, 12), long_len(0, 300);
  size_t len = rng() % 3 ? short_len(rng) : long_len(rng);
  int k = kind(rng);
  if (k == 0) return random_text(rng, alphabet, len);
  const std::string &e = earlier[rng() % earlier.size()];
  size_t from = e.empty() ? 0 : rng() % e.size();
  switch (k) {
  case 1: return e;
  case 2: return e.substr(0, e.empty() ? 0 : rng() % (e.size() + 1));
  case 3: return e.substr(from, len);
  case 4: {
    std::string piece = e.substr(from, 1 + rng() % 4), s;
    while (!piece.empty() && s.size() < len) s += piece;
    return s;
  }
  default: return e + random_text(rng, alphabet, 1 + len % 5);
  }
}

class UkkonenProperty : public ::testing::TestWithParam<std::string> {};

TEST_P(UkkonenProperty, EverySuffixIsPlacedOnceInEveryLayout) {
  const std::string alphabet = GetParam();
  std::mt19937 rng(static_cast<unsigned>(alphabet.size() * 7919 + static_cast<unsigned char>(alphabet[0])));
  for (int round = 0; round < 200; round++) {
    std::vector<std::string> texts;
    size_t count = 1 + rng() % 6;
    while (texts.size() < count) texts.push_back(next_text(rng, alphabet, texts));
    string_set set(texts);
    for (const layout &l : layouts) {
      tree_ptr t(stree_gen_ukkonen_build(set.array(), set.count(), l.policy, l.threshold));
      ASSERT_NE(t, nullptr);
      std::string err = stree_check(t.get());
      ASSERT_EQ(err, "") << "round " << round << " policy " << l.policy << " threshold "
                         << l.threshold;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Alphabets, UkkonenProperty,
                         ::testing::Values(std::string("a"), std::string("ab"),
                                           std::string("abc"), std::string("acgt"),
                                           std::string("01234"),
                                           std::string("\x80\xff\x7f\x01", 4),
                                           std::string("\0\xfe\x81", 3)));

TEST(UkkonenLarge, MillionIdenticalCharacters) {
  std::vector<std::string> texts{std::string(1000000, 'a')};
  string_set set(texts);
  tree_ptr t(stree_gen_ukkonen_build(set.array(), 1, 0, 0));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->num_nodes, 1);
  EXPECT_EQ(stree_check(t.get()), "");
}

TEST(UkkonenLarge, MillionRandomDnaCodes) {
  std::mt19937 rng(42);
  std::vector<std::string> texts{random_text(rng, "0123", 1000000)};
  string_set set(texts, 5);
  tree_ptr t(stree_gen_ukkonen_build(set.array(), 1, 0, 0));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(stree_check(t.get()), "");
}

} // namespace
