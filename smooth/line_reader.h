// Line-by-line reading of a file descriptor through one large buffer.
#ifndef SMOOTH_LINE_READER_H
#define SMOOTH_LINE_READER_H

#include <cstddef>

// State of one input. Lines are handed out in place: buffer[start, end)
// holds read bytes not yet returned, and buffer[start, scan) is known to
// hold no line break. The buffer always keeps one byte spare after end so a
// last line without a line break can be NUL-terminated where it lies.
struct READER {
  int fd;
  char *buffer;
  size_t bufsize;
  size_t start;
  size_t scan;
  size_t end;
  bool eof;
  int err;   // errno of a failed read, 0 if none
  bool oom;  // the buffer could not be created or grown
};

// Prepares a reader over an open descriptor; allocates nothing yet.
void reader_init(READER *fp, int fd);

// Releases the buffer; the descriptor stays open (its owner closes it).
void reader_free(READER *fp);

// Returns the next line without its line break (a carriage return before
// it stays), NUL-terminated in the reader's buffer and valid until the next
// call; stores its length in bytes through len_out when that is not null.
// A last line without a line break comes back whole. Returns null at the
// end of the input, after a read error (fp->err set) or when the buffer
// cannot grow (fp->oom set; the caller reports it).
char *my_getline(READER *fp, size_t *len_out);

#endif
