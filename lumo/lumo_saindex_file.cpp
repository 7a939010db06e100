// The file form of the suffix-array index. Numbers are little-endian; the
// name and version come first so that any file can be told apart before
// anything is trusted. Every byte after the version is covered by a final
// CRC-32, and every count and value that later code indexes with is
// checked against the others, so a damaged or forged file is refused
// rather than read into a wrong answer or a bad memory access.
//
//   "LUMOSAIX"  u32 version
//   u32 texts  u64 joined length n  u32 word length  u32 position bytes w
//   (4 or 8)  u32 CRC-32 of the texts
//   per text: u32 name bytes, the name, u64 length
//   the joined text (n bytes), suffix array (n positions of w bytes),
//   unique bytes (n), word table low and high ends (4^word positions each)
//   u32 CRC-32 of everything after the version
#include <zlib.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "lumo_mem.h"
#include "lumo_saindex_impl.h"

using namespace lumo_saindex_impl;

namespace {

constexpr std::size_t MAGIC_BYTES = 8;

bool little_endian_host() {
  const uint16_t probe = 1;
  unsigned char first;
  std::memcpy(&first, &probe, 1);
  return first == 1;
}

// Positions of `width` bytes between file (little-endian) and host order.
void swap_positions(void *positions, int width, int64_t count) {
  if (little_endian_host()) return;
  for (int64_t i = 0; i < count; i++) {
    if (width == 4) {
      auto *p = static_cast<uint32_t *>(positions) + i;
      *p = __builtin_bswap32(*p);
    } else {
      auto *p = static_cast<uint64_t *>(positions) + i;
      *p = __builtin_bswap64(*p);
    }
  }
}

uLong crc_of(uLong crc, const void *data, std::size_t size) {
  const auto *bytes = static_cast<const Bytef *>(data);
  while (size > 0) {
    uInt piece = size > (1u << 30) ? (1u << 30) : static_cast<uInt>(size);
    crc = crc32(crc, bytes, piece);
    bytes += piece;
    size -= piece;
  }
  return crc;
}

// ---- writing

struct Writer {
  FILE *out;
  uLong crc;
  bool failed;

  void bytes(const void *data, std::size_t size) {
    if (failed || size == 0) return;
    crc = crc_of(crc, data, size);
    failed = std::fwrite(data, 1, size, out) != size;
  }
  void u32(uint32_t v) {
    unsigned char b[4];
    for (int k = 0; k < 4; k++) b[k] = static_cast<unsigned char>(v >> (8 * k));
    bytes(b, 4);
  }
  void u64(uint64_t v) {
    unsigned char b[8];
    for (int k = 0; k < 8; k++) b[k] = static_cast<unsigned char>(v >> (8 * k));
    bytes(b, 8);
  }
  // Host positions of `width` bytes, written little-endian.
  void positions(const void *p, int width, int64_t count) {
    if (little_endian_host()) return bytes(p, static_cast<std::size_t>(count) * std::size_t(width));
    for (int64_t i = 0; i < count; i++) {
      if (width == 4) u32(static_cast<const uint32_t *>(p)[i]);
      else u64(static_cast<const uint64_t *>(p)[i]);
    }
  }
};

// ---- reading

struct Reader {
  FILE *in;
  uLong crc;
  char *message;  // the first failure

