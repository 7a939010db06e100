#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "failing_alloc.h"
#include "lumo.h"

namespace {

const char kInvalid[] = "Error:  The program is using an invalid alphabet.\n";
const char kUnbuildable[] = "Error:  The program is attempting to initialize an invalid alphabet.\n";
const char kNoTables[] = "Error: Ran out of memory.  Cannot initialize alphabet table\n";

// Runs `body` in a freshly started copy of this test program, in which the
// table set does not exist yet; passes when `body` returns true.
template <typename Body>
void in_fresh_process(Body body) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::exit(body() ? 0 : 1), testing::ExitedWithCode(0), "");
}

// Reports a mismatch on standard error, where the parent shows it.
bool same(long got, long want, const char *what) {
  if (got != want) {
    std::fprintf(stderr, "%s: got %ld, want %ld\n", what, got, want);
  }
  return got == want;
}

TEST(AlphaFresh, FirstLookupCreatesTablesAndBuildsDna) {
  in_fresh_process([] {
    bool ok = alpha_tables == nullptr && same(table_size, 0, "size before");
    ok = same(rawmapchar(1, 'a'), 'A', "rawmapchar(1, 'a')") && ok;
    ok = same(table_size, 5, "size after") && alpha_tables != nullptr && ok;
    const int states[] = {0, 2, 1, 1, 1};
    for (int alpha = 0; ok && alpha < 5; ++alpha) {
      ok = same(alpha_tables[alpha].init_flag, states[alpha], "state");
    }
    return ok;
  });
}

TEST(AlphaFresh, FailedTableAllocationIsReportedAndRetried) {
  in_fresh_process([] {
    testing::internal::CaptureStderr();
    bool ok;
    {
      FailingAlloc alloc({1, 2});
      ok = same(alpha_init(1), 0, "alpha_init(1)") && same(mapchar(1, 'a'), -1, "mapchar");
    }
    const std::string twice = std::string(kNoTables) + kNoTables;
    ok = testing::internal::GetCapturedStderr() == twice && ok;
    ok = alpha_tables == nullptr && same(table_size, 0, "size") && ok;
    return same(mapchar(1, 'a'), '0', "mapchar after retry") && ok;
  });
}

// alpha_free and unmap_sequences never create the table set; unmap still
// clears the alphabet of the sequence.
TEST(AlphaFresh, ReleasingBeforeTablesExistCreatesNothing) {
  in_fresh_process([] {
    alpha_free(5);
    STRING s1{};
    s1.alphabet = 6;
    s1.raw_alpha = 1;
    unmap_sequences(&s1, nullptr, nullptr, 0);
    return alpha_tables == nullptr && same(table_size, 0, "size") && same(s1.alphabet, 0, "alphabet");
  });
}

struct DnaEntry {
  char letter;  // upper case
  char rawmap;
  char code;
  char compl_;
};

void PrintTo(const DnaEntry &entry, std::ostream *os) { *os << entry.letter; }

class DnaLetter : public testing::TestWithParam<DnaEntry> {};

