#include "outfile.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
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

// A regular file that is its only name, and so can be replaced by renaming
// a new file over it.
bool is_plain_file(const struct stat &st, bool exists) {
  return exists && S_ISREG(st.st_mode) && st.st_nlink == 1;
}

// Errors of making a file beside an existing one that still let the
// existing one be rewritten where it is (a directory closed to new files).
bool may_write_in_place(int errnum) {
  return errnum == EACCES || errnum == EPERM || errnum == EROFS;
}

mode_t current_umask() {
  const mode_t mask = umask(0);
  umask(mask);
  return mask;
}

} // namespace

int out_open(OUTFILE *out, const char *name) {
  out->err = 0;
  out->buf.clear();
  out->buf.reserve(outbuf_size);
  out->tmpname.clear();
  struct stat st;
  const bool exists = lstat(name, &st) == 0;
  if (*name != '\0' && ((!exists && errno == ENOENT) || is_plain_file(st, exists))) {
    std::string tmpname = std::string(name) + ".XXXXXX";
    const int fd = mkostemp(&tmpname[0], O_CLOEXEC);
    if (fd >= 0) {
      // mkostemp makes the file private; give it the mode the file has or,
      // for a new file, the mode a plain create would give.
      fchmod(fd, exists ? st.st_mode & 07777 : 0666 & ~current_umask());
      out->fd = fd;
      out->tmpname.swap(tmpname);
      return 0;
    }
    if (!exists || !may_write_in_place(errno))
      return errno;
  }
  const int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0)
    return errno;
  out->fd = fd;
  return 0;
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

int out_close(OUTFILE *out, const char *name) {
  flush(out);
  if (close(out->fd) != 0 && out->err == 0)
    out->err = errno;
  out->fd = -1;
  if (!out->tmpname.empty()) {
    if (out->err == 0 && std::rename(out->tmpname.c_str(), name) != 0)
      out->err = errno;
    if (out->err != 0)
      unlink(out->tmpname.c_str());
    out->tmpname.clear();
  }
  return out->err;
}

void out_discard(OUTFILE *out) {
  if (out->fd >= 0)
    close(out->fd);
  out->fd = -1;
  if (!out->tmpname.empty())
    unlink(out->tmpname.c_str());
  out->tmpname.clear();
}
