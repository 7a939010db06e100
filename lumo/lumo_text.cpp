// Line-by-line reading of plain or gzip-compressed text from a stream.
#include "lumo_text.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <zlib.h>

#include "lumo_mem.h"

namespace {

// The first read of the stream and each growth step of the text buffer.
const std::size_t kTextChunk = std::size_t(1) << 18;
// Compressed bytes are read this many at a time.
const std::size_t kPackedChunk = std::size_t(1) << 16;

const char kOutOfMemory[] = "out of memory";
const char kCutShort[] = "gzip data cut short";
const char kCorrupt[] = "corrupt gzip data";
const char kTrailing[] = "bytes after the last gzip member are not gzip data";

}  // namespace

// text[pos..len) is text not yet handed out, always kept in one piece so
// that a line or a peek never spans two blocks. When the free room at the
// end is gone, the pending bytes move to the front, and the block doubles
// when they fill it (a line longer than the block).
struct lumo_text {
  std::FILE *stream;
  unsigned char *text;
  std::size_t pos, len, cap;
  long long line_number;
  int decided;         // the first bytes have been looked at
  int gzip;            // the stream is gzip data; `inflater` is set up
  int in_member;       // inflating a member whose end has not come yet
  int at_end;          // no more text will come
  const char *problem; // set once, on the first failure
  int read_error;      // errno of a failed read
  z_stream inflater;
  unsigned char *packed;  // compressed bytes: inflater.next_in points into it
  std::size_t packed_cap;
};

namespace {

int fail(lumo_text *t, const char *problem) {
  t->problem = problem;
  t->at_end = 1;
  return 0;
}

// Reads up to `room` bytes at `to`. Returns the count; 0 at the end of the
// stream or, with the reader failed, on a read error.
std::size_t read_stream(lumo_text *t, unsigned char *to, std::size_t room) {
  std::size_t got = std::fread(to, 1, room, t->stream);
  if (got == 0 && std::ferror(t->stream)) {
    t->read_error = errno ? errno : EIO;
    fail(t, std::strerror(t->read_error));
  }
  return got;
}

// Makes room for more text after the pending bytes. Returns 0 on a failure.
int make_room(lumo_text *t) {
  if (t->pos > 0) {
    std::memmove(t->text, t->text + t->pos, t->len - t->pos);
    t->len -= t->pos;
    t->pos = 0;
  }
  if (t->len < t->cap) return 1;
  void *bigger = lumo_mem::resize(t->text, 2 * t->cap);
  if (!bigger) return fail(t, kOutOfMemory);
  t->text = static_cast<unsigned char *>(bigger);
  t->cap *= 2;
  return 1;
}

// Moves the compressed bytes not yet inflated to the front of `packed` and
// reads after them until at least `want` are there or the stream ends.
// Returns the count there; the caller checks t->problem when it is short.
std::size_t packed_fill(lumo_text *t, std::size_t want) {
  z_stream *z = &t->inflater;
  if (z->avail_in >= want) return z->avail_in;
  std::memmove(t->packed, z->next_in, z->avail_in);
  z->next_in = t->packed;
  while (z->avail_in < want) {
    std::size_t got = read_stream(t, t->packed + z->avail_in, t->packed_cap - z->avail_in);
    if (got == 0) break;
    z->avail_in += static_cast<uInt>(got);
  }
  return z->avail_in;
}

int is_gzip_magic(const unsigned char *bytes) { return bytes[0] == 0x1f && bytes[1] == 0x8b; }

// Between members: the stream ends here, or the next bytes start a member.
int start_member(lumo_text *t) {
  std::size_t have = packed_fill(t, 2);
  if (t->problem) return 0;
  if (have == 0) {
    t->at_end = 1;
    return 0;
  }
  if (have < 2 || !is_gzip_magic(t->inflater.next_in)) return fail(t, kTrailing);
  if (inflateReset(&t->inflater) != Z_OK) return fail(t, kCorrupt);
  t->in_member = 1;
  return 1;
}

// Inflates into the free room of `text` until some text came, the data
// ended or it failed. Empty members give no text and are passed over.
void inflate_more(lumo_text *t) {
  z_stream *z = &t->inflater;
  for (;;) {
    if (!t->in_member && !start_member(t)) return;
    if (z->avail_in == 0 && packed_fill(t, 1) == 0) {
      fail(t, t->problem ? t->problem : kCutShort);
      return;
    }
    // zlib counts in 32 bits: a larger room is filled in parts.
    uInt room = t->cap - t->len < UINT_MAX ? static_cast<uInt>(t->cap - t->len) : UINT_MAX;
    z->next_out = t->text + t->len;
    z->avail_out = room;
    int ret = inflate(z, Z_NO_FLUSH);
    std::size_t produced = room - z->avail_out;
    t->len += produced;
    if (ret == Z_STREAM_END) t->in_member = 0;
    else if (ret == Z_MEM_ERROR) fail(t, kOutOfMemory);
    else if (ret != Z_OK && ret != Z_BUF_ERROR) fail(t, kCorrupt);
    if (produced > 0 || t->problem) return;
  }
}

// The first bytes decide the format: plain text stays where it was read;
// gzip data moves to `packed` and starts the inflater.
void decide_format(lumo_text *t) {
  t->decided = 1;
  t->len = read_stream(t, t->text, t->cap);
  if (t->problem) return;
  if (t->len < 2 || !is_gzip_magic(t->text)) {
    t->at_end = t->len == 0;
    return;
  }
  t->packed_cap = t->len > kPackedChunk ? t->len : kPackedChunk;
  t->packed = static_cast<unsigned char *>(lumo_mem::resize(nullptr, t->packed_cap));
  // 16 + MAX_WBITS: a gzip wrapper, not a raw zlib stream.
  if (!t->packed || inflateInit2(&t->inflater, 16 + MAX_WBITS) != Z_OK) {
    fail(t, kOutOfMemory);
    return;
  }
  std::memcpy(t->packed, t->text, t->len);
  t->gzip = 1;
  t->inflater.next_in = t->packed;
  t->inflater.avail_in = static_cast<uInt>(t->len);
  t->len = 0;
  inflate_more(t);
}

// Appends text after the pending bytes (which may move to the front of the
// block), or sets at_end (at the end of the text or on a failure). A
// failure may come after some text in one call.
void read_more(lumo_text *t) {
  if (!t->decided) {
    decide_format(t);
  } else if (make_room(t)) {
    if (t->gzip) {
      inflate_more(t);
    } else {
      std::size_t got = read_stream(t, t->text + t->len, t->cap - t->len);
      t->len += got;
      if (got == 0) t->at_end = 1;
    }
  }
}

// Hands out text[pos..end) without a '\r' before its end.
void hand_out(lumo_text *t, std::size_t end, std::size_t next, const char **line,
              std::size_t *length) {
  std::size_t n = end - t->pos;
  if (n > 0 && t->text[end - 1] == '\r') n--;
  *line = reinterpret_cast<const char *>(t->text + t->pos);
  *length = n;
  t->pos = next;
  t->line_number++;
}

}  // namespace

