// The suffix array on several threads. Suffixes are first scattered into
// buckets by their first k bytes (the bytes present mapped to compact
// codes, so that k is as large as a bucket table of about 2^21 entries
// allows), counted and scattered by text ranges, one per thread. Each
// thread then sorts a run of buckets of nearly equal total size: a group
// of suffixes sharing `depth` bytes is ordered by the next 8 bytes of each,
// read as one big-endian number, and every run of equal numbers is a group
// at depth + 8. Small groups fetch their numbers once into a buffer (the
// loads are independent, so the memory system overlaps them) and sort
// that; large ones are split in place around a pivot number. The smallest
// groups, and few-member groups still tied 64 bytes past the bucket
// prefix, are compared word by word further on; what stays tied (long
// repeats) is finished by prefix doubling, which keeps it from going
// quadratic, unless so much is tied that divsufsort does better.
//
// A suffix shorter than depth + 8 reads zeros past the text end, so it
// ties with suffixes that carry real zero bytes there; ties go to the
// larger position, which puts such a suffix (a prefix of the others)
// first, and it never enters a deeper group.
#include <divsufsort.h>
#include <divsufsort64.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "lumo_mem.h"
#include "lumo_parallel.h"
#include "lumo_saindex_sort.h"

namespace lumo_saindex_impl {

namespace {

constexpr int64_t MOST_BUCKETS = int64_t(1) << 21;
// Bytes compared directly past the bucket prefix, 8 at a time.
constexpr int64_t DIRECT_DEPTH = 64;
constexpr int LEVELS = DIRECT_DEPTH / 8;
// Groups up to this size are sorted through the key buffer.
constexpr int64_t SMALL_GROUP = 4096;
// Groups of up to this many suffixes still tied at the depth cap (a repeat
// in a few copies) are compared word by word for this many bytes more: a
// scan along both copies, cheaper than rounds of doubling. So are the
// smallest groups at any depth, which a repeat in two copies makes at
// every position and which the key buffer would take 8 bytes a round.
constexpr int64_t FEW_COPIES = 64;
constexpr int64_t FEWEST = 4;
constexpr int64_t LONG_DEPTH = 2048;
// When more than this share of a part's suffixes is left for doubling
// (a text of long repeats), the sorter gives up for divsufsort, whose
// time and memory do not grow with the repeats.
constexpr int64_t MOST_TIED_SHARE = 8;

}  // namespace

int sort_serially(const unsigned char *text, int32_t *sa, int64_t n) {
  return divsufsort(text, sa, static_cast<saidx_t>(n)) == 0 ? 0 : -1;
}
int sort_serially(const unsigned char *text, int64_t *sa, int64_t n) {
  return divsufsort64(text, sa, n) == 0 ? 0 : -1;
}

namespace {

void *allocate(int64_t count, std::size_t size) {
  return lumo_mem::resize(nullptr, static_cast<std::size_t>(count) * size);
}

// The 8 bytes at text[at...], big-endian, zeros past n.
uint64_t key_at(const unsigned char *text, int64_t n, int64_t at) {
  uint64_t key = 0;
  if (at + 8 <= n) {
    std::memcpy(&key, text + at, 8);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    key = __builtin_bswap64(key);
#endif
    return key;
  }
  for (int64_t j = at; j < at + 8; j++) key = key << 8 | (j < n ? text[j] : 0);
  return key;
}

// Bucket numbering: the bytes present get codes 0..size-1 in byte order;
// the bucket of the suffix at p is its first k codes as a base-`size`
// number, padded with code 0 past the text end (a shorter suffix then
// shares the bucket of suffixes it is a prefix of, and sorts first there).
struct Buckets {
  unsigned code[256];
  int64_t size, k, count, top;  // top = size^(k - 1)
};

Buckets bucketing(const unsigned char *text, int64_t n, int parts) {
  bool present[256] = {};
  for (int64_t p = 0; p < n; p++) present[text[p]] = true;
  Buckets b{};
  for (int c = 0; c < 256; c++) b.code[c] = present[c] ? unsigned(b.size++) : 0;
  if (b.size == 0) b.size = 1;
  // The counts of every part, parts x count entries, stay below n / 2
  // (or one bucket per byte present, for the shortest texts).
  const int64_t most = std::max<int64_t>(b.size, std::min(MOST_BUCKETS, n / (2 * parts)));
  b.k = 1;
  b.count = b.size;
  while (b.k < 16 && b.count * b.size <= most) {
    b.count *= b.size;
    b.k++;
  }
  b.top = b.count / b.size;
  return b;
}

// Calls visit(p, bucket of p) for p in [from, to), rolling the bucket
// number along the text.
template <class Visit>
void each_bucket(const Buckets &b, const unsigned char *text, int64_t n, int64_t from, int64_t to, Visit visit) {
  int64_t code = 0;
  for (int64_t j = from; j < from + b.k; j++) code = code * b.size + (j < n ? b.code[text[j]] : 0);
  for (int64_t p = from; p < to; p++) {
    visit(p, code);
    int64_t next = p + b.k < n ? b.code[text[p + b.k]] : 0;
    code = (code - b.code[text[p]] * b.top) * b.size + next;
  }
}

// Scatters the suffixes into their buckets. `offsets` (parts x count)
// ends as the bucket ends in its last row.
template <class Pos>
void scatter(const Buckets &b, const unsigned char *text, Pos *sa, int64_t n, int parts, Pos *offsets) {
  auto count = [&](int part) {
    Pos *row = offsets + part * b.count;
    std::memset(row, 0, static_cast<std::size_t>(b.count) * sizeof(Pos));
    each_bucket(b, text, n, lumo_parallel::part_start(n, parts, part), lumo_parallel::part_start(n, parts, part + 1),
                [row](int64_t, int64_t code) { row[code]++; });
  };
  lumo_parallel::run(parts, count);
  int64_t below = 0;
  for (int64_t code = 0; code < b.count; code++) {
    for (int part = 0; part < parts; part++) {
      Pos here = offsets[part * b.count + code];
      offsets[part * b.count + code] = static_cast<Pos>(below);
      below += here;
    }
  }
  auto place = [&](int part) {
    Pos *row = offsets + part * b.count;
    each_bucket(b, text, n, lumo_parallel::part_start(n, parts, part), lumo_parallel::part_start(n, parts, part + 1),
                [row, sa](int64_t p, int64_t code) { sa[row[code]++] = static_cast<Pos>(p); });
  };
  lumo_parallel::run(parts, place);
}

template <class Pos>
struct Keyed {
  uint64_t key;
  Pos pos;
};

// What one thread needs to sort groups: the text, the array, a key buffer
// of LEVELS x `small` entries (one level per 8 bytes of depth past the
// bucket prefix, so a group's buffer outlives the sorting of its runs) and
// the groups left tied at depth `cap` + LONG_DEPTH, at most `most_tied`
// suffixes before the part raises `abandoned`.
template <class Pos>
struct Sorter {
  const unsigned char *text;
  int64_t n;
  Pos *sa;
  Keyed<Pos> *buffer;
  int64_t small, k, cap;
  Ties<Pos> ties;
  int64_t tied, most_tied;
  std::atomic<bool> *abandoned;
};

template <class Pos>
void sort_group(Sorter<Pos> &s, int64_t from, int64_t to, int64_t depth);

// The suffixes of a run of equal keys [from, to) at `depth` that reach
// past depth + 8 (the last of the run, as ties go to the larger position)
// form the group at depth + 8.
template <class Pos>
void deeper(Sorter<Pos> &s, int64_t from, int64_t to, int64_t depth) {
  while (from < to && s.sa[from] + depth + 8 > s.n) from++;
  sort_group(s, from, to, depth + 8);
}

template <class Pos>
void sort_small(Sorter<Pos> &s, int64_t from, int64_t to, int64_t depth) {
  Keyed<Pos> *keys = s.buffer + (depth - s.k) / 8 * s.small;
  const int64_t m = to - from;
  for (int64_t i = 0; i < m; i++) keys[i] = {key_at(s.text, s.n, s.sa[from + i] + depth), s.sa[from + i]};
  std::sort(keys, keys + m,
            [](const Keyed<Pos> &a, const Keyed<Pos> &b) { return a.key != b.key ? a.key < b.key : a.pos > b.pos; });
  for (int64_t i = 0; i < m; i++) s.sa[from + i] = keys[i].pos;
  for (int64_t i = 0, j; i < m; i = j) {
    for (j = i + 1; j < m && keys[j].key == keys[i].key;) j++;
    if (j - i > 1) deeper(s, from + i, from + j, depth);
  }
}

// Splits [from, to) in place into keys below, equal to and above that of
// a middle suffix; the equal part is ordered by position, largest first,
// where a suffix ends within the 8 bytes (few: they lie at the text end).
// The smaller outer part is sorted by recursion, the larger by the loop,
// so the stack stays logarithmic whatever the pivots.
template <class Pos>
void sort_large(Sorter<Pos> &s, int64_t from, int64_t to, int64_t depth) {
  Pos *sa = s.sa;
  while (to - from > s.small) {
    const uint64_t pivot = key_at(s.text, s.n, sa[from + (to - from) / 2] + depth);
    int64_t below = from, i = from, above = to;
    while (i < above) {
      uint64_t key = key_at(s.text, s.n, sa[i] + depth);
      if (key < pivot) std::swap(sa[below++], sa[i++]);
      else if (key > pivot) std::swap(sa[i], sa[--above]);
      else i++;
    }
    Pos *shorter = std::partition(sa + below, sa + above, [&](Pos p) { return p + depth + 8 > s.n; });
    std::sort(sa + below, shorter, [](Pos a, Pos b) { return a > b; });
    deeper(s, below, above, depth);
    if (below - from < to - above) {
      sort_group(s, from, below, depth);
      from = above;
    } else {
      sort_group(s, above, to, depth);
      to = below;
    }
  }
  sort_group(s, from, to, depth);
}

// Compares the suffixes at a and b, which share their first `depth`
// bytes, up to byte `limit`: negative, 0 (still tied) or positive. Past
// the text end as in the key order.
int compare_long(const unsigned char *text, int64_t n, int64_t a, int64_t b, int64_t depth, int64_t limit) {
  for (int64_t d = depth; d < limit; d += 8) {
    const uint64_t ka = key_at(text, n, a + d), kb = key_at(text, n, b + d);
    if (ka != kb) return ka < kb ? -1 : 1;
    if (a + d + 8 > n || b + d + 8 > n) return a > b ? -1 : 1;
  }
  return 0;
}

template <class Pos>
void tie(Sorter<Pos> &s, int64_t from, int64_t to) {
  add_tie(&s.ties, from, to);
  s.tied += to - from;
  if (s.tied > s.most_tied) s.abandoned->store(true, std::memory_order_relaxed);
}

// A group of a few suffixes: sorted by comparing up to LONG_DEPTH bytes
// past the depth cap, its runs still tied listed for doubling.
template <class Pos>
void sort_long(Sorter<Pos> &s, int64_t from, int64_t to, int64_t depth) {
  const int64_t limit = s.cap + LONG_DEPTH;
  std::sort(s.sa + from, s.sa + to, [&](Pos a, Pos b) { return compare_long(s.text, s.n, a, b, depth, limit) < 0; });
  for (int64_t i = from, j; i < to; i = j) {
    for (j = i + 1; j < to && compare_long(s.text, s.n, s.sa[j - 1], s.sa[j], depth, limit) == 0;) j++;
    if (j - i > 1) tie(s, i, j);
  }
}

// Orders the group [from, to) of suffixes sharing their first `depth`
// bytes, or lists it as tied at the depth cap.
template <class Pos>
void sort_group(Sorter<Pos> &s, int64_t from, int64_t to, int64_t depth) {
  if (to - from < 2) return;
  if (to - from <= FEWEST) {
    sort_long(s, from, to, depth);
  } else if (depth < s.cap) {
    if (to - from <= s.small) sort_small(s, from, to, depth);
    else sort_large(s, from, to, depth);
  } else if (to - from <= FEW_COPIES) {
    sort_long(s, from, to, depth);
  } else {
    tie(s, from, to);
  }
}

// The first bucket of each part: parts share the slots nearly equally,
// each starting at a bucket's start. `ends` holds the bucket ends.
template <class Pos>
void part_buckets(const Pos *ends, int64_t count, int64_t n, int parts, int64_t *first) {
  for (int part = 0; part <= parts; part++) {
    const int64_t slot = lumo_parallel::part_start(n, parts, part);
    first[part] = part == parts ? count : std::upper_bound(ends, ends + count, Pos(slot)) - ends;
  }
}

// Sorts the buckets of every part, each with its key buffer, and lists
// the groups left tied in lists[part]. 0, 1 when too many are tied, or
// -1 out of memory.
template <class Pos>
int sort_buckets(const unsigned char *text, Pos *sa, int64_t n, int parts, const Buckets &b, const Pos *ends,
                 Ties<Pos> *lists) {
  const int64_t small = std::min(SMALL_GROUP, n);
  auto *buffers = static_cast<Keyed<Pos> *>(allocate(parts * LEVELS * small, sizeof(Keyed<Pos>)));
  auto *first = static_cast<int64_t *>(allocate(parts + 1, sizeof(int64_t)));
  std::atomic<bool> abandoned{false};
  if (buffers && first) {
    part_buckets(ends, b.count, n, parts, first);
    auto sort_part = [&](int part) {
      Sorter<Pos> s{text, n, sa, buffers + part * LEVELS * small, small, b.k, b.k + DIRECT_DEPTH, {},
                    0, n / (parts * MOST_TIED_SHARE), &abandoned};
      for (int64_t code = first[part]; code < first[part + 1] && !abandoned.load(std::memory_order_relaxed); code++)
        sort_group(s, code == 0 ? 0 : int64_t(ends[code - 1]), int64_t(ends[code]), b.k);
      lists[part] = s.ties;
    };
    lumo_parallel::run(parts, sort_part);
  }
  const int sorted = !buffers || !first ? -1 : abandoned.load() ? 1 : 0;
  std::free(buffers);
  std::free(first);
  return sorted;
}

template <class Pos>
int sort_at(const unsigned char *text, Pos *sa, int64_t n, int parts) {
  if (n == 0) return 0;
  const Buckets b = bucketing(text, n, parts);
  auto *offsets = static_cast<Pos *>(allocate(parts * b.count, sizeof(Pos)));
  auto *lists = static_cast<Ties<Pos> *>(lumo_mem::zeroed(static_cast<std::size_t>(parts), sizeof(Ties<Pos>)));
  int sorted = -1;
  if (offsets && lists) {
    scatter(b, text, sa, n, parts, offsets);
    sorted = sort_buckets(text, sa, n, parts, b, offsets + (parts - 1) * b.count, lists);
  }
  std::free(offsets);
  if (sorted == 1) {
    for (int part = 0; part < parts; part++) lists[part] = (std::free(lists[part].at), Ties<Pos>{});
    sorted = sort_serially(text, sa, n);
  }
  // The bucket table is gone before doubling takes its rank array.
  if (lists && finish_ties(sa, n, lists, parts, b.k + DIRECT_DEPTH) != 0) sorted = -1;
  std::free(lists);
  return sorted;
}

}  // namespace

int sort_suffixes_parallel(const unsigned char *text, int32_t *sa, int64_t n, int parts) {
  return sort_at(text, sa, n, parts);
}
int sort_suffixes_parallel(const unsigned char *text, int64_t *sa, int64_t n, int parts) {
  return sort_at(text, sa, n, parts);
}

}  // namespace lumo_saindex_impl
