#include "line_reader.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

// Big enough that a read costs little per line; lines longer than this make
// the buffer double as often as needed.
const size_t initial_bufsize = size_t(1) << 20;

// Makes room for more input after end: moves the pending bytes to the
// front, then doubles the buffer when it is still full. Grows through a
// temporary so that a failed growth leaves the old buffer intact.
bool make_room(READER *fp) {
  if (fp->start > 0) {
    std::memmove(fp->buffer, fp->buffer + fp->start, fp->end - fp->start);
    fp->scan -= fp->start;
    fp->end -= fp->start;
    fp->start = 0;
  }
  if (fp->buffer != nullptr && fp->end + 1 < fp->bufsize)
    return true;
  const size_t newsize = fp->buffer == nullptr ? initial_bufsize : fp->bufsize * 2;
  char *grown = static_cast<char *>(std::realloc(fp->buffer, newsize));
  if (grown == nullptr) {
    fp->oom = true;
    return false;
  }
  fp->buffer = grown;
  fp->bufsize = newsize;
  return true;
}

// Reads what the descriptor gives into the free space after end, keeping the
// spare byte; sets eof at the end of the input and err on a failed read.
bool fill(READER *fp) {
  if (!make_room(fp))
    return false;
  for (;;) {
    const ssize_t n = read(fp->fd, fp->buffer + fp->end, fp->bufsize - 1 - fp->end);
    if (n > 0) {
      fp->end += static_cast<size_t>(n);
      return true;
    }
    if (n == 0) {
      fp->eof = true;
      return true;
    }
    if (errno != EINTR) {
      fp->err = errno;
      return false;
    }
  }
}

char *hand_out(READER *fp, size_t stop, size_t next, size_t *len_out) {
  char *line = fp->buffer + fp->start;
  fp->buffer[stop] = '\0';
  if (len_out != nullptr)
    *len_out = stop - fp->start;
  fp->start = fp->scan = next;
  return line;
}

} // namespace

void reader_init(READER *fp, int fd) {
  *fp = READER{};
  fp->fd = fd;
}

void reader_free(READER *fp) {
  std::free(fp->buffer);
  fp->buffer = nullptr;
  fp->bufsize = 0;
}

char *my_getline(READER *fp, size_t *len_out) {
  for (;;) {
    if (fp->scan < fp->end) {
      const void *nl = std::memchr(fp->buffer + fp->scan, '\n', fp->end - fp->scan);
      if (nl != nullptr) {
        const size_t stop = static_cast<size_t>(static_cast<const char *>(nl) - fp->buffer);
        return hand_out(fp, stop, stop + 1, len_out);
      }
      fp->scan = fp->end;
    }
    if (fp->eof)
      return fp->start < fp->end ? hand_out(fp, fp->end, fp->end, len_out) : nullptr;
    if (fp->err != 0 || fp->oom || !fill(fp))
      return nullptr;
  }
}