extern "C" {

lumo_text *lumo_text_open(FILE *stream) {
  if (!stream) return nullptr;
  lumo_text *t = static_cast<lumo_text *>(lumo_mem::zeroed(1, sizeof(lumo_text)));
  if (!t) return nullptr;
  t->text = static_cast<unsigned char *>(lumo_mem::resize(nullptr, kTextChunk));
  if (!t->text) {
    std::free(t);
    return nullptr;
  }
  t->stream = stream;
  t->cap = kTextChunk;
  return t;
}

void lumo_text_close(lumo_text *text) {
  if (!text) return;
  if (text->gzip) inflateEnd(&text->inflater);
  std::free(text->packed);
  std::free(text->text);
  std::free(text);
}

int lumo_text_next_line(lumo_text *text, const char **line, size_t *length) {
  std::size_t searched = 0;  // bytes after pos known to hold no line break
  for (;;) {
    unsigned char *from = text->text + text->pos + searched;
    const void *lf = std::memchr(from, '\n', text->len - text->pos - searched);
    if (lf) {
      std::size_t end = static_cast<std::size_t>(static_cast<const unsigned char *>(lf) - text->text);
      hand_out(text, end, end + 1, line, length);
      return 1;
    }
    searched = text->len - text->pos;
    if (text->at_end) break;
    read_more(text);
  }
  if (text->problem) return -1;
  if (text->pos == text->len) return 0;
  hand_out(text, text->len, text->len, line, length);
  return 1;
}

size_t lumo_text_peek(lumo_text *text, size_t n, const char **bytes) {
  while (text->len - text->pos < n && !text->at_end) read_more(text);
  std::size_t have = text->len - text->pos;
  *bytes = reinterpret_cast<const char *>(text->text + text->pos);
  return have < n ? have : n;
}

long long lumo_text_line_number(const lumo_text *text) { return text->line_number; }

const char *lumo_text_problem(const lumo_text *text) { return text->problem; }

int lumo_text_read_error(const lumo_text *text) { return text->read_error; }

}  // extern "C"
