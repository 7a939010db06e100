/* lumo_saindex: a suffix-array index over a set of coded texts, for
 * finding maximal exact matches of long query texts at a few bytes per
 * indexed character, and its file form. C99 and C++ compatible.
 *
 * The texts are joined, each followed by a byte 0, into one text of
 * lumo_saindex_total characters; a position in the index is a position in
 * that joined text, and lumo_saindex_locate turns it into (text, offset).
 * Texts must not contain byte 0: it separates them and never matches, so
 * no match runs from one text into the next. Characters are compared as
 * unsigned bytes, any other value included; the index is tuned for DNA in
 * the library's symbol codes ('0' to '4'), whose first characters it looks
 * up in a table (see below).
 *
 * Layout, for a joined text of n characters, with positions of w bytes
 * (w = 4 up to 2^31 - 1 characters, 8 beyond, or when
 * LUMO_SAINDEX_WIDE asks for it): the text (n bytes); the suffix array
 * (w n bytes); for each position p, one byte holding 1 + the longest
 * prefix of the suffix at p that occurs elsewhere, 255 when that is 254 or
 * more (n bytes); and a table giving the range of the suffix array whose
 * suffixes start with each word of k letters '0' to '3', k chosen so that
 * 4^k <= n / 16 (the table's two ends take 2 w 4^k <= w n / 8 bytes).
 * About 6.5 bytes per character in all at w = 4, 11 at w = 8; building
 * peaks at (1 + 2w + w/8) n bytes: 9.5n or 18n (text, suffix array,
 * table and a work array of w n that becomes the n unique bytes), plus up
 * to n for a build on several threads (below).
 *
 * Searching keeps its state in a record of the caller's (LUMO_SAMATCH,
 * LUMO_SAHITS) and only reads the index, so any number of threads may
 * search one index at once. Building, loading and freeing are not to
 * overlap a search of the same index. The library starts threads only in
 * lumo_saindex_build_parallel, and they have ended when it returns. */
#ifndef LUMO_SAINDEX_H
#define LUMO_SAINDEX_H

#include <stdint.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The name and version written at the start of an index file. A file of
 * another version is refused by lumo_saindex_load. */
#define LUMO_SAINDEX_MAGIC "LUMOSAIX"
#define LUMO_SAINDEX_VERSION 2

typedef struct lumo_saindex LUMO_SAINDEX; /* opaque */

/* Builds the index of texts[0..count), text i of lengths[i] characters,
 * named names[i] (copied; a null `names`, or a null name, gives ""). The
 * texts are copied: the caller may free them afterwards. Returns the
 * index, owned by the caller and released with lumo_saindex_free; null
 * when count < 1, an argument is null, a text is empty or holds a byte 0,
 * a name is longer than 1 MiB,
 * the texts together exceed 2^59 characters, or memory runs out. */
LUMO_SAINDEX *lumo_saindex_build(int count, const char *const *names, const char *const *texts,
                                 const int64_t *lengths);

/* Flags of lumo_saindex_build_parallel: 64-bit positions whatever the
 * length (for testing that path on small texts; the search gives the same
 * answers at either width). */
#define LUMO_SAINDEX_WIDE 1

/* The same index, built with up to `threads` POSIX threads (values below 1
 * mean 1, at most 64 are used): the first-word table is counted while the
 * suffixes are sorted (on one thread), and the longest common prefixes and
 * unique-prefix lengths are computed in parallel ranges. With t threads
 * the build peaks at (t - 1) n / t more bytes (a spare block for the
 * ranges). `flags`: 0 or LUMO_SAINDEX_WIDE. */
LUMO_SAINDEX *lumo_saindex_build_parallel(int count, const char *const *names, const char *const *texts,
                                          const int64_t *lengths, int threads, int flags);

/* Releases the index and everything it owns; null does nothing. */
void lumo_saindex_free(LUMO_SAINDEX *index);

/* The number of texts, a text's name and length (text from 0), the joined
 * text (read-only, n characters, owned by the index), and n. Out-of-range
 * text numbers give null, -1 and the like; the index must not be null. */
int lumo_saindex_count(const LUMO_SAINDEX *index);
const char *lumo_saindex_name(const LUMO_SAINDEX *index, int text);
int64_t lumo_saindex_length(const LUMO_SAINDEX *index, int text);
const char *lumo_saindex_text(const LUMO_SAINDEX *index);
int64_t lumo_saindex_total(const LUMO_SAINDEX *index);

