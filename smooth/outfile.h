// Buffered output to a file descriptor with every write checked.
#ifndef SMOOTH_OUTFILE_H
#define SMOOTH_OUTFILE_H

#include <cstddef>
#include <cstdint>
#include <vector>

struct OUTFILE {
  int fd = -1;            // -1 once closed
  std::vector<char> buf;  // pending bytes, flushed when full and at close
  int err = 0;            // errno of the first failed write, 0 if none
};

// Prepares buffered output over an open descriptor; may throw bad_alloc.
void out_init(OUTFILE *out, int fd);

// Appends one line of three tab-separated decimal numbers. Once a write
// has failed, further output is dropped and err keeps the first error.
void out_numbers3(OUTFILE *out, int64_t a, int64_t b, int64_t c);

// Writes what is pending and closes the descriptor (even after an error);
// returns 0 or the errno of the first failed write or of the close.
int out_close(OUTFILE *out);

#endif
