// The suffix-array index's public functions: joining the texts and
// building (the derivation is in lumo_saindex_build.cpp), freeing, and the
// accessors.
#include <cstdlib>
#include <cstring>

#include "lumo_mem.h"
#include "lumo_saindex_impl.h"

using namespace lumo_saindex_impl;

namespace {

char *copy_name(const char *name) {
  if (!name) name = "";
  std::size_t size = std::strlen(name) + 1;
  if (size > NAME_LIMIT + 1) return nullptr;
  auto *copy = static_cast<char *>(lumo_mem::resize(nullptr, size));
  if (copy) std::memcpy(copy, name, size);
  return copy;
}

// Joins the texts with a separator after each into index->text; 0, or -1
// when an argument is unusable or memory runs out.
int join(lumo_saindex *index, const char *const *names, const char *const *texts,
         const int64_t *lengths) {
  int64_t total = 0;
  for (int i = 0; i < index->count; i++) {
    if (!texts[i] || lengths[i] < 1 || lengths[i] >= LONGEST_TOTAL - total) return -1;
    if (std::memchr(texts[i], SEPARATOR, static_cast<std::size_t>(lengths[i]))) return -1;
    total += lengths[i] + 1;
  }
  index->total = total;
  index->names = static_cast<char **>(lumo_mem::zeroed(static_cast<std::size_t>(index->count), sizeof(char *)));
  index->starts = static_cast<int64_t *>(lumo_mem::zeroed(static_cast<std::size_t>(index->count) + 1, sizeof(int64_t)));
  index->text = static_cast<unsigned char *>(lumo_mem::resize(nullptr, static_cast<std::size_t>(total)));
  lumo_mem::prefer_huge_pages(index->text, static_cast<std::size_t>(total));
  if (!index->names || !index->starts || !index->text) return -1;
  int64_t at = 0;
  for (int i = 0; i < index->count; i++) {
    if (!(index->names[i] = copy_name(names ? names[i] : nullptr))) return -1;
    index->starts[i] = at;
    std::memcpy(index->text + at, texts[i], static_cast<std::size_t>(lengths[i]));
    at += lengths[i];
    index->text[at++] = SEPARATOR;
  }
  index->starts[index->count] = at;
  return 0;
}

}  // namespace

extern "C" {

LUMO_SAINDEX *lumo_saindex_build(int count, const char *const *names, const char *const *texts,
                                 const int64_t *lengths) {
  return lumo_saindex_build_parallel(count, names, texts, lengths, 1, 0);
}

LUMO_SAINDEX *lumo_saindex_build_parallel(int count, const char *const *names, const char *const *texts,
                                          const int64_t *lengths, int threads, int flags) {
  if (count < 1 || !texts || !lengths) return nullptr;
  lumo_saindex *index = empty_index();
  if (!index) return nullptr;
  index->count = count;
  if (join(index, names, texts, lengths) != 0) {
    lumo_saindex_free(index);
    return nullptr;
  }
  index->width = width_for(index->total, flags & LUMO_SAINDEX_WIDE);
  if (derive(index, threads) != 0) {
    lumo_saindex_free(index);
    return nullptr;
  }
  return index;
}

void lumo_saindex_free(LUMO_SAINDEX *index) {
  if (!index) return;
  if (index->names)
    for (int i = 0; i < index->count; i++) std::free(index->names[i]);
  std::free(index->names);
  std::free(index->starts);
  std::free(index->text);
  std::free(index->sa);
  std::free(index->unique);
  std::free(index->word_lo);
  std::free(index->word_hi);
  std::free(index);
}

int lumo_saindex_count(const LUMO_SAINDEX *index) { return index->count; }

const char *lumo_saindex_name(const LUMO_SAINDEX *index, int text) {
  return text >= 0 && text < index->count ? index->names[text] : nullptr;
}

int64_t lumo_saindex_length(const LUMO_SAINDEX *index, int text) {
  return text >= 0 && text < index->count ? index->starts[text + 1] - 1 - index->starts[text] : -1;
}

const char *lumo_saindex_text(const LUMO_SAINDEX *index) {
  return reinterpret_cast<const char *>(index->text);
}

int64_t lumo_saindex_total(const LUMO_SAINDEX *index) { return index->total; }

int lumo_saindex_position_bits(const LUMO_SAINDEX *index) { return 8 * index->width; }

int lumo_saindex_locate(const LUMO_SAINDEX *index, int64_t pos, int *text, int64_t *offset) {
  if (pos < 0 || pos >= index->total || index->text[pos] == SEPARATOR) return 0;
  int lo = 0, hi = index->count;  // the last start <= pos
  while (hi - lo > 1) {
    int mid = lo + (hi - lo) / 2;
    if (index->starts[mid] <= pos) lo = mid;
    else hi = mid;
  }
  if (text) *text = lo;
  if (offset) *offset = pos - index->starts[lo];
  return 1;
}

int lumo_saindex_built_from(const LUMO_SAINDEX *index, int count, const char *const *names,
                            const char *const *texts, const int64_t *lengths) {
  if (!index || !names || !texts || !lengths || count != index->count) return 0;
  for (int i = 0; i < count; i++) {
    if (!names[i] || !texts[i] || std::strcmp(names[i], index->names[i]) != 0) return 0;
    if (lengths[i] != lumo_saindex_length(index, i)) return 0;
    if (std::memcmp(texts[i], index->text + index->starts[i], static_cast<std::size_t>(lengths[i])) != 0)
      return 0;
  }
  return 1;
}

}  // extern "C"