  void fail(const char *format, ...) __attribute__((format(printf, 2, 3))) {
    if (message) return;
    va_list args;
    va_start(args, format);
    char line[200];
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::size_t size = std::strlen(line) + 1;
    message = static_cast<char *>(lumo_mem::resize(nullptr, size));
    if (message) std::memcpy(message, line, size);
  }
  bool ok() const { return !message; }
  bool bytes(void *data, std::size_t size) {
    if (!ok()) return false;
    if (std::fread(data, 1, size, in) != size) {
      if (std::ferror(in)) fail("read error: %s", std::strerror(errno));
      else fail("damaged index: the file is cut short");
      return false;
    }
    crc = crc_of(crc, data, size);
    return true;
  }
  uint32_t u32() {
    unsigned char b[4] = {0, 0, 0, 0};
    bytes(b, 4);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
  }
  uint64_t u64() {
    uint64_t low = u32();
    return low | uint64_t(u32()) << 32;
  }
};

void *block(Reader &r, std::size_t count, std::size_t size) {
  void *p = count == 0 ? nullptr : lumo_mem::zeroed(count, size);
  if (!p && count != 0) r.fail("out of memory loading the index");
  lumo_mem::prefer_huge_pages(p, count * size);
  return p;
}

bool read_start(Reader &r) {
  char magic[MAGIC_BYTES];
  if (std::fread(magic, 1, MAGIC_BYTES, r.in) != MAGIC_BYTES ||
      std::memcmp(magic, LUMO_SAINDEX_MAGIC, MAGIC_BYTES) != 0) {
    if (std::ferror(r.in)) r.fail("read error: %s", std::strerror(errno));
    else r.fail("not a suffix-array index (it does not start with %s)", LUMO_SAINDEX_MAGIC);
    return false;
  }
  uint32_t version = r.u32();
  if (r.ok() && version != LUMO_SAINDEX_VERSION)
    r.fail("index format version %u, but this program reads version %d: build the index again",
           version, LUMO_SAINDEX_VERSION);
  r.crc = crc32(0L, Z_NULL, 0);
  return r.ok();
}

// The counts, names and lengths; checks that they agree with each other.
bool read_header(Reader &r, lumo_saindex *index) {
  uint32_t count = r.u32();
  uint64_t total = r.u64();
  uint32_t word = r.u32();
  uint32_t width = r.u32();
  index->text_checksum = r.u32();
  if (!r.ok()) return false;
  if (count < 1 || count > INT32_MAX / 2 || total >= uint64_t(LONGEST_TOTAL) ||
      static_cast<int>(word) != word_length(static_cast<int64_t>(total)) ||
      (width != 8 && int(width) != width_for(int64_t(total), 0))) {
    r.fail("damaged index: impossible counts in its header");
    return false;
  }
  index->count = static_cast<int>(count);
  index->total = static_cast<int64_t>(total);
  index->word = static_cast<int>(word);
  index->width = static_cast<int>(width);
  index->names = static_cast<char **>(block(r, count, sizeof(char *)));
  index->starts = static_cast<int64_t *>(block(r, count + 1, sizeof(int64_t)));
  int64_t at = 0;
  for (uint32_t i = 0; r.ok() && i < count; i++) {
    uint32_t size = r.u32();
    if (r.ok() && size > NAME_LIMIT) r.fail("damaged index: a name of %u bytes", size);
    if (!r.ok() || !(index->names[i] = static_cast<char *>(block(r, size + 1, 1)))) return false;
    r.bytes(index->names[i], size);
    uint64_t length = r.u64();
    index->starts[i] = at;
    if (r.ok() && (length < 1 || length > total || at + int64_t(length) + 1 > int64_t(total)))
      r.fail("damaged index: the text lengths exceed the joined length");
    at += static_cast<int64_t>(length) + 1;
  }
  if (r.ok() && at != index->total) r.fail("damaged index: the text lengths disagree with the joined length");
  index->starts[count] = at;
  return r.ok();
}

bool read_arrays(Reader &r, lumo_saindex *index) {
  const auto n = static_cast<std::size_t>(index->total);
  const auto words = std::size_t(1) << (2 * index->word);
  index->text = static_cast<unsigned char *>(block(r, n, 1));
  const auto w = std::size_t(index->width);
  index->sa = block(r, n, w);
  index->unique = static_cast<unsigned char *>(block(r, n, 1));
  index->word_lo = block(r, words, w);
  index->word_hi = block(r, words, w);
  if (!r.ok()) return false;
  r.bytes(index->text, n);
  r.bytes(index->sa, n * w);
  r.bytes(index->unique, n);
  r.bytes(index->word_lo, words * w);
  r.bytes(index->word_hi, words * w);
  swap_positions(index->sa, index->width, index->total);
  swap_positions(index->word_lo, index->width, int64_t(words));
  swap_positions(index->word_hi, index->width, int64_t(words));
  return r.ok();
}

// What searching relies on: separators exactly at the text ends, suffix
// array and word table values in range.
bool consistent(const lumo_saindex *index) {
  for (int i = 0; i < index->count; i++) {
    const unsigned char *from = index->text + index->starts[i];
    auto length = static_cast<std::size_t>(index->starts[i + 1] - 1 - index->starts[i]);
    if (std::memchr(from, SEPARATOR, length) || from[length] != SEPARATOR) return false;
  }
  for (int64_t i = 0; i < index->total; i++)
    if (sa_at(index, i) < 0 || sa_at(index, i) >= index->total) return false;
  const int64_t words = int64_t(1) << (2 * index->word);
  for (int64_t w = 0; w < words; w++) {
    int64_t lo = word_lo_at(index, w), hi = word_hi_at(index, w);
    if (lo < 0 || lo > hi || hi > index->total) return false;
  }
  return true;
}

void check_end(Reader &r, uint32_t computed) {
  uint32_t stored = r.u32();
  if (!r.ok()) return;
  if (stored != computed) return r.fail("damaged index: its checksum does not match its contents");
  if (std::fgetc(r.in) != EOF) r.fail("damaged index: bytes after its end");
  else if (std::ferror(r.in)) r.fail("read error: %s", std::strerror(errno));
}

}  // namespace

