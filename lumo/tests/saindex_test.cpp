// The suffix-array index against brute force: the matching statistic of
// every query position, with its uniqueness, and every occurrence of a
// query prefix, on random sets of texts over small alphabets (so repeats
// abound) and over DNA codes (so the first-word table is used); then the
// file form: a round trip, and every kind of bad file refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <atomic>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "failing_alloc.h"
#include "lumo_parallel.h"
#include "lumo_saindex.h"

namespace {

struct Texts {
  std::vector<std::string> texts, names;
  LUMO_SAINDEX *build(int threads = 1, int flags = 0) const {
    std::vector<const char *> t, n;
    std::vector<int64_t> l;
    for (size_t i = 0; i < texts.size(); i++) {
      t.push_back(texts[i].c_str());
      n.push_back(names[i].c_str());
      l.push_back(int64_t(texts[i].size()));
    }
    return lumo_saindex_build_parallel(int(t.size()), n.data(), t.data(), l.data(), threads, flags);
  }
  std::string joined() const {
    std::string j;
    for (const std::string &t : texts) j += t + '\0';
    return j;
  }
};

std::string random_text(std::mt19937 &rng, const std::string &letters, size_t n) {
  std::string s(n, ' ');
  for (char &c : s) c = letters[rng() % letters.size()];
  return s;
}

// A query of pieces of the texts, changed here and there, and of noise.
std::string related_query(std::mt19937 &rng, const Texts &set, const std::string &letters) {
  std::string q;
  while (q.size() < 80) {
    const std::string &t = set.texts[rng() % set.texts.size()];
    std::string piece = t.substr(rng() % t.size(), 5 + rng() % 40);
    if (rng() % 2) piece[rng() % piece.size()] = letters[rng() % letters.size()];
    q += piece + random_text(rng, letters, rng() % 3);
  }
  return q;
}

int64_t common(const std::string &joined, size_t p, const std::string &q, size_t from) {
  int64_t k = 0;
  while (p + k < joined.size() && from + k < q.size() && joined[p + k] == q[from + k]) k++;
  return k;
}

// (length, occurrences of the matched text up to 2) at each position.
std::vector<std::pair<int64_t, int>> brute_statistics(const std::string &joined, const std::string &q) {
  std::vector<std::pair<int64_t, int>> out;
  for (size_t from = 0; from < q.size(); from++) {
    int64_t best = 0;
    int count = 0;
    for (size_t p = 0; p < joined.size(); p++) {
      int64_t l = common(joined, p, q, from);
      if (l > best) best = l, count = 1;
      else if (l == best && l > 0) count = count < 2 ? count + 1 : 2;
    }
    out.emplace_back(best, count);
  }
  return out;
}

struct Alphabet {
  std::string letters;
  size_t text_length;
  int flags;  // 0 or LUMO_SAINDEX_WIDE: each case runs at both widths
};

class SaindexRandom : public ::testing::TestWithParam<Alphabet> {};

TEST_P(SaindexRandom, MatchingStatisticsEqualBruteForce) {
  std::mt19937 rng(11);
  const Alphabet a = GetParam();
  for (int round = 0; round < 60; round++) {
    Texts set;
    int count = 1 + int(rng() % 3);
    for (int i = 0; i < count; i++) {
      std::string t = random_text(rng, a.letters, 1 + rng() % a.text_length);
      if (round % 2 && !set.texts.empty()) t += set.texts[0];  // a repeat across texts
      set.texts.push_back(t);
      set.names.push_back("t" + std::to_string(i));
    }
    LUMO_SAINDEX *index = set.build(1, a.flags);
    ASSERT_NE(index, nullptr);
    ASSERT_EQ(lumo_saindex_position_bits(index), a.flags ? 64 : 32);
    const std::string joined = set.joined();
    std::string q = related_query(rng, set, a.letters);
    auto expected = brute_statistics(joined, q);
    int64_t min_length = 1 + int64_t(rng() % 24);  // beyond about 8 the search looks ahead
    LUMO_SAMATCH m{};
    size_t at = 0;
    while (lumo_saindex_match_next(index, q.data(), int64_t(q.size()), min_length, &m)) {
      ASSERT_EQ(m.q, int64_t(at));
      auto [length, occurrences] = expected[at];
      at++;
      if (length < min_length) {
        EXPECT_LE(m.length, length);
        continue;
      }
      ASSERT_EQ(m.length, length) << "query " << q << " at " << m.q;
      EXPECT_EQ(common(joined, size_t(m.pos), q, size_t(m.q)), length);
      EXPECT_EQ(m.repeat >= m.length, occurrences > 1) << "at " << m.q;
      // Prefixes longer than `repeat` occur only at pos.
      if (m.repeat < m.length) {
        std::string longer = joined.substr(size_t(m.pos), size_t(m.repeat + 1));
        EXPECT_EQ(joined.find(longer), joined.rfind(longer));
      }
    }
    EXPECT_EQ(at, q.size());
    lumo_saindex_free(index);
  }
}

TEST_P(SaindexRandom, HitsAreEveryOccurrenceOfAPrefix) {
  std::mt19937 rng(12);
  const Alphabet a = GetParam();
  for (int round = 0; round < 60; round++) {
    Texts set{{random_text(rng, a.letters, 1 + rng() % a.text_length), random_text(rng, a.letters, 30)},
              {"a", "b"}};
    LUMO_SAINDEX *index = set.build(1, a.flags);
    ASSERT_NE(index, nullptr);
    const std::string joined = set.joined();
    std::string q = related_query(rng, set, a.letters).substr(0, 30);
    int64_t min_length = 1 + int64_t(rng() % 6);
    std::vector<std::pair<int64_t, int64_t>> expected, got;
    for (size_t p = 0; p < joined.size(); p++) {
      int64_t l = common(joined, p, q, 0);
      if (l >= min_length) expected.emplace_back(p, l);
    }
    LUMO_SAHITS hits;
    lumo_saindex_hits_begin(&hits, index, q.data(), int64_t(q.size()), min_length);
    int64_t pos, length;
    while (lumo_saindex_hits_next(&hits, &pos, &length)) got.emplace_back(pos, length);
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, expected) << q;
    lumo_saindex_free(index);
  }
}

