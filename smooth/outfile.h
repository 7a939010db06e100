// Buffered output to a file with every write checked. A regular file is
// written under a temporary name beside it and renamed over it once
// complete, so a failed run never leaves a half file in place of a good one.
#ifndef SMOOTH_OUTFILE_H
#define SMOOTH_OUTFILE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct OUTFILE {
  int fd = -1;            // -1 when not open
  std::string tmpname;    // the temporary file renamed to the name at close,
                          // or empty when the file is written in place
  std::vector<char> buf;  // pending bytes, flushed when full and at close
  int err = 0;            // errno of the first failed write, 0 if none
};

// Opens name for writing; returns 0 or the errno of the failure. A name
// that is missing or a regular file of one link gets a temporary file
// beside it; anything else (a symbolic link, a hard-linked file, a FIFO, a
// device such as /dev/stdout) is opened as it stands and emptied, and so
// is a regular file in a directory where no file can be made. Allocates
// everything the output needs before the file is touched: may throw
// bad_alloc, and then nothing has been created.
int out_open(OUTFILE *out, const char *name);

// Appends one line of three tab-separated decimal numbers. Once a write
// has failed, further output is dropped and err keeps the first error.
// Never allocates.
void out_numbers3(OUTFILE *out, int64_t a, int64_t b, int64_t c);

// Writes what is pending, closes the file and, when all went well, renames
// the temporary file to name; after a failure the temporary file is
// removed and an existing file of that name is left as it was. Returns 0
// or the errno of the first failure.
int out_close(OUTFILE *out, const char *name);

// Closes and removes an output that is not to be kept (a run that failed
// after out_open); an output written in place is only closed.
void out_discard(OUTFILE *out);

#endif