extern "C" {

int lumo_saindex_save(const LUMO_SAINDEX *index, FILE *out) {
  if (!index || !out) return -1;
  Writer w{out, 0, false};
  w.bytes(LUMO_SAINDEX_MAGIC, MAGIC_BYTES);
  w.u32(LUMO_SAINDEX_VERSION);
  w.crc = crc32(0L, Z_NULL, 0);
  w.u32(static_cast<uint32_t>(index->count));
  w.u64(static_cast<uint64_t>(index->total));
  w.u32(static_cast<uint32_t>(index->word));
  w.u32(static_cast<uint32_t>(index->width));
  w.u32(index->text_checksum);
  for (int i = 0; i < index->count; i++) {
    auto size = static_cast<uint32_t>(std::strlen(index->names[i]));
    w.u32(size);
    w.bytes(index->names[i], size);
    w.u64(static_cast<uint64_t>(lumo_saindex_length(index, i)));
  }
  const auto n = static_cast<std::size_t>(index->total);
  const int64_t words = int64_t(1) << (2 * index->word);
  w.bytes(index->text, n);
  w.positions(index->sa, index->width, index->total);
  w.bytes(index->unique, n);
  w.positions(index->word_lo, index->width, words);
  w.positions(index->word_hi, index->width, words);
  uint32_t crc = static_cast<uint32_t>(w.crc);
  w.u32(crc);
  return w.failed ? -1 : 0;
}

LUMO_SAINDEX *lumo_saindex_load(FILE *in, char **message) {
  if (message) *message = nullptr;
  Reader r{in, 0, nullptr};
  lumo_saindex *index = nullptr;
  if (!in) r.fail("no file to read");
  else if (!(index = empty_index())) r.fail("out of memory loading the index");
  if (r.ok() && read_start(r) && read_header(r, index) && read_arrays(r, index))
    check_end(r, static_cast<uint32_t>(r.crc));
  if (r.ok() && !consistent(index)) r.fail("damaged index: values out of range");
  if (r.ok()) return index;
  lumo_saindex_free(index);
  if (message) *message = r.message;
  else std::free(r.message);
  return nullptr;
}

}  // extern "C"
