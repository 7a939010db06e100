// The parallel suffix sorter against divsufsort, at both widths and for
// many part counts, on texts made to reach each of its paths: small and
// full byte alphabets, runs of one byte, tandem repeats, texts joined by
// zero separators (empty ones too), the shortest texts, and repeats long
// enough to leave groups tied for prefix doubling; then every failing
// allocation gives -1 without a leak.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "failing_alloc.h"
#include "lumo_saindex_sort.h"

namespace {

using lumo_saindex_impl::sort_suffixes_parallel;
using lumo_saindex_impl::sort_serially;

std::string random_bytes(std::mt19937 &rng, const std::string &letters, size_t n) {
  std::string s(n, ' ');
  for (char &c : s) c = letters[rng() % letters.size()];
  return s;
}

std::string all_bytes() {
  std::string s;
  for (int c = 0; c < 256; c++) s += char(c);
  return s;
}

// A unit repeated, each copy with a few changed bytes, so that groups stay
// tied far past the direct sort's depth (so many that the sorter hands the
// text to divsufsort).
std::string repeats(std::mt19937 &rng, size_t unit, int copies, const std::string &letters) {
  std::string base = random_bytes(rng, letters, unit), s;
  for (int c = 0; c < copies; c++) {
    std::string copy = base;
    if (c % 2) copy[rng() % unit] = letters[rng() % letters.size()];
    s += copy;
  }
  return s;
}

std::string joined(const std::vector<std::string> &texts) {
  std::string s;
  for (const std::string &t : texts) s += t + '\0';
  return s;
}

struct Family {
  const char *name;
  std::function<std::vector<std::string>(std::mt19937 &)> texts;
};

const Family families[] = {
    {"SmallAlphabets",
     [](std::mt19937 &rng) {
       return std::vector<std::string>{random_bytes(rng, "ab", 3000), random_bytes(rng, "abc", 5000),
                                       random_bytes(rng, "0123", 20000), joined({random_bytes(rng, "0123", 9000)})};
     }},
    {"AllBytes",
     [](std::mt19937 &rng) {
       return std::vector<std::string>{random_bytes(rng, all_bytes(), 4000), random_bytes(rng, std::string("\x00\x01\xff", 3), 4000),
                                       random_bytes(rng, "\xfe\xff", 3000)};
     }},
    {"RunsOfOneByte",
     [](std::mt19937 &rng) {
       std::string runs;
       while (runs.size() < 6000) runs += std::string(1 + rng() % 300, "ab\0"[rng() % 3]);
       return std::vector<std::string>{std::string(5000, 'a'), std::string(700, '\0'), runs,
                                       std::string(3000, 'a') + "b" + std::string(3000, 'a')};
     }},
    {"TandemRepeats",
     [](std::mt19937 &rng) {
       std::vector<std::string> texts;
       for (size_t period = 1; period <= 7; period++) {
         std::string unit = random_bytes(rng, "acgt", period), s;
         while (s.size() < 2000 + period) s += unit;
         texts.push_back(s);
         texts.push_back(joined({s, s.substr(3), unit}));
       }
       return texts;
     }},
    {"JoinedTexts",
     [](std::mt19937 &rng) {
       std::string unit = random_bytes(rng, "0123", 500);
       return std::vector<std::string>{
           joined({random_bytes(rng, "0123", 3000), "", "", random_bytes(rng, "0123", 7), unit, "", unit}),
           joined({"", "", ""}), joined({"1", "1", "1", "11", "1"})};
     }},
    {"ShortTexts",
     [](std::mt19937 &) {
       return std::vector<std::string>{"", "a", std::string(1, '\0'), "ab", "ba", "aa", std::string(2, '\0'),
                                       std::string("\xff\x00", 2)};
     }},
    {"LongRepeats",
     [](std::mt19937 &rng) {
       std::string half = random_bytes(rng, "0123", 4000);
       return std::vector<std::string>{repeats(rng, 300, 9, "0123"), half + half, joined({half, half, half + "3"}),
                                       repeats(rng, 5000, 3, "ab") + std::string(2000, 'b')};
     }},
    // Few enough tied suffixes for prefix doubling: two copies of a unit
    // longer than the word-by-word comparison reaches, and a run of one
    // byte giving a group too large for it.
    {"TiedForDoubling",
     [](std::mt19937 &rng) {
       std::string unit = random_bytes(rng, "0123", 3000);
       return std::vector<std::string>{random_bytes(rng, "0123", 30000) + unit + random_bytes(rng, "0123", 30000) + unit,
                                       random_bytes(rng, "0123", 30000) + std::string(200, '2') +
                                           random_bytes(rng, "0123", 30000)};
     }},
};

// The suffix array by divsufsort, through the library's one-thread sorter.
template <class Pos>
std::vector<Pos> reference_sort(const std::string &text) {
  std::vector<Pos> sa(text.size() + 1);
  EXPECT_EQ(0, sort_serially(reinterpret_cast<const unsigned char *>(text.data()), sa.data(), int64_t(text.size())));
  sa.resize(text.size());
  return sa;
}

template <class Pos>
void expect_same_as_divsufsort(const std::string &text, int parts) {
  std::vector<Pos> sa(text.size() + 1, -7);
  ASSERT_EQ(sort_suffixes_parallel(reinterpret_cast<const unsigned char *>(text.data()), sa.data(),
                                   int64_t(text.size()), parts),
            0);
  EXPECT_EQ(sa[text.size()], -7) << "wrote past the end";
  sa.resize(text.size());
  EXPECT_TRUE(sa == reference_sort<Pos>(text)) << "length " << text.size() << ", " << parts << " parts";
}

class SuffixSort : public ::testing::TestWithParam<std::tuple<Family, int>> {};

TEST_P(SuffixSort, EqualsDivsufsortAtBothWidths) {
  std::mt19937 rng(11);
  const int parts = std::get<1>(GetParam());
  for (const std::string &text : std::get<0>(GetParam()).texts(rng)) {
    expect_same_as_divsufsort<int32_t>(text, parts);
    expect_same_as_divsufsort<int64_t>(text, parts);
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, SuffixSort, ::testing::Combine(::testing::ValuesIn(families), ::testing::Values(1, 2, 3, 64, 77)),
                         [](const ::testing::TestParamInfo<std::tuple<Family, int>> &info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  std::to_string(std::get<1>(info.param)) + "parts";
                         });

// Failing each allocation in turn, on a text whose repeats reach prefix
// doubling: every failure gives -1, and none leaks (under the sanitizer).
TEST(SuffixSortOutOfMemory, EveryFailureGivesMinusOne) {
  std::mt19937 rng(5);
  const std::string unit = random_bytes(rng, "0123", 3000);
  const std::string text = random_bytes(rng, "0123", 20000) + unit + random_bytes(rng, "0123", 20000) + unit;
  const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
  std::vector<int32_t> sa(text.size());
  size_t calls;
  {
    FailingAlloc counting;
    ASSERT_EQ(sort_suffixes_parallel(bytes, sa.data(), int64_t(text.size()), 2), 0);
    calls = counting.requests().size();
  }
  for (size_t k = 1; k <= calls; k++) {
    FailingAlloc failing({int(k)});
    EXPECT_EQ(sort_suffixes_parallel(bytes, sa.data(), int64_t(text.size()), 2), -1) << "allocation " << k;
  }
}

}  // namespace