INSTANTIATE_TEST_SUITE_P(Alphabets, SaindexRandom,
                         ::testing::Values(Alphabet{"01", 60, 0}, Alphabet{"0123", 300, 0},
                                           Alphabet{"01234", 2000, 0}, Alphabet{"01", 60, LUMO_SAINDEX_WIDE},
                                           Alphabet{"0123", 300, LUMO_SAINDEX_WIDE},
                                           Alphabet{"01234", 2000, LUMO_SAINDEX_WIDE}));

TEST(Saindex, LongRepeatsBeyondTheUniqueByte) {
  // A repeat of 600 characters: the one-byte unique lengths saturate.
  std::mt19937 rng(3);
  std::string unit = random_text(rng, "0123", 600);
  Texts set{{random_text(rng, "0123", 50) + unit + "3" + random_text(rng, "0123", 50) + unit + "2"}, {"r"}};
  LUMO_SAINDEX *index = set.build();
  ASSERT_NE(index, nullptr);
  std::string q = "1" + unit + "2";
  auto expected = brute_statistics(set.joined(), q);
  LUMO_SAMATCH m{};
  while (lumo_saindex_match_next(index, q.data(), int64_t(q.size()), 20, &m)) {
    auto [length, occurrences] = expected[size_t(m.q)];
    if (length < 20) continue;
    ASSERT_EQ(m.length, length);
    ASSERT_EQ(m.repeat >= m.length, occurrences > 1) << m.q;
  }
  lumo_saindex_free(index);
}

TEST(Saindex, RefusesUnusableTexts) {
  const char *texts[] = {"0123", "01\0" "23"};
  int64_t lengths[] = {4, 5};
  EXPECT_EQ(lumo_saindex_build(0, nullptr, texts, lengths), nullptr);
  EXPECT_EQ(lumo_saindex_build(2, nullptr, texts, lengths), nullptr);  // holds a byte 0
  int64_t empty[] = {0};
  EXPECT_EQ(lumo_saindex_build(1, nullptr, texts, empty), nullptr);
}

// Failing each allocation of a build in turn: every failure gives null and
// leaks nothing, but that of the call cutting a work block down (which
// keeps the larger block) and, on several threads, that of the spare block
// of the parallel ranges (which are then run on one thread).
struct FailingBuild {
  int threads, flags;
  size_t survivors;
};

class SaindexOutOfMemory : public ::testing::TestWithParam<FailingBuild> {};

