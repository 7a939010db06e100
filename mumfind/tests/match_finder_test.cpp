// The match finder against brute force on random related texts, one or
// several references, and small cases checked by hand: matches at the very
// start and end, a repeat that makes a match not unique (in one reference,
// across references, in the query), a match cut by mismatches on both
// sides.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "match_finder.h"
#include "sequences.h"

namespace {

using mumfind::Match;
using mumfind::MatchKind;
using triple = std::tuple<int64_t, int64_t, int64_t>;  // ref, query, length
using quad = std::tuple<int, int64_t, int64_t, int64_t>;  // reference, ref, query, length

struct Index {
  LUMO_SAINDEX *index;
  explicit Index(const std::vector<std::string> &refs) {
    std::vector<const char *> texts;
    std::vector<int64_t> lengths;
    for (const std::string &r : refs) texts.push_back(r.data()), lengths.push_back(int64_t(r.size()));
    index = lumo_saindex_build(int(refs.size()), nullptr, texts.data(), lengths.data());
  }
  ~Index() { lumo_saindex_free(index); }
};

std::vector<quad> foundIn(const std::vector<std::string> &refs, const std::string &query, MatchKind kind,
                          int minLength) {
  Index index(refs);
  std::vector<quad> out;
  for (const Match &m : mumfind::findMatches(index.index, query.data(), int64_t(query.size()), kind, minLength))
    out.emplace_back(m.reference, m.ref, m.query, m.length);
  return out;
}

std::vector<triple> found(const std::string &ref, const std::string &query, MatchKind kind, int minLength) {
  std::vector<triple> out;
  for (auto [reference, r, q, length] : foundIn({ref}, query, kind, minLength)) out.emplace_back(r, q, length);
  return out;
}

int count(const std::string &text, const std::string &word) {
  int n = 0;
  for (size_t k = text.find(word); k != std::string::npos; k = text.find(word, k + 1)) n++;
  return n;
}

// Every maximal match by definition, in query, then reference order; a
// unique one occurs once in all references together.
std::vector<quad> bruteIn(const std::vector<std::string> &refs, const std::string &query, MatchKind kind,
                          int minLength) {
  std::vector<quad> out;
  for (size_t q = 0; q < query.size(); q++) {
    for (size_t i = 0; i < refs.size(); i++) {
      const std::string &ref = refs[i];
      for (size_t r = 0; r < ref.size(); r++) {
        if (r > 0 && q > 0 && ref[r - 1] == query[q - 1]) continue;
        size_t k = 0;
        while (r + k < ref.size() && q + k < query.size() && ref[r + k] == query[q + k]) k++;
        if (int(k) < minLength) continue;
        std::string word = ref.substr(r, k);
        int inRefs = 0;
        for (const std::string &other : refs) inRefs += count(other, word);
        if (kind == MatchKind::MUM && (inRefs != 1 || count(query, word) != 1)) continue;
        out.emplace_back(int(i), r, q, k);
      }
    }
  }
  return out;
}

std::vector<triple> brute(const std::string &ref, const std::string &query, MatchKind kind, int minLength) {
  std::vector<triple> out;
  for (auto [reference, r, q, length] : bruteIn({ref}, query, kind, minLength)) out.emplace_back(r, q, length);
  return out;
}

std::string random_text(std::mt19937 &rng, const char *letters, size_t n) {
  std::string s(n, '0');
  size_t size = std::char_traits<char>::length(letters);
  for (char &c : s) c = letters[rng() % size];
  return s;
}

// A query made of pieces of the reference with point changes, repeats of
// its own and random stretches, so that unique, repeated and cut matches
// all occur.
std::string related_query(std::mt19937 &rng, const std::string &ref, const char *letters) {
  std::string q;
  while (q.size() < 60) {
    size_t from = rng() % ref.size();
    std::string piece = ref.substr(from, 5 + rng() % 25);
    if (!piece.empty() && rng() % 2) piece[rng() % piece.size()] = letters[rng() % 2];
    if (rng() % 4 == 0 && !q.empty()) piece = q.substr(rng() % q.size(), 12);
    q += piece + random_text(rng, letters, rng() % 4);
  }
  return q;
}

TEST(MatchFinder, EqualsBruteForceOnRandomTexts) {
  std::mt19937 rng(5);
  for (const char *letters : {"01", "0123", "01234"}) {
    for (int round = 0; round < 200; round++) {
      std::string ref = random_text(rng, letters, 20 + rng() % 100);
      if (round % 3 == 0) ref += ref.substr(rng() % ref.size(), 15);  // a repeat
      std::string query = related_query(rng, ref, letters);
      int minLength = 1 + int(rng() % 8);
      for (MatchKind kind : {MatchKind::MUM, MatchKind::MEM})
        ASSERT_EQ(found(ref, query, kind, minLength), brute(ref, query, kind, minLength))
            << "ref " << ref << " query " << query << " l " << minLength;
    }
  }
}

TEST(MatchFinder, EqualsBruteForceOnSeveralReferences) {
  std::mt19937 rng(6);
  for (const char *letters : {"01", "0123"}) {
    for (int round = 0; round < 150; round++) {
      std::vector<std::string> refs;
      for (int i = 0, n = 2 + int(rng() % 3); i < n; i++) refs.push_back(random_text(rng, letters, 10 + rng() % 60));
      if (round % 2) refs.back() += refs[0].substr(rng() % refs[0].size(), 15);  // a repeat across
      std::string query = related_query(rng, refs[rng() % refs.size()], letters) +
                          related_query(rng, refs[rng() % refs.size()], letters);
      int minLength = 1 + int(rng() % 8);
      for (MatchKind kind : {MatchKind::MUM, MatchKind::MEM})
        ASSERT_EQ(foundIn(refs, query, kind, minLength), bruteIn(refs, query, kind, minLength))
            << "query " << query << " l " << minLength;
    }
  }
}

// A query searched in parts (as threads search it) gives the matches of the
// whole: parts cut inside matches, and a repeat of the query in another part.
TEST(MatchFinder, PartsJoinToTheWhole) {
  std::mt19937 rng(7);
  for (int round = 0; round < 100; round++) {
    std::vector<std::string> refs{random_text(rng, "0123", 200), random_text(rng, "0123", 100)};
    std::string query = related_query(rng, refs[0], "0123") + related_query(rng, refs[1], "0123");
    query += query.substr(rng() % 40, 25);
    Index index(refs);
    for (MatchKind kind : {MatchKind::MUM, MatchKind::MEM}) {
      int minLength = 4 + int(rng() % 8);
      std::vector<mumfind::QueryPart> parts;
      int64_t length = int64_t(query.size());
      for (int64_t from = 0, to; from < length; from = to) {
        to = std::min(length, from + 1 + int64_t(rng() % 40));
        parts.push_back(mumfind::searchPart(index.index, query.data(), length, from, to, kind, minLength));
      }
      ASSERT_EQ(mumfind::joinParts(index.index, parts, kind),
                mumfind::findMatches(index.index, query.data(), length, kind, minLength));
    }
  }
}

TEST(MatchFinder, ATextInTwoReferencesIsNotUnique) {
  std::vector<std::string> refs{"00" "1230123" "00", "11" "1230123" "11"};
  EXPECT_EQ(foundIn(refs, "2" "1230123" "2", MatchKind::MUM, 5), std::vector<quad>{});
  EXPECT_EQ(foundIn(refs, "2" "1230123" "2", MatchKind::MEM, 5),
            (std::vector<quad>{{0, 2, 1, 7}, {1, 2, 1, 7}}));
  // No match runs from one reference into the next.
  EXPECT_EQ(foundIn({"3210", "0123"}, "32100123", MatchKind::MEM, 5), std::vector<quad>{});
}

TEST(MatchFinder, MatchesAtTheVeryStartAndEnd) {
  // The query is the reference's last 6 then first 6 characters.
  std::string ref = "0123012" "3320" "1102", query = "201102" "012301";
  std::vector<triple> expected{{9, 0, 6}, {0, 6, 6}};
  EXPECT_EQ(found(ref, query, MatchKind::MUM, 5), expected);
  EXPECT_EQ(found(ref, query, MatchKind::MEM, 5), expected);
}

TEST(MatchFinder, ARepeatMakesAMatchNotUnique) {
  // "012301" occurs twice in the reference: all maximal matches see both
  // places, unique ones neither; twice in the query likewise.
  std::string ref = "33" "012301" "2" "012301" "22", query = "1" "012301" "0";
  EXPECT_EQ(found(ref, query, MatchKind::MUM, 5), std::vector<triple>{});
  EXPECT_EQ(found(ref, query, MatchKind::MEM, 5), (std::vector<triple>{{2, 1, 6}, {9, 1, 6}}));
  EXPECT_EQ(found("3" "012301" "3", "2012301" "2" "012301", MatchKind::MUM, 5), std::vector<triple>{});
}

TEST(MatchFinder, MismatchesOnBothSidesCutAMatch) {
  std::string ref = "000" "1231321" "000", query = "333" "1231321" "333";
  EXPECT_EQ(found(ref, query, MatchKind::MUM, 5), (std::vector<triple>{{3, 3, 7}}));
  EXPECT_EQ(found(ref, query, MatchKind::MUM, 8), std::vector<triple>{});
}

TEST(Sequences, ReverseComplementOfCodes) {
  std::string codes = "0123" "4" "\xff" "00";
  std::string reverse = mumfind::reverseComplement(codes.data(), int(codes.size()));
  EXPECT_EQ(reverse, "33" "\xff" "4" "0123");
  EXPECT_EQ(mumfind::reverseComplement(reverse.data(), int(reverse.size())), codes);
}

}  // namespace
