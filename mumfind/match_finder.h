// Maximal exact matches between the reference set, indexed in the
// library's suffix-array index, and one query text streamed against it.
#ifndef MUMFIND_MATCH_FINDER_H
#define MUMFIND_MATCH_FINDER_H

#include <cstdint>
#include <vector>

#include "lumo_saindex.h"
#include "unique_in_query.h"

namespace mumfind {

// A match of `length` characters at position `ref` of reference sequence
// `reference` (its number in the index, from 0) and query position `query`
// (positions from 0, in the texts as given).
struct Match {
  int reference;
  int64_t ref, query, length;
  bool operator==(const Match &o) const {
    return reference == o.reference && ref == o.ref && query == o.query && length == o.length;
  }
};

enum class MatchKind {
  MUM,  // maximal, its text occurring once in the reference set and once in the query
  MEM,  // every maximal match
};

// The search of the query positions [from, to) of one query: for MEM
// their matches, for MUM what decides which matches are unique in the
// query, which needs every part of the query.
struct QueryPart {
  std::vector<Match> matches;  // MEM: the matches, in order
  struct Candidate {
    int64_t pos, query, length;  // pos: in the index's joined text
  };
  std::vector<Candidate> candidates;  // MUM: maximal and unique in the reference set
  UniqueInQuery inQuery;              // MUM: every position unique in the reference set
};

// Searches positions [from, to) of query[0..length). Reads the index
// only: calls may run at once.
QueryPart searchPart(const LUMO_SAINDEX *index, const char *query, int64_t length, int64_t from,
                     int64_t to, MatchKind kind, int minLength);

// The matches of a whole query from its parts, given in position order.
std::vector<Match> joinParts(const LUMO_SAINDEX *index, std::vector<QueryPart> &parts, MatchKind kind);

// The maximal matches of at least `minLength` (>= 1) characters between the
// indexed references and query[0..length), ordered by query position, then
// reference sequence and position. A match never runs across the end of a
// reference sequence. Reads the index only: calls may run at once.
std::vector<Match> findMatches(const LUMO_SAINDEX *index, const char *query, int64_t length,
                               MatchKind kind, int minLength);

}  // namespace mumfind

#endif
