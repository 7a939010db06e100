// Line-by-line reading of plain or gzip-compressed text from a stream.
#include "lumo_seqfile_input.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "lumo_mem.h"

namespace {

// Text is decompressed (or read) a chunk at a time; a line that crosses
// chunks is gathered in in->line, any other is handed out in place.
const std::size_t kTextChunk = std::size_t(1) << 18;
const std::size_t kPackedChunk = std::size_t(1) << 16;

// After a read that gave no bytes: 1 at the end of the stream, 0 (with the
// system's reason) on a read error.
int at_stream_end(seq_input *in) {
  in->problem = std::ferror(in->stream) ? std::strerror(errno) : nullptr;
  return in->problem == nullptr;
}

// First bytes of the stream: plain text stays in in->text; the gzip magic
// moves them to in->packed and starts the inflater.
int decide_format(seq_input *in) {
  in->decided = 1;
  in->len = std::fread(in->text, 1, kTextChunk, in->stream);
  if (in->len < 2 || in->text[0] != 0x1f || in->text[1] != 0x8b) return 1;
  in->packed = static_cast<unsigned char *>(lumo_mem::resize(nullptr, kTextChunk));
  if (!in->packed) {
    in->problem = "out of memory";
    return 0;
  }
  std::memcpy(in->packed, in->text, in->len);
  std::memset(&in->inflater, 0, sizeof in->inflater);
  in->inflater.next_in = in->packed;
  in->inflater.avail_in = static_cast<uInt>(in->len);
  in->len = 0;
  // 16 + MAX_WBITS: a gzip wrapper, not a raw zlib stream.
  if (inflateInit2(&in->inflater, 16 + MAX_WBITS) != Z_OK) {
    in->problem = "out of memory";
    return 0;
  }
  in->gzip = 1;
  return 1;
}

// Decompresses into in->text until some text is there or the data ends.
// Members of a multi-member file (as `cat a.gz b.gz` makes) follow one
// another.
int inflate_chunk(seq_input *in) {
  z_stream *z = &in->inflater;
  while (in->len == 0) {
    if (z->avail_in == 0) {
      std::size_t got = std::fread(in->packed, 1, kPackedChunk, in->stream);
      if (got == 0) {
        if (!at_stream_end(in)) return 0;
        if (!in->member_ended) {
          in->problem = "gzip data ends early";
          return 0;
        }
        in->at_end = 1;
        return 1;
      }
      z->next_in = in->packed;
      z->avail_in = static_cast<uInt>(got);
    }
    if (in->member_ended && inflateReset(z) != Z_OK) {
      in->problem = "corrupt gzip data";
      return 0;
    }
    z->next_out = in->text;
    z->avail_out = static_cast<uInt>(kTextChunk);
    int ret = inflate(z, Z_NO_FLUSH);
    in->len = kTextChunk - z->avail_out;
    if (ret == Z_STREAM_END) {
      in->member_ended = 1;
    } else if (ret == Z_OK || (ret == Z_BUF_ERROR && z->avail_in == 0)) {
      in->member_ended = 0;
    } else {
      in->problem = ret == Z_MEM_ERROR ? "out of memory" : "corrupt gzip data";
      return 0;
    }
  }
  return 1;
}

// Makes text available at in->pos. Returns 1 with text, 1 with in->at_end
// set, or 0 on a failure.
int fill(seq_input *in) {
  if (in->pos < in->len) return 1;
  in->pos = 0;
  in->len = 0;
  if (in->at_end) return 1;
  if (!in->decided) {
    if (!decide_format(in)) return 0;
    if (in->len > 0) return 1;
  }
  if (in->gzip) return inflate_chunk(in);
  in->len = std::fread(in->text, 1, kTextChunk, in->stream);
  if (in->len == 0) {
    if (!at_stream_end(in)) return 0;
    in->at_end = 1;
  }
  return 1;
}

int append_to_line(seq_input *in, std::size_t used, const unsigned char *bytes, std::size_t n) {
  if (used + n > in->line_cap) {
    std::size_t cap = in->line_cap ? in->line_cap : 256;
    while (cap < used + n) cap *= 2;
    void *bigger = lumo_mem::resize(in->line, cap);
    if (!bigger) {
      in->problem = "out of memory";
      return 0;
    }
    in->line = static_cast<char *>(bigger);
    in->line_cap = cap;
  }
  std::memcpy(in->line + used, bytes, n);
  return 1;
}

void hand_out(seq_input *in, const char *text, std::size_t n, const char **line,
              std::size_t *length) {
  if (n > 0 && text[n - 1] == '\r') n--;
  *line = text;
  *length = n;
  in->line_number++;
}

}  // namespace

int seq_input_open(seq_input *in, std::FILE *stream) {
  std::memset(in, 0, sizeof *in);
  in->stream = stream;
  in->text = static_cast<unsigned char *>(lumo_mem::resize(nullptr, kTextChunk));
  return in->text != nullptr;
}

void seq_input_close(seq_input *in) {
  if (in->gzip) inflateEnd(&in->inflater);
  std::free(in->packed);
  std::free(in->text);
  std::free(in->line);
  std::memset(in, 0, sizeof *in);
}

int seq_input_next_line(seq_input *in, const char **line, std::size_t *length) {
  std::size_t used = 0;
  for (;;) {
    if (!fill(in)) return 0;
    if (in->at_end) {
      if (used == 0) return 0;
      hand_out(in, in->line, used, line, length);
      return 1;
    }
    const unsigned char *start = in->text + in->pos;
    std::size_t avail = in->len - in->pos;
    const void *newline = std::memchr(start, '\n', avail);
    std::size_t n = newline ? static_cast<std::size_t>(static_cast<const unsigned char *>(newline) - start) : avail;
    in->pos += newline ? n + 1 : n;
    if (newline && used == 0) {
      hand_out(in, reinterpret_cast<const char *>(start), n, line, length);
      return 1;
    }
    if (!append_to_line(in, used, start, n)) return 0;
    used += n;
    if (newline) {
      hand_out(in, in->line, used, line, length);
      return 1;
    }
  }
}