TEST_P(SaindexOutOfMemory, GivesNullAndLeaksNothing) {
  const char *texts[] = {"01230123012301230123"};
  int64_t lengths[] = {20};
  const int threads = GetParam().threads;
  size_t calls;
  {
    FailingAlloc counting;
    LUMO_SAINDEX *index = lumo_saindex_build_parallel(1, nullptr, texts, lengths, threads, GetParam().flags);
    ASSERT_NE(index, nullptr);
    lumo_saindex_free(index);
    calls = counting.requests().size();
  }
  size_t built = 0;
  for (size_t k = 1; k <= calls; k++) {
    FailingAlloc failing({int(k)});
    LUMO_SAINDEX *index = lumo_saindex_build_parallel(1, nullptr, texts, lengths, threads, GetParam().flags);
    if (!index) continue;
    built++;
    LUMO_SAMATCH m{};
    ASSERT_EQ(lumo_saindex_match_next(index, "30123", 5, 1, &m), 1);
    EXPECT_EQ(m.length, 5);
    lumo_saindex_free(index);
  }
  EXPECT_EQ(built, GetParam().survivors);
}

INSTANTIATE_TEST_SUITE_P(Threads, SaindexOutOfMemory,
                         ::testing::Values(FailingBuild{1, 0, 1}, FailingBuild{2, 0, 2},
                                           FailingBuild{2, LUMO_SAINDEX_WIDE, 2}));

TEST(Saindex, LocateAndBuiltFrom) {
  Texts set{{"0123", "33"}, {"one", "two"}};
  LUMO_SAINDEX *index = set.build();
  ASSERT_NE(index, nullptr);
  int text = -1;
  int64_t offset = -1;
  EXPECT_EQ(lumo_saindex_locate(index, 5, &text, &offset), 1);
  EXPECT_EQ(std::make_pair(text, offset), std::make_pair(1, int64_t(0)));
  EXPECT_EQ(lumo_saindex_locate(index, 4, &text, &offset), 0);  // a separator
  EXPECT_EQ(lumo_saindex_locate(index, 8, &text, &offset), 0);
  const char *names[] = {"one", "two"}, *texts[] = {"0123", "33"}, *other[] = {"0123", "32"};
  int64_t lengths[] = {4, 2};
  EXPECT_EQ(lumo_saindex_built_from(index, 2, names, texts, lengths), 1);
  EXPECT_EQ(lumo_saindex_built_from(index, 2, names, other, lengths), 0);
  EXPECT_EQ(lumo_saindex_built_from(index, 1, names, texts, lengths), 0);
  lumo_saindex_free(index);
}

// ---- the file form

std::string saved(const LUMO_SAINDEX *index) {
  char *data = nullptr;
  size_t size = 0;
  FILE *out = open_memstream(&data, &size);
  EXPECT_EQ(lumo_saindex_save(index, out), 0);
  std::fclose(out);
  std::string bytes(data, size);
  std::free(data);
  return bytes;
}

std::tuple<LUMO_SAINDEX *, std::string> loaded(std::string bytes) {
  FILE *in = fmemopen(bytes.empty() ? nullptr : &bytes[0], bytes.size(), "rb");
  if (!in) in = std::tmpfile();
  char *message = nullptr;
  LUMO_SAINDEX *index = lumo_saindex_load(in, &message);
  std::fclose(in);
  std::string text = message ? message : "";
  std::free(message);
  return {index, text};
}

// At each width (the parameter: build flags), the width kept.
class SaindexRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(SaindexRoundTrip, SearchesAlike) {
  std::mt19937 rng(4);
  Texts set{{random_text(rng, "01234", 3000), random_text(rng, "0123", 500)}, {"chr1", "plasmid x"}};
  LUMO_SAINDEX *built = set.build(1, GetParam());
  ASSERT_NE(built, nullptr);
  auto [back, message] = loaded(saved(built));
  ASSERT_NE(back, nullptr) << message;
  EXPECT_EQ(lumo_saindex_position_bits(back), GetParam() ? 64 : 32);
  EXPECT_EQ(saved(back), saved(built));
  EXPECT_STREQ(lumo_saindex_name(back, 1), "plasmid x");
  EXPECT_EQ(lumo_saindex_length(back, 0), 3000);
  std::string q = related_query(rng, set, "0123");
  LUMO_SAMATCH a{}, b{};
  while (lumo_saindex_match_next(built, q.data(), int64_t(q.size()), 1, &a)) {
    ASSERT_EQ(lumo_saindex_match_next(back, q.data(), int64_t(q.size()), 1, &b), 1);
    EXPECT_EQ(std::make_tuple(a.length, a.pos, a.repeat), std::make_tuple(b.length, b.pos, b.repeat));
  }
  lumo_saindex_free(built);
  lumo_saindex_free(back);
}

