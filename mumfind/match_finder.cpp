// Maximal matches from the matching statistics of the query: at each
// query position the index gives the longest match and whether its text
// occurs once in the references. That match is right-maximal by
// construction, and left-maximal when the characters before it differ (a
// reference sequence's start is preceded by a separator that matches
// nothing). Every maximal match starting at q with an occurrence of at
// least minLength characters is found among the occurrences of the
// query's minLength-prefix at q.
#include "match_finder.h"

#include <algorithm>

#include "unique_in_query.h"

namespace mumfind {

namespace {

bool leftMaximal(const char *ref, int64_t r, const char *query, int64_t q) {
  return r == 0 || q == 0 || ref[r - 1] != query[q - 1];
}

// A match at joined-text position pos, in sequence coordinates.
Match located(const LUMO_SAINDEX *index, int64_t pos, int64_t q, int64_t length) {
  Match m{0, 0, q, length};
  lumo_saindex_locate(index, pos, &m.reference, &m.ref);
  return m;
}

std::vector<Match> uniqueMatches(const LUMO_SAINDEX *index, const char *query, int64_t length,
                                 int minLength) {
  const char *ref = lumo_saindex_text(index);
  UniqueInQuery inQuery;
  std::vector<int64_t> refs, lengths, queries;
  LUMO_SAMATCH m{};
  while (lumo_saindex_match_next(index, query, length, minLength, &m)) {
    if (m.length < minLength || m.repeat >= m.length) continue;
    inQuery.add(m.q, m.pos, m.length);
    if (!leftMaximal(ref, m.pos, query, m.q)) continue;
    refs.push_back(m.pos);
    lengths.push_back(m.length);
    queries.push_back(m.q);
  }
  std::vector<bool> alone = inQuery.alone(refs, lengths);
  std::vector<Match> matches;
  for (size_t k = 0; k < refs.size(); k++)
    if (alone[k]) matches.push_back(located(index, refs[k], queries[k], lengths[k]));
  return matches;
}

// Every occurrence of at least minLength characters of the query's text at
// q, when it is left-maximal, with the characters it matches.
void maximalAt(const LUMO_SAINDEX *index, const char *query, int64_t length, const LUMO_SAMATCH &m,
               int minLength, std::vector<Match> &out) {
  const char *ref = lumo_saindex_text(index);
  size_t first = out.size();
  if (m.repeat < minLength) {  // its first minLength characters occur at m.pos alone
    if (leftMaximal(ref, m.pos, query, m.q)) out.push_back(located(index, m.pos, m.q, m.length));
    return;
  }
  LUMO_SAHITS hits;
  lumo_saindex_hits_begin(&hits, index, query + m.q, length - m.q, minLength);
  int64_t pos, matched;
  while (lumo_saindex_hits_next(&hits, &pos, &matched))
    if (leftMaximal(ref, pos, query, m.q)) out.push_back(located(index, pos, m.q, matched));
  std::sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end(), [](const Match &a, const Match &b) {
    return a.reference != b.reference ? a.reference < b.reference : a.ref < b.ref;
  });
}

}  // namespace

std::vector<Match> findMatches(const LUMO_SAINDEX *index, const char *query, int64_t length,
                               MatchKind kind, int minLength) {
  if (kind == MatchKind::MUM) return uniqueMatches(index, query, length, minLength);
  std::vector<Match> matches;
  LUMO_SAMATCH m{};
  while (lumo_saindex_match_next(index, query, length, minLength, &m))
    if (m.length >= minLength) maximalAt(index, query, length, m, minLength, matches);
  return matches;
}

}  // namespace mumfind