TEST_P(DnaLetter, MapsAlikeInBothCases) {
  const DnaEntry entry = GetParam();
  const char lower = static_cast<char>(entry.letter - 'A' + 'a');
  for (char ch : {entry.letter, lower}) {
    EXPECT_EQ(rawmapchar(1, ch), entry.rawmap) << ch;
    EXPECT_EQ(mapchar(1, ch), entry.code) << ch;
    EXPECT_EQ(complement(1, ch), entry.compl_) << ch;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Dna, DnaLetter,
    testing::Values(DnaEntry{'A', 'A', '0', 'T'}, DnaEntry{'C', 'C', '1', 'G'},
                    DnaEntry{'G', 'G', '2', 'C'}, DnaEntry{'T', 'T', '3', 'A'},
                    DnaEntry{'N', 'N', '4', 'N'}, DnaEntry{'R', 'N', '4', 'N'},
                    DnaEntry{'Y', 'N', '4', 'N'}, DnaEntry{'M', 'N', '4', 'N'},
                    DnaEntry{'K', 'N', '4', 'N'}, DnaEntry{'S', 'N', '4', 'N'},
                    DnaEntry{'W', 'N', '4', 'N'}, DnaEntry{'H', 'N', '4', 'N'},
                    DnaEntry{'B', 'N', '4', 'N'}, DnaEntry{'V', 'N', '4', 'N'},
                    DnaEntry{'D', 'N', '4', 'N'}));

// Every byte that is not one of the 30 DNA letters, codes 128 to 255
// included, is outside the alphabet: no message, 0 / -1 / 0.
TEST(DnaOutside, EveryOtherByteIsOutsideTheAlphabet) {
  const char *letters = "ACGTNRYMKSWHBVDacgtnrymkswhbvd";
  testing::internal::CaptureStderr();
  for (int code = 0; code < 256; ++code) {
    const char ch = static_cast<char>(code);
    if (code != 0 && std::strchr(letters, code) != nullptr) {
      continue;
    }
    EXPECT_EQ(rawmapchar(1, ch), 0) << code;
    EXPECT_EQ(mapchar(1, ch), -1) << code;
    EXPECT_EQ(complement(1, ch), 0) << code;
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(DnaSize, IsFive) { EXPECT_EQ(get_alpha_size(1), 5); }

// Every lookup, called twice with alphabet `alpha`, must fail twice with
// `message`.
void expect_lookups_fail(int alpha, const std::string &message) {
  testing::internal::CaptureStderr();
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(rawmapchar(alpha, 'a'), -1);
    EXPECT_EQ(mapchar(alpha, 'a'), -1);
    EXPECT_EQ(complement(alpha, 'a'), -1);
    EXPECT_EQ(get_alpha_size(alpha), -1);
  }
  std::string expected;
  for (int i = 0; i < 8; ++i) {
    expected += message;
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), expected);
}

class InvalidAlphabet : public testing::TestWithParam<int> {};

TEST_P(InvalidAlphabet, EveryLookupReportsIt) { expect_lookups_fail(GetParam(), kInvalid); }

INSTANTIATE_TEST_SUITE_P(Numbers, InvalidAlphabet, testing::Values(0, -3, 5, 6, INT_MIN, INT_MAX));

class ReservedAlphabet : public testing::TestWithParam<int> {};

TEST_P(ReservedAlphabet, EveryLookupTriesToBuildItAgain) {
  expect_lookups_fail(GetParam(), kUnbuildable);
  ASSERT_EQ(alpha_init(1), 1);
  EXPECT_EQ(alpha_tables[GetParam()].init_flag, 1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(alpha_init(GetParam()), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), kUnbuildable);
}

INSTANTIATE_TEST_SUITE_P(Numbers, ReservedAlphabet, testing::Values(2, 3, 4));

// A second alpha_init(1) must not rebuild DNA: an entry changed after the
// first build survives it.
TEST(AlphaInit, BuildsDnaOnce) {
  ASSERT_EQ(alpha_init(1), 1);
  const char saved = alpha_tables[1].rawmap['X'];
  alpha_tables[1].rawmap['X'] = 'Q';
  EXPECT_EQ(alpha_init(1), 1);
  EXPECT_EQ(rawmapchar(1, 'X'), 'Q');
  alpha_tables[1].rawmap['X'] = saved;
}

TEST(AlphaInit, OtherNumbersOnlyNeedTheTableSet) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(alpha_init(7), 1);
  EXPECT_EQ(alpha_init(-1), 1);
  EXPECT_EQ(alpha_init(0), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(table_size, 5);
}

// Swaps in a table set of 8 entries, whose entries 5 to 7 are releasable
// alphabets built from DNA, and puts the library's set back afterwards.
class WideTableSet : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(alpha_init(1), 1);
    saved_tables_ = alpha_tables;
    saved_size_ = table_size;
    for (ALPHABET &entry : wide_) {
      entry = alpha_tables[1];
    }
    alpha_tables = wide_;
    table_size = 8;
  }
  void TearDown() override {
    alpha_tables = saved_tables_;
    table_size = saved_size_;
  }
  static int state(int alpha) { return alpha_tables[alpha].init_flag; }

  ALPHABET wide_[8] = {};
  ALPHABET *saved_tables_ = nullptr;
  int saved_size_ = 0;
};