INSTANTIATE_TEST_SUITE_P(Widths, SaindexRoundTrip, ::testing::Values(0, LUMO_SAINDEX_WIDE));

// A build on several threads gives the same index as one thread, saved
// byte for byte, at both widths: texts shorter than the thread count,
// repeats longer than the unique byte (prefixes that cross the ranges'
// borders) and several texts.
TEST(SaindexFile, ParallelBuildsSaveTheSameBytes) {
  std::mt19937 rng(8);
  std::string unit = random_text(rng, "0123", 700);
  std::vector<Texts> sets = {
      {{"2"}, {"one"}},
      {{random_text(rng, "01", 5000)}, {"binary"}},
      {{unit + unit + "1" + unit, random_text(rng, "01234", 4000) + unit}, {"repeats", "more"}},
      {{random_text(rng, "0123", 20000), random_text(rng, "0123", 3), random_text(rng, "0123", 9000)}, {"a", "b", "c"}}};
  for (const Texts &set : sets) {
    for (int flags : {0, LUMO_SAINDEX_WIDE}) {
      LUMO_SAINDEX *serial = set.build(1, flags);
      ASSERT_NE(serial, nullptr);
      for (int threads : {2, 3, 7, 100}) {
        LUMO_SAINDEX *parallel = set.build(threads, flags);
        ASSERT_NE(parallel, nullptr);
        EXPECT_EQ(saved(parallel), saved(serial)) << set.names[0] << ", " << threads << " threads";
        lumo_saindex_free(parallel);
      }
      lumo_saindex_free(serial);
    }
  }
}

struct BadFile {
  const char *label;
  std::string (*spoil)(std::string);
  const char *message;
};

class SaindexBadFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(SaindexBadFile, IsRefusedWithItsReason) {
  Texts set{{"0123012301231230", "2220"}, {"a", "b"}};
  LUMO_SAINDEX *built = set.build();
  ASSERT_NE(built, nullptr);
  auto [index, message] = loaded(GetParam().spoil(saved(built)));
  EXPECT_EQ(index, nullptr);
  EXPECT_NE(message.find(GetParam().message), std::string::npos) << message;
  lumo_saindex_free(index);
  lumo_saindex_free(built);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SaindexBadFile,
    ::testing::Values(
        BadFile{"empty", [](std::string) { return std::string(); }, "not a suffix-array index"},
        BadFile{"other file", [](std::string) { return std::string(">chr1\nACGT\n"); }, "not a suffix-array index"},
        BadFile{"other version", [](std::string b) { b[8] = 1; return b; }, "version 1"},
        BadFile{"cut in the header", [](std::string b) { return b.substr(0, 20); }, "cut short"},
        BadFile{"cut in the arrays", [](std::string b) { return b.substr(0, b.size() - 9); }, "cut short"},
        BadFile{"a flipped text byte", [](std::string b) { b[b.size() / 3] ^= 1; return b; }, "damaged"},
        BadFile{"a flipped checksum", [](std::string b) { b.back() ^= 1; return b; }, "checksum"},
        BadFile{"bytes after the end", [](std::string b) { return b + "x"; }, "after its end"},
        BadFile{"impossible counts", [](std::string b) { b[12] = 0; return b; }, "damaged"},
        BadFile{"impossible position width", [](std::string b) { b[28] = 5; return b; }, "damaged"}),
    [](const ::testing::TestParamInfo<BadFile> &info) {
      std::string name = info.param.label;
      for (char &c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

}  // namespace

// Every part runs exactly once, those beyond the thread limit included.
TEST(ParallelRun, RunsEveryPartOnce) {
  for (const int parts : {1, 2, lumo_parallel::MOST_PARTS, lumo_parallel::MOST_PARTS + 37}) {
    std::vector<std::atomic<int>> runs(parts);
    auto count = [&](int part) { runs[part]++; };
    lumo_parallel::run(parts, count);
    for (int k = 0; k < parts; k++) EXPECT_EQ(runs[k], 1) << "part " << k << " of " << parts;
  }
}