/* The width of the index's positions: 32 or 64 bits. */
int lumo_saindex_position_bits(const LUMO_SAINDEX *index);

/* The text holding joined-text position `pos` and the offset of `pos` in
 * it, both from 0. Returns 1, or 0 (outputs untouched) when `pos` is out of
 * range or falls on a separator. Null outputs are not written. */
int lumo_saindex_locate(const LUMO_SAINDEX *index, int64_t pos, int *text, int64_t *offset);

/* 1 when the index was built from exactly these texts, names and lengths
 * (same count and order), 0 otherwise (a null argument included). */
int lumo_saindex_built_from(const LUMO_SAINDEX *index, int count, const char *const *names,
                            const char *const *texts, const int64_t *lengths);

/* The matching statistic of one query position: the longest prefix of
 * query[q..] that occurs in the texts. Zero the record before the first
 * call. `length` is exact when at least the min_length passed (below it,
 * the search may stop early and give any smaller value); `pos` is the
 * joined-text position of one occurrence (-1 when length is 0). `repeat`
 * is at least `length` when the matched text occurs more than once;
 * otherwise it is the length of the longest prefix of it that also occurs
 * elsewhere, so the text's prefixes longer than `repeat` occur only at
 * `pos`. `q` is the query position; the fields ending in _ belong to the
 * library. */
typedef struct {
  int64_t q;
  int64_t length;
  int64_t pos;
  int64_t repeat;
  int64_t state_;
  int64_t clear_;                                   /* positions known short */
  int64_t ahead_q_, ahead_length_, ahead_pos_, ahead_repeat_, ahead_state_;
} LUMO_SAMATCH;

/* Advances `m` to the next query position (the first call gives position
 * 0) and fills it in. Walking a query position by position costs, where
 * the matches are unique, constant time per position: the match of q + 1
 * is derived from that of q. Where nothing matches min_length characters,
 * one search a few positions ahead can show that no position up to it
 * does, and those positions are given without a search. Returns 1, or 0 when the query is exhausted
 * (m unchanged). The query must stay the same between calls on one record
 * and must not hold a byte 0. Null arguments return 0. */
int lumo_saindex_match_next(const LUMO_SAINDEX *index, const char *query, int64_t query_length,
                            int64_t min_length, LUMO_SAMATCH *m);

/* Every occurrence in the texts of a prefix of at least `min_length` (>= 1)
 * characters of query[0..query_length): begin, then next until it returns
 * 0. Each call to next gives one joined-text position and the number of
 * characters matched there (the longest common prefix), in no set order.
 * The query must outlive the walk and must not hold a byte 0. The fields are the library's. */
typedef struct {
  const LUMO_SAINDEX *index_;
  const char *query_;
  int64_t query_length_, min_length_;
  int64_t down_, up_; /* next suffix-array slots to try on either side */
} LUMO_SAHITS;

void lumo_saindex_hits_begin(LUMO_SAHITS *hits, const LUMO_SAINDEX *index, const char *query,
                             int64_t query_length, int64_t min_length);
int lumo_saindex_hits_next(LUMO_SAHITS *hits, int64_t *pos, int64_t *length);

/* Writes the index to `out` in the file form: the name
 * LUMO_SAINDEX_MAGIC and the version, the names and lengths of the texts
 * and a checksum of them, the layout above, and a checksum of the whole.
 * Returns 0, or -1 when a write fails (the caller then discards what was
 * written). Does not close or flush `out`. */
int lumo_saindex_save(const LUMO_SAINDEX *index, FILE *out);

/* Reads an index written by lumo_saindex_save from `in`, which must be at
 * the start of the file and hold nothing after it. Returns the index,
 * owned by the caller, or null with *message (if `message` is not null) a
 * malloc'd line saying why, for the caller to free: not an index file, a
 * file of another version, a damaged or cut file (a checksum, a length or
 * a value out of range), a read error, or memory running out. */
LUMO_SAINDEX *lumo_saindex_load(FILE *in, char **message);

#ifdef __cplusplus
}
#endif

#endif /* LUMO_SAINDEX_H */
