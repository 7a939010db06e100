// Deriving the suffix-array index from its joined text: the suffix array
// by divsufsort (divsufsort64 for 8-byte positions) on one thread, by the
// parallel sorter (lumo_saindex_sort.cpp) on several; then from the
// longest common prefixes of neighbouring suffixes (Kasai's bound applied
// in text order, in place of the array of preceding suffixes) the
// one-byte unique-prefix lengths, and the first-word table, on one thread
// or several.
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "lumo_mem.h"
#include "lumo_parallel.h"
#include "lumo_saindex_impl.h"
#include "lumo_saindex_sort.h"

namespace lumo_saindex_impl {

namespace {

void *allocate(std::size_t count, std::size_t size) {
  if (count != 0 && size > SIZE_MAX / count) return nullptr;
  void *block = lumo_mem::resize(nullptr, count * size);
  lumo_mem::prefer_huge_pages(block, count * size);
  return block;
}

unsigned char saturated(int64_t shared) {
  return shared >= UNIQUE_UNKNOWN - 1 ? UNIQUE_UNKNOWN - 1 : static_cast<unsigned char>(shared);
}

// The suffix before each suffix in suffix-array order, for slots [from,
// to): work[sa[i]] = sa[i - 1], -1 for the first.
template <class Pos>
void preceding(const Pos *sa, Pos *work, int64_t from, int64_t to) {
  for (int64_t i = from; i < to; i++) work[sa[i]] = i == 0 ? -1 : sa[i - 1];
}

// out[p - from], for text positions p in [from, to), becomes the longest
// common prefix of the suffix at p and the one before it (work[p]),
// stopping at a separator, saturated at 254. Each prefix is at least the
// previous one less 1 (Kasai's bound), so the comparisons add up to
// 2 x (to - from) plus the last prefix. `out` may be the bytes of `work`
// from `from` on: byte p overwrites a word at or before word p, which has
// been read by then.
template <class Pos>
void prefixes(const lumo_saindex *index, const Pos *work, int64_t from, int64_t to, unsigned char *out) {
  const int64_t n = index->total;
  const unsigned char *t = index->text;
  int64_t l = 0;
  for (int64_t p = from; p < to; p++) {
    int64_t before = work[p];
    if (before < 0) {
      l = 0;
    } else {
      while (p + l < n && before + l < n && t[p + l] == t[before + l] && t[p + l] != SEPARATOR) l++;
    }
    out[p - from] = saturated(l);
    if (l > 0) l--;
  }
}

// Byte p of `work` (total entries) becomes the longest common prefix of
// the suffix at p and the one before it in suffix-array order (0 for the
// first). Text positions are cut into `parts` ranges, one per thread; the
// first writes its bytes over `work` in place, the others into a spare
// block (their bytes would overwrite words the first has yet to read),
// copied in at the end. Without the spare block, one thread does it all.
template <class Pos>
void prefix_bytes(const lumo_saindex *index, Pos *work, int parts) {
  const int64_t n = index->total;
  int64_t first_spare = lumo_parallel::part_start(n, parts, 1);
  auto *spare = parts > 1 ? static_cast<unsigned char *>(allocate(std::size_t(n - first_spare), 1)) : nullptr;
  if (!spare) parts = 1;
  auto *bytes = reinterpret_cast<unsigned char *>(work);
  auto fill = [&](int part) {
    preceding(static_cast<const Pos *>(index->sa), work, lumo_parallel::part_start(n, parts, part), lumo_parallel::part_start(n, parts, part + 1));
  };
  lumo_parallel::run(parts, fill);
  auto compare = [&](int part) {
    int64_t from = lumo_parallel::part_start(n, parts, part), to = lumo_parallel::part_start(n, parts, part + 1);
    prefixes(index, work, from, to, part == 0 ? bytes : spare + (from - first_spare));
  };
  lumo_parallel::run(parts, compare);
  if (spare) std::memcpy(bytes + first_spare, spare, std::size_t(n - first_spare));
  std::free(spare);
}

// Unique-prefix lengths for suffix-array slots [from, to), in place: 1 +
// the larger of the prefixes with the suffix before and after. Slot i reads
// the bytes of sa[i] and sa[i + 1] and writes that of sa[i]; the byte of
// sa[to], which the next range may have overwritten, is passed as
// `after_last` (0 past the end).
template <class Pos>
void unique_range(lumo_saindex *index, int64_t from, int64_t to, unsigned char after_last) {
  unsigned char *u = index->unique;
  const Pos *sa = static_cast<const Pos *>(index->sa);
  for (int64_t i = from; i < to; i++) {
    unsigned char before = u[sa[i]], after = i + 1 < to ? u[sa[i + 1]] : after_last;
    u[sa[i]] = static_cast<unsigned char>((before > after ? before : after) + 1);
  }
}

// Turns the prefix bytes (with the suffix before) into unique-prefix
// lengths, one range of slots per thread; the byte after each range is
// read before any range is written.
template <class Pos>
void unique_lengths(lumo_saindex *index, int parts) {
  const int64_t n = index->total;
  unsigned char after_last[lumo_parallel::MOST_PARTS];
  for (int part = 0; part < parts; part++) {
    int64_t to = lumo_parallel::part_start(n, parts, part + 1);
    after_last[part] = to < n ? index->unique[static_cast<const Pos *>(index->sa)[to]] : 0;
  }
  auto convert = [&](int part) {
    unique_range<Pos>(index, lumo_parallel::part_start(n, parts, part), lumo_parallel::part_start(n, parts, part + 1),
                 after_last[part]);
  };
  lumo_parallel::run(parts, convert);
}

// The first-word counts of text positions [from, to), as differences: a
// suffix starting with word w adds 1 to the size of w's range and to the
// start of every later word's; a suffix whose first `word` bytes hold a
// byte other than '0'..'3' after the letters v sorts before every word
// starting with v when that byte is smaller than '0' (a separator), after
// them when larger.
template <class Pos>
void count_words(const lumo_saindex *index, int64_t from, int64_t to, Pos *start, Pos *size) {
  const int k = index->word;
  const int64_t words = int64_t(1) << (2 * k);
  std::memset(start, 0, static_cast<std::size_t>(words) * sizeof(Pos));
  std::memset(size, 0, static_cast<std::size_t>(words) * sizeof(Pos));
  const unsigned char *t = index->text;
  for (int64_t p = from; p < to; p++) {
    int64_t v = 0;
    int j = 0;
    for (; j < k && p + j < index->total && t[p + j] - unsigned('0') <= 3; j++) v = v << 2 | (t[p + j] - '0');
    if (j == k) {
      size[v]++;
      if (v + 1 < words) start[v + 1]++;
      continue;
    }
    bool before = p + j >= index->total || t[p + j] < '0';
    int64_t first = (v + (before ? 0 : 1)) << (2 * (k - j));
    if (first < words) start[first]++;
  }
}

// The most text ranges the first-word table is counted in: each range
// past the first takes a pair of tables (at most n / 32 entries).
constexpr int MOST_WORD_PARTS = 4;

// The first-word table from the text alone: counted in up to
// MOST_WORD_PARTS text ranges, one per thread, the first into the table,
// the others into spare tables added in; then summed. 0, or -1 out of
// memory.
template <class Pos>
int word_table(lumo_saindex *index, int parts) {
  const int64_t words = int64_t(1) << (2 * index->word);
  Pos *start = static_cast<Pos *>(index->word_lo), *size = static_cast<Pos *>(index->word_hi);
  parts = std::min(parts, MOST_WORD_PARTS);
  auto *spare = parts > 1 ? static_cast<Pos *>(allocate(std::size_t(2 * (parts - 1) * words), sizeof(Pos))) : nullptr;
  if (parts > 1 && !spare) return -1;
  auto count = [&](int part) {
    Pos *own = part == 0 ? start : spare + 2 * (part - 1) * words;
    count_words(index, lumo_parallel::part_start(index->total, parts, part),
                lumo_parallel::part_start(index->total, parts, part + 1), own, part == 0 ? size : own + words);
  };
  lumo_parallel::run(parts, count);
  for (int part = 1; part < parts; part++) {
    const Pos *own = spare + 2 * (part - 1) * words;
    for (int64_t w = 0; w < words; w++) {
      start[w] += own[w];
      size[w] += own[words + w];
    }
  }
  std::free(spare);
  int64_t below = 0;
  for (int64_t w = 0; w < words; w++) {
    below += start[w];
    start[w] = size[w] ? static_cast<Pos>(below) : 0;
    size[w] = size[w] ? static_cast<Pos>(below + size[w]) : 0;
  }
  return 0;
}

uint32_t checksum(const lumo_saindex *index) {
  uLong crc = crc32(0L, Z_NULL, 0);
  for (int i = 0; i < index->count; i++) {
    const unsigned char *from = index->text + index->starts[i];
    int64_t left = index->starts[i + 1] - 1 - index->starts[i];
    while (left > 0) {
      uInt piece = left > (1 << 30) ? (1u << 30) : static_cast<uInt>(left);
      crc = crc32(crc, from, piece);
      from += piece;
      left -= piece;
    }
  }
  return static_cast<uint32_t>(crc);
}

}  // namespace

int64_t word_value(const unsigned char *text, const unsigned char *end, int k) {
  if (end - text < k) return -1;
  int64_t value = 0;
  for (int j = 0; j < k; j++) {
    unsigned code = text[j] - static_cast<unsigned>('0');
    if (code > 3) return -1;
    value = value << 2 | code;
  }
  return value;
}

int word_length(int64_t total) {
  int k = 1;
  while (k < 13 && (int64_t(1) << (2 * (k + 1))) * 16 <= total) k++;
  return k;
}

lumo_saindex *empty_index() {
  return static_cast<lumo_saindex *>(lumo_mem::zeroed(1, sizeof(lumo_saindex)));
}

namespace {

template <class Pos>
int derive_at(lumo_saindex *index, int parts) {
  const auto n = static_cast<std::size_t>(index->total);
  const auto words = std::size_t(1) << (2 * index->word);
  index->sa = allocate(n, sizeof(Pos));
  index->word_lo = allocate(words, sizeof(Pos));
  index->word_hi = allocate(words, sizeof(Pos));
  if (!index->sa || !index->word_lo || !index->word_hi) return -1;
  // One thread sorts with divsufsort; several share the parallel sorter.
  Pos *sa = static_cast<Pos *>(index->sa);
  int sorted = parts > 1 ? sort_suffixes_parallel(index->text, sa, index->total, parts)
                         : sort_serially(index->text, sa, index->total);
  if (sorted != 0 || word_table<Pos>(index, parts) != 0) return -1;
  // The unique bytes are made in the first bytes of a work array of n
  // entries, which is then cut down to them: a peak of (1 + 2 x width) n
  // with text and suffix array (with several threads, a spare block of up
  // to n more).
  auto *work = static_cast<Pos *>(allocate(n, sizeof(Pos)));
  if (!work) return -1;
  prefix_bytes(index, work, parts);
  void *cut = lumo_mem::resize(work, n);
  index->unique = static_cast<unsigned char *>(cut ? cut : work);  // a failed cut keeps the block
  unique_lengths<Pos>(index, parts);
  return 0;
}

}  // namespace

int width_for(int64_t total, int wide) { return wide || total > INT32_MAX ? 8 : 4; }

int derive(lumo_saindex *index, int threads) {
  // More threads than slots would leave parts empty.
  const int parts = int(std::min<int64_t>({threads < 1 ? 1 : threads, lumo_parallel::MOST_PARTS, index->total}));
  index->word = word_length(index->total);
  int made = index->width == 4 ? derive_at<int32_t>(index, parts) : derive_at<int64_t>(index, parts);
  if (made != 0) return -1;
  index->text_checksum = checksum(index);
  return 0;
}

}  // namespace lumo_saindex_impl
