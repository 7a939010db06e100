// The suffix sorter that runs on several threads, and the list of tied
// suffix-array ranges its direct sort hands to prefix doubling. Private to
// the library and its tests; not installed.
#ifndef LUMO_SAINDEX_SORT_H
#define LUMO_SAINDEX_SORT_H

#include <cstdint>

namespace lumo_saindex_impl {

// Fills sa[0, n) with the suffix array of text[0, n): bytes compare
// unsigned, and a suffix that is a prefix of another sorts first. 0 on
// success, -1 out of memory. By divsufsort, on one thread:
int sort_serially(const unsigned char *text, int32_t *sa, int64_t n);
int sort_serially(const unsigned char *text, int64_t *sa, int64_t n);
// On `parts` threads (1 to lumo_parallel::MOST_PARTS and beyond, any
// count gives the same array); a text whose long repeats would leave many
// suffixes to prefix doubling is handed to sort_serially.
int sort_suffixes_parallel(const unsigned char *text, int32_t *sa, int64_t n, int parts);
int sort_suffixes_parallel(const unsigned char *text, int64_t *sa, int64_t n, int parts);

// Suffix-array ranges [at[2i], at[2i + 1]) whose suffixes share their
// first `depth` bytes and are in no order yet; a failed growth sets
// `failed` and keeps what was listed.
template <class Pos>
struct Ties {
  Pos *at;
  int64_t count, capacity;
  bool failed;
};

// Appends [from, to) to `ties`.
template <class Pos>
void add_tie(Ties<Pos> *ties, int64_t from, int64_t to);

// Puts every range of the `lists` (one per part, emptied and released)
// in order by prefix doubling from `depth`: the suffixes of each range
// share their first `depth` bytes, and every suffix outside the ranges is
// in its final slot. 0 on success, -1 out of memory.
template <class Pos>
int finish_ties(Pos *sa, int64_t n, Ties<Pos> *lists, int parts, int64_t depth);

}  // namespace lumo_saindex_impl

#endif  // LUMO_SAINDEX_SORT_H
