// The record behind LUMO_SAINDEX, shared by its builder, search and file
// code. Private to the library and its tests; not installed.
#ifndef LUMO_SAINDEX_IMPL_H
#define LUMO_SAINDEX_IMPL_H

#include <cstddef>
#include <cstdint>

#include "lumo_saindex.h"

struct lumo_saindex {
  int count;             // texts
  char **names;          // count names, each its own block
  int64_t *starts;       // count + 1 entries: text i is joined[starts[i], starts[i+1] - 1)
  int64_t total;         // characters of the joined text, separators included
  unsigned char *text;   // the joined text
  // Bytes of each suffix-array and word-table entry: 4 (int32_t), or 8
  // (int64_t) for joined texts longer than INT32_MAX or when asked for.
  int width;
  void *sa;              // suffix array of the joined text
  // 1 + the longest prefix of the suffix at p shared with another suffix
  // (its neighbours in the suffix array), 255 for 254 or more: the text at
  // p of `length` characters occurs only there exactly when length >=
  // unique[p] (and unique[p] < 255).
  unsigned char *unique;
  int word;              // k of the first-word table, from 1
  // Suffix-array range [lo, hi) of the suffixes starting with each word of
  // `word` letters '0'..'3', the word read as a base-4 number; empty
  // ranges are [0, 0).
  void *word_lo, *word_hi;
  uint32_t text_checksum;  // CRC-32 of the texts, in order, without separators
};

namespace lumo_saindex_impl {

// Entry i of an array of suffix-array positions `width` bytes wide.
inline int64_t entry(const void *array, int width, int64_t i) {
  return width == 4 ? static_cast<const int32_t *>(array)[i] : static_cast<const int64_t *>(array)[i];
}
inline int64_t sa_at(const lumo_saindex *index, int64_t slot) { return entry(index->sa, index->width, slot); }
inline int64_t word_lo_at(const lumo_saindex *index, int64_t w) { return entry(index->word_lo, index->width, w); }
inline int64_t word_hi_at(const lumo_saindex *index, int64_t w) { return entry(index->word_hi, index->width, w); }

// The separator after every text: it sorts before every symbol and no
// query byte matches it.
constexpr unsigned char SEPARATOR = 0;

// The longest name an index takes (bytes): a file may not make the loader
// allocate more for one.
constexpr std::size_t NAME_LIMIT = std::size_t(1) << 20;

// The longest joined text an index takes: far beyond any memory, and
// small enough that no byte count of its arrays overflows.
constexpr int64_t LONGEST_TOTAL = INT64_MAX / 16;

// The saturated value of lumo_saindex::unique.
constexpr unsigned char UNIQUE_UNKNOWN = 255;

// The base-4 value of the word at text[0..k), or -1 when it holds a byte
// other than '0'..'3' or runs past `end`.
int64_t word_value(const unsigned char *text, const unsigned char *end, int k);

// The entry width of a joined text of `total` characters: 4 when its
// positions fit an int32_t and `wide` is 0, otherwise 8.
int width_for(int64_t total, int wide);

// Fills everything after text and names (suffix array, unique, word
// table, checksum) from index->text, at index->width, with up to
// `threads` threads; 0 on success, -1 out of memory.
int derive(lumo_saindex *index, int threads);

// The word length for a joined text of `total` characters.
int word_length(int64_t total);

// An index with no arrays yet, or null out of memory.
lumo_saindex *empty_index();

}  // namespace lumo_saindex_impl

#endif
