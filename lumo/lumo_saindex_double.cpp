// Prefix doubling for the suffix-array ranges the direct sort leaves tied
// (long repeats). rank[p] is the last slot of the range holding suffix p,
// which is its final slot once p is alone, so ordering a range whose
// suffixes share h bytes by rank[p + h] orders them by 2h bytes. Each
// round runs in two passes split by a barrier, ranges shared between the
// threads by size: the first sorts every range reading ranks and marks
// the last slot of each run of equal ranks (its position bit-inverted,
// which makes it negative); the second clears the marks, writes the new
// ranks and lists the runs still tied. So no thread reads a rank another
// is writing.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "lumo_mem.h"
#include "lumo_parallel.h"
#include "lumo_saindex_sort.h"

namespace lumo_saindex_impl {

template <class Pos>
void add_tie(Ties<Pos> *ties, int64_t from, int64_t to) {
  if (ties->failed) return;
  if (ties->count == ties->capacity) {
    const int64_t more = ties->capacity ? 2 * ties->capacity : 64;
    void *grown = lumo_mem::resize(ties->at, static_cast<std::size_t>(more) * 2 * sizeof(Pos));
    if (!grown) {
      ties->failed = true;
      return;
    }
    ties->at = static_cast<Pos *>(grown);
    ties->capacity = more;
  }
  ties->at[2 * ties->count] = static_cast<Pos>(from);
  ties->at[2 * ties->count + 1] = static_cast<Pos>(to);
  ties->count++;
}

namespace {

// The ranges of every list in one, the lists released; `failed` when a
// list had failed or the joined one cannot be had.
template <class Pos>
Ties<Pos> gather(Ties<Pos> *lists, int parts) {
  Ties<Pos> all{};
  for (int part = 0; part < parts; part++) {
    all.count += lists[part].count;
    all.failed = all.failed || lists[part].failed;
  }
  if (!all.failed && all.count > 0) {
    all.at = static_cast<Pos *>(lumo_mem::resize(nullptr, static_cast<std::size_t>(all.count) * 2 * sizeof(Pos)));
    all.failed = !all.at;
  }
  int64_t at = 0;
  for (int part = 0; part < parts; part++) {
    if (all.at && lists[part].count > 0) std::memcpy(all.at + 2 * at, lists[part].at, static_cast<std::size_t>(lists[part].count) * 2 * sizeof(Pos));
    at += lists[part].count;
    std::free(lists[part].at);
    lists[part] = Ties<Pos>{};
  }
  all.capacity = all.count;
  return all;
}

// The first range of each part (first[parts] = all.count), so that the
// parts hold nearly equal numbers of suffixes.
template <class Pos>
void cut(const Ties<Pos> &all, int parts, int64_t *first) {
  int64_t total = 0;
  for (int64_t g = 0; g < all.count; g++) total += all.at[2 * g + 1] - all.at[2 * g];
  int64_t below = 0, g = 0;
  for (int part = 0; part < parts; part++) {
    const int64_t from = lumo_parallel::part_start(total, parts, part);
    for (; g < all.count && below < from; g++) below += all.at[2 * g + 1] - all.at[2 * g];
    first[part] = g;
  }
  first[parts] = all.count;
}

// The rank of the suffix h bytes past p; -1 for the empty suffix.
template <class Pos>
int64_t later(const Pos *rank, int64_t n, int64_t p, int64_t h) {
  return p + h < n ? int64_t(rank[p + h]) : -1;
}

// Sorts [from, to) by the rank h bytes on and marks the last slot of each
// run of equal ranks.
template <class Pos>
void sort_range(Pos *sa, const Pos *rank, int64_t n, int64_t from, int64_t to, int64_t h) {
  std::sort(sa + from, sa + to, [&](Pos a, Pos b) { return later(rank, n, a, h) < later(rank, n, b, h); });
  for (int64_t i = from; i < to; i++)
    if (i + 1 == to || later(rank, n, sa[i], h) != later(rank, n, sa[i + 1], h)) sa[i] = ~sa[i];
}

// Clears the marks of [from, to), gives each marked run its last slot as
// rank, and lists the runs of two or more.
template <class Pos>
void rank_runs(Pos *sa, Pos *rank, int64_t from, int64_t to, Ties<Pos> *next) {
  int64_t start = from;
  for (int64_t i = from; i < to; i++) {
    if (sa[i] >= 0) continue;
    sa[i] = ~sa[i];
    for (int64_t j = start; j <= i; j++) rank[sa[j]] = static_cast<Pos>(i);
    if (i > start) add_tie(next, start, i + 1);
    start = i + 1;
  }
}

template <class Pos>
struct Doubling {
  Pos *sa, *rank;
  int64_t n;
  int parts;
  int64_t *first;  // parts + 1 entries
  Ties<Pos> *next;  // parts lists
};

// Writes the ranks of the marked runs of `all` and replaces it by the
// runs still tied. 0, or -1 out of memory.
template <class Pos>
int next_round(Doubling<Pos> &d, Ties<Pos> &all) {
  auto update = [&](int part) {
    for (int64_t g = d.first[part]; g < d.first[part + 1]; g++)
      rank_runs(d.sa, d.rank, all.at[2 * g], all.at[2 * g + 1], &d.next[part]);
  };
  lumo_parallel::run(d.parts, update);
  std::free(all.at);
  all = gather(d.next, d.parts);
  return all.failed ? -1 : 0;
}

template <class Pos>
int double_ties(Doubling<Pos> &d, Ties<Pos> &all, int64_t h) {
  auto ranks = [&](int part) {
    const int64_t to = lumo_parallel::part_start(d.n, d.parts, part + 1);
    for (int64_t i = lumo_parallel::part_start(d.n, d.parts, part); i < to; i++) d.rank[d.sa[i]] = static_cast<Pos>(i);
  };
  lumo_parallel::run(d.parts, ranks);
  // Each range as one run, to give its suffixes their shared rank.
  for (int64_t g = 0; g < all.count; g++) d.sa[all.at[2 * g + 1] - 1] = ~d.sa[all.at[2 * g + 1] - 1];
  cut(all, d.parts, d.first);
  if (next_round(d, all) != 0) return -1;
  for (; all.count > 0; h *= 2) {
    cut(all, d.parts, d.first);
    auto sort = [&](int part) {
      for (int64_t g = d.first[part]; g < d.first[part + 1]; g++)
        sort_range(d.sa, d.rank, d.n, all.at[2 * g], all.at[2 * g + 1], h);
    };
    lumo_parallel::run(d.parts, sort);
    if (next_round(d, all) != 0) return -1;
  }
  return 0;
}

}  // namespace

template <class Pos>
int finish_ties(Pos *sa, int64_t n, Ties<Pos> *lists, int parts, int64_t depth) {
  Ties<Pos> all = gather(lists, parts);
  if (all.failed || all.count == 0) {
    std::free(all.at);
    return all.failed ? -1 : 0;
  }
  Doubling<Pos> d{sa, static_cast<Pos *>(lumo_mem::resize(nullptr, static_cast<std::size_t>(n) * sizeof(Pos))), n, parts,
                  static_cast<int64_t *>(lumo_mem::resize(nullptr, (static_cast<std::size_t>(parts) + 1) * sizeof(int64_t))),
                  static_cast<Ties<Pos> *>(lumo_mem::zeroed(static_cast<std::size_t>(parts), sizeof(Ties<Pos>)))};
  const int done = d.rank && d.first && d.next ? double_ties(d, all, depth) : -1;
  std::free(all.at);
  std::free(d.rank);
  std::free(d.first);
  std::free(d.next);
  return done;
}

template void add_tie(Ties<int32_t> *, int64_t, int64_t);
template void add_tie(Ties<int64_t> *, int64_t, int64_t);
template int finish_ties(int32_t *, int64_t, Ties<int32_t> *, int, int64_t);
template int finish_ties(int64_t *, int64_t, Ties<int64_t> *, int, int64_t);

}  // namespace lumo_saindex_impl