TEST_F(WideTableSet, AlphaFreeReleasesOnlyFiveUpToTheSize) {
  for (int alpha : {INT_MIN, -1, 0, 1, 2, 3, 4, 8, INT_MAX}) {
    alpha_free(alpha);
  }
  for (int alpha = 1; alpha < 8; ++alpha) {
    EXPECT_EQ(state(alpha), 2) << alpha;
  }
  alpha_free(6);
  EXPECT_EQ(state(6), 0);
  EXPECT_EQ(get_alpha_size(5), 5);
  expect_lookups_fail(6, kInvalid);
}

STRING record(int alphabet, int raw_alpha) {
  STRING s{};
  s.alphabet = alphabet;
  s.raw_alpha = raw_alpha;
  return s;
}

TEST_F(WideTableSet, UnmapWithoutSourceChangesNothing) {
  STRING s = record(6, 1);
  STRING *sary[] = {&s};
  unmap_sequences(nullptr, nullptr, nullptr, 3);
  unmap_sequences(nullptr, nullptr, sary, 0);
  unmap_sequences(nullptr, nullptr, sary, -1);
  EXPECT_EQ(s.alphabet, 6);
  EXPECT_EQ(state(6), 2);
}

TEST_F(WideTableSet, UnmapKeepsFixedAlphabets) {
  STRING s1 = record(1, 6);
  STRING s2 = record(4, 6);
  unmap_sequences(&s1, nullptr, nullptr, 0);
  unmap_sequences(nullptr, &s2, nullptr, 0);
  EXPECT_EQ(s1.alphabet, 1);
  EXPECT_EQ(s2.alphabet, 4);
  EXPECT_EQ(state(1), 2);
  EXPECT_EQ(state(4), 2);
}

TEST_F(WideTableSet, UnmapKeepsTheAlphabetOfTheRawText) {
  STRING s1 = record(6, 6);
  unmap_sequences(&s1, nullptr, nullptr, 0);
  EXPECT_EQ(s1.alphabet, 6);
  EXPECT_EQ(state(6), 2);
}

TEST_F(WideTableSet, UnmapOfS1IgnoresS2AndArray) {
  STRING s1 = record(6, 1);
  STRING s2 = record(7, 1);
  STRING other = record(7, 1);
  STRING *sary[] = {&other};
  unmap_sequences(&s1, &s2, sary, 1);
  EXPECT_EQ(s1.alphabet, 0);
  EXPECT_EQ(state(6), 0);
  EXPECT_EQ(s2.alphabet, 7);
  EXPECT_EQ(other.alphabet, 7);
  EXPECT_EQ(state(7), 2);
}

TEST_F(WideTableSet, UnmapOfS2IgnoresArray) {
  STRING s2 = record(7, 1);
  STRING other = record(7, 7);
  STRING *sary[] = {&other};
  unmap_sequences(nullptr, &s2, sary, 1);
  EXPECT_EQ(s2.alphabet, 0);
  EXPECT_EQ(state(7), 0);
  EXPECT_EQ(other.alphabet, 7);
}

// The first non-null record names the alphabet; every non-null record is
// cleared, whatever its own alphabet.
TEST_F(WideTableSet, UnmapOfArrayClearsEveryRecord) {
  STRING a = record(6, 1);
  STRING b = record(6, 1);
  STRING c = record(1, 1);
  STRING *sary[] = {nullptr, &a, nullptr, &b, &c};
  unmap_sequences(nullptr, nullptr, sary, 5);
  EXPECT_EQ(state(6), 0);
  EXPECT_EQ(a.alphabet, 0);
  EXPECT_EQ(b.alphabet, 0);
  EXPECT_EQ(c.alphabet, 0);
}

TEST_F(WideTableSet, UnmapOfArrayKeepsAlphabetAnyRawTextUses) {
  STRING a = record(6, 1);
  STRING b = record(5, 6);
  STRING beyond = record(5, 5);
  STRING *sary[] = {&a, &b, &beyond};
  unmap_sequences(nullptr, nullptr, sary, 2);
  EXPECT_EQ(state(6), 2);
  EXPECT_EQ(a.alphabet, 6);
  EXPECT_EQ(b.alphabet, 5);
}

TEST_F(WideTableSet, UnmapOfArrayReadsOnlyArylenRecords) {
  STRING a = record(6, 1);
  STRING *sary[] = {nullptr, &a};
  unmap_sequences(nullptr, nullptr, sary, 1);
  EXPECT_EQ(a.alphabet, 6);
  EXPECT_EQ(state(6), 2);
}

}  // namespace
