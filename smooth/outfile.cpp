#include "outfile.h"

#include <cerrno>
#include <charconv>
#include <unistd.h>

namespace {

const size_t outbuf_size = size_t(1) << 20;

// Writes all pending bytes, resuming after short writes; records the first
// error and drops the pending bytes either way.
void flush(OUTFILE *out) {
  size_t done = 0;
  while (out->err == 0 && done < out->buf.size()) {
    const ssize_t n = write(out->fd, out->buf.data() + done, out->buf.size() - done);
    if (n > 0)
      done += static_cast<size_t>(n);
    else if (n == 0)
      out->err = ENOSPC;  // no progress on a non-empty write: the device is full
    else if (errno != EINTR)
      out->err = errno;
  }
  out->buf.clear();
}

// Writes v and a separator at p, never past end (an int64 takes at most 20
// characters); returns the position after the separator.
char *put_number(char *p, char *end, int64_t v, char sep) {
  char *stop = std::to_chars(p, end - 1, v).ptr;
  *stop = sep;
  return stop + 1;
}

} // namespace

void out_init(OUTFILE *out, int fd) {
  // The descriptor is taken over first so that it is closed even when the
  // buffer cannot be allocated.
  out->fd = fd;
  out->err = 0;
  out->buf.clear();
  out->buf.reserve(outbuf_size);
}

void out_numbers3(OUTFILE *out, int64_t a, int64_t b, int64_t c) {
  // Three 64-bit numbers with their separators fit easily in 64 bytes.
  char line[64];
  char *const end = line + sizeof line;
  char *p = put_number(line, end, a, '\t');
  p = put_number(p, end, b, '\t');
  p = put_number(p, end, c, '\n');
  if (out->buf.size() + static_cast<size_t>(p - line) > outbuf_size)
    flush(out);
  out->buf.insert(out->buf.end(), line, p);
}

int out_close(OUTFILE *out) {
  flush(out);
  if (close(out->fd) != 0 && out->err == 0)
    out->err = errno;
  out->fd = -1;
  return out->err;
}
