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

QueryPart searchPart(const LUMO_SAINDEX *index, const char *query, int64_t length, int64_t from,
                     int64_t to, MatchKind kind, int minLength) {
  const char *ref = lumo_saindex_text(index);
  QueryPart part;
  LUMO_SAMATCH m{};
  // The statistic of a position depends on the query from there on only.
  for (int64_t q = from; q < to && lumo_saindex_match_next(index, query + from, length - from, minLength, &m); q++) {
    if (m.length < minLength) continue;
    LUMO_SAMATCH at = m;
    at.q = q;
    if (kind == MatchKind::MEM) {
      maximalAt(index, query, length, at, minLength, part.matches);
    } else if (at.repeat < at.length) {
      part.inQuery.add(q, at.pos, at.length);
      if (leftMaximal(ref, at.pos, query, q)) part.candidates.push_back({at.pos, q, at.length});
    }
  }
  return part;
}

std::vector<Match> joinParts(const LUMO_SAINDEX *index, std::vector<QueryPart> &parts, MatchKind kind) {
  std::vector<Match> matches;
  if (kind == MatchKind::MEM) {
    for (QueryPart &part : parts) matches.insert(matches.end(), part.matches.begin(), part.matches.end());
    return matches;
  }
  UniqueInQuery inQuery;
  std::vector<int64_t> refs, lengths;
  for (const QueryPart &part : parts) {
    inQuery.append(part.inQuery);
    for (const QueryPart::Candidate &c : part.candidates) refs.push_back(c.pos), lengths.push_back(c.length);
  }
  std::vector<bool> alone = inQuery.alone(refs, lengths);
  size_t k = 0;
  for (const QueryPart &part : parts)
    for (const QueryPart::Candidate &c : part.candidates)
      if (alone[k++]) matches.push_back(located(index, c.pos, c.query, c.length));
  return matches;
}

std::vector<Match> findMatches(const LUMO_SAINDEX *index, const char *query, int64_t length,
                               MatchKind kind, int minLength) {
  std::vector<QueryPart> parts;
  parts.push_back(searchPart(index, query, length, 0, length, kind, minLength));
  return joinParts(index, parts, kind);
}

}  // namespace mumfind
