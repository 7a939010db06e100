// Searching the suffix-array index. A query suffix is placed in the suffix
// array by binary search, narrowed first to the range of its first word
// and comparing each suffix only from the prefix that the range's bounds
// already share with it; its longest match is with one of the two suffixes
// beside that place. Along a query, the match of q + 1 is the match of q
// less its first character, one place further in the text, whenever the
// unique-prefix byte shows that shorter text to be unique: then no other
// suffix can match longer, and no search is needed. Where the query
// matches little, a match at q of m characters or more would leave one of
// m - d or more at q + d; so when a search at q + d finds less, positions q
// to q + d all match less than m and need no search of their own.
#include <cstring>
#include <initializer_list>

#include "lumo_saindex_impl.h"

using namespace lumo_saindex_impl;

namespace {

// Characters that query[0..length) and the text at pos have in common
// from `from` on (both known to agree before it), stopping at a separator
// (which no query byte 0 matches: separators stop the count) and at the
// ends.
int64_t common_prefix(const lumo_saindex *index, int64_t pos, const unsigned char *query,
                      int64_t length, int64_t from) {
  const unsigned char *t = index->text + pos;
  int64_t limit = index->total - pos;
  if (limit > length) limit = length;
  int64_t k = from;
  while (k + 8 <= limit) {
    uint64_t a, b;
    std::memcpy(&a, t + k, 8);
    std::memcpy(&b, query + k, 8);
    if (a != b) return k + __builtin_ctzll(a ^ b) / 8;  // little-endian: first differing byte
    k += 8;
  }
  while (k < limit && t[k] == query[k]) k++;
  return k;
}

// The suffix at pos is at least query[0..length) when it has that as a
// prefix or is greater at the first difference, given `shared` characters
// in common.
bool suffix_not_less(const lumo_saindex *index, int64_t pos, const unsigned char *query,
                     int64_t length, int64_t shared) {
  if (shared == length) return true;
  if (pos + shared >= index->total) return false;
  return index->text[pos + shared] > query[shared];
}

// Where the query goes in the suffix array: its place and the characters
// it shares with the suffixes just before and at that place (-1 where
// that suffix is outside the searched range).
struct Place {
  int64_t slot, before, at;
};

// Binary search in sa[lo, hi), whose suffixes all share `shared` leading
// characters with the query.
Place place(const lumo_saindex *index, const unsigned char *query, int64_t length, int64_t lo,
            int64_t hi, int64_t shared) {
  int64_t low_lcp = shared, high_lcp = shared;
  Place found{lo, -1, -1};
  while (lo < hi) {
    int64_t mid = lo + (hi - lo) / 2;
    int64_t from = low_lcp < high_lcp ? low_lcp : high_lcp;
    int64_t pos = sa_at(index, mid);
    int64_t l = common_prefix(index, pos, query, length, from);
    if (suffix_not_less(index, pos, query, length, l)) {
      hi = mid;
      high_lcp = l;
      found.at = l;
    } else {
      lo = mid + 1;
      low_lcp = l;
      found.before = l;
    }
  }
  found.slot = lo;
  // A bound never visited lies outside the range: it keeps -1.
  return found;
}

// Whether the range of query's first word can be used, and that range.
bool word_range(const lumo_saindex *index, const unsigned char *query, int64_t length,
                int64_t min_length, int64_t *lo, int64_t *hi) {
  if (min_length < index->word) return false;
  int64_t w = word_value(query, query + length, index->word);
  if (w < 0) return false;
  *lo = word_lo_at(index, w);
  *hi = word_hi_at(index, w);
  return true;
}

// Longest prefix of the suffix at slot shared with a neighbour slot, up
// to the end of its text.
int64_t repeat_at(const lumo_saindex *index, int64_t slot) {
  int64_t pos = sa_at(index, slot);
  if (index->unique[pos] != UNIQUE_UNKNOWN) return index->unique[pos] - 1;
  int text = 0;
  lumo_saindex_locate(index, pos, &text, nullptr);
  int64_t own_length = index->starts[text + 1] - 1 - pos;
  int64_t longest = 0;
  for (int64_t other : {slot - 1, slot + 1}) {
    if (other < 0 || other >= index->total) continue;
    int64_t l = common_prefix(index, sa_at(index, other), index->text + pos, own_length, 0);
    if (l > longest) longest = l;
  }
  return longest;
}

// LUMO_SAMATCH::state_: 0 before the first position, then whether
// `length` is exact.
constexpr int64_t STARTED_INEXACT = 1, STARTED_EXACT = 2;

void set_match(LUMO_SAMATCH *m, int64_t length, int64_t pos, int64_t repeat, int64_t state) {
  m->length = length;
  m->pos = pos;
  m->repeat = repeat;
  m->state_ = state;
}

// Fills m for query[0..length) by search.
void search(const lumo_saindex *index, const unsigned char *query, int64_t length,
            int64_t min_length, LUMO_SAMATCH *m) {
  int64_t lo = 0, hi = index->total, shared = 0;
  if (word_range(index, query, length, min_length, &lo, &hi)) {
    shared = index->word;
    if (lo == hi) {  // the first word is absent: shorter than min_length
      set_match(m, 0, -1, 0, STARTED_INEXACT);
      return;
    }
  }
  Place p = place(index, query, length, lo, hi, shared);
  int64_t best = p.before > p.at ? p.before : p.at;
  if (best <= 0) {
    set_match(m, 0, -1, 0, STARTED_EXACT);
    return;
  }
  int64_t slot = p.at >= p.before ? p.slot : p.slot - 1;
  set_match(m, best, sa_at(index, slot), p.before == p.at ? best : repeat_at(index, slot),
            STARTED_EXACT);
}

// The match of q less its first character, one place on, is all of the
// match of q + 1 (m->q) when that shorter text is unique: m becomes it.
bool follow_unique(const lumo_saindex *index, LUMO_SAMATCH *m) {
  if (m->state_ != STARTED_EXACT || m->length < 2 || m->repeat >= m->length) return false;
  int64_t next = m->pos + 1;
  unsigned char u = index->unique[next];
  if (u == UNIQUE_UNKNOWN || u > m->length - 1) return false;
  m->length--;
  m->pos = next;
  m->repeat = u - 1;
  return true;
}

// How far ahead to search where the query matches little: random text
// matches about log4(total) characters anywhere, so a search d ahead
// finds at most a little more than that, and clears d + 1 positions when
// that is below min_length - d.
int64_t ahead_distance(const lumo_saindex *index, int64_t min_length) {
  int64_t typical = 1;
  for (int64_t reach = 4; reach < index->total; reach *= 4) typical++;
  return min_length - 1 - (typical + 1);
}

// Searches ahead of m->q; returns true when that shows every position from
// m->q to the one searched to match fewer than min_length characters
// (m->clear_ then lies past them); otherwise keeps the search's result for
// when its position comes.
bool look_ahead(const lumo_saindex *index, const unsigned char *query, int64_t query_length,
                int64_t min_length, LUMO_SAMATCH *m) {
  int64_t d = ahead_distance(index, min_length);
  int64_t at = m->q + d;
  if (d < 1 || at >= query_length) return false;
  LUMO_SAMATCH ahead{};
  search(index, query + at, query_length - at, min_length, &ahead);
  int64_t most = ahead.state_ == STARTED_EXACT ? ahead.length : index->word - 1;
  if (most + d < min_length) {
    m->clear_ = at + 1;
    return true;
  }
  m->ahead_q_ = at;
  m->ahead_length_ = ahead.length;
  m->ahead_pos_ = ahead.pos;
  m->ahead_repeat_ = ahead.repeat;
  m->ahead_state_ = ahead.state_;
  return false;
}

}  // namespace

