// Maximal exact matches between one reference sequence, indexed in a suffix
// tree, and query texts streamed against it with suffix links.
#ifndef MUMFIND_MATCH_FINDER_H
#define MUMFIND_MATCH_FINDER_H

#include <cstdint>
#include <vector>

#include "lumo_stree.h"
#include "unique_hits.h"

namespace mumfind {

// A match of `length` characters at reference position `ref` and query
// position `query` (both from 0, in the texts as given).
struct Match {
  int64_t ref, query, length;
};

enum class MatchKind {
  MUM,  // maximal, and its text occurs once in the reference and once in the query
  MEM,  // every maximal match
};

// The suffix tree of one reference text (symbol codes, not copied: the text
// must outlive the index). Throws ToolError when memory runs out.
class ReferenceIndex {
 public:
  ReferenceIndex(const char *text, int length);
  ~ReferenceIndex();
  ReferenceIndex(const ReferenceIndex &) = delete;
  ReferenceIndex &operator=(const ReferenceIndex &) = delete;

  // The maximal matches of at least `minLength` (>= 1) characters between
  // the reference and query[0..length), ordered by query position, then
  // reference position.
  std::vector<Match> find(const char *query, int length, MatchKind kind, int minLength);

 private:
  SUFFIX_TREE tree_;
  const char *text_;
  int length_;
  UniqueHits hits_;  // kept between calls: it is as large as the reference
};

}  // namespace mumfind

#endif