extern "C" {

int lumo_saindex_match_next(const LUMO_SAINDEX *index, const char *query, int64_t query_length,
                            int64_t min_length, LUMO_SAMATCH *m) {
  if (!index || !query || !m) return 0;
  bool started = m->state_ != 0;
  int64_t q = started ? m->q + 1 : 0;
  if (q >= query_length) return 0;
  bool matched = started && m->state_ == STARTED_EXACT && m->length >= min_length;
  m->q = q;
  if (follow_unique(index, m)) return 1;
  if (q < m->clear_) {
    set_match(m, 0, -1, 0, STARTED_INEXACT);
    return 1;
  }
  if (q > 0 && m->ahead_q_ == q) {  // searched ahead (never at 0)
    set_match(m, m->ahead_length_, m->ahead_pos_, m->ahead_repeat_, m->ahead_state_);
    m->ahead_q_ = 0;
    return 1;
  }
  const auto *text = reinterpret_cast<const unsigned char *>(query);
  if (!matched && m->ahead_q_ < q && look_ahead(index, text, query_length, min_length, m)) {
    set_match(m, 0, -1, 0, STARTED_INEXACT);
    return 1;
  }
  search(index, text + q, query_length - q, min_length, m);
  return 1;
}

void lumo_saindex_hits_begin(LUMO_SAHITS *hits, const LUMO_SAINDEX *index, const char *query,
                             int64_t query_length, int64_t min_length) {
  hits->index_ = index;
  hits->query_ = query;
  hits->query_length_ = query_length;
  hits->min_length_ = min_length < 1 ? 1 : min_length;
  hits->down_ = hits->up_ = 0;
  if (!index || !query || query_length < hits->min_length_) {
    hits->down_ = -1;
    return;
  }
  const auto *q = reinterpret_cast<const unsigned char *>(query);
  int64_t lo = 0, hi = index->total, shared = 0;
  if (word_range(index, q, query_length, hits->min_length_, &lo, &hi)) shared = index->word;
  Place p = place(index, q, query_length, lo, hi, shared);
  hits->down_ = p.slot - 1;
  hits->up_ = p.slot;
}

int lumo_saindex_hits_next(LUMO_SAHITS *hits, int64_t *pos, int64_t *length) {
  const lumo_saindex *index = hits->index_;
  const auto *q = reinterpret_cast<const unsigned char *>(hits->query_);
  // Characters shared with the query fall off on both sides of its place,
  // so each side stops at its first suffix sharing too few.
  for (int64_t *side : {&hits->up_, &hits->down_}) {
    if (*side < 0 || *side >= index->total) continue;
    int64_t p = sa_at(index, *side);
    int64_t l = common_prefix(index, p, q, hits->query_length_, 0);
    if (l < hits->min_length_) {
      *side = -1;
      continue;
    }
    *side += side == &hits->up_ ? 1 : -1;
    if (pos) *pos = p;
    if (length) *length = l;
    return 1;
  }
  return 0;
}

}  // extern "C"
