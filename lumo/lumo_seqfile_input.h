// Private to the library and its tests: a text source read line by line,
// plain or gzip-compressed (told apart by the gzip magic bytes), from an
// open stream. Used by the sequence-file reader.
#ifndef LUMO_SEQFILE_INPUT_H
#define LUMO_SEQFILE_INPUT_H

#include <cstddef>
#include <cstdio>

#include <zlib.h>

struct seq_input {
  std::FILE *stream;
  int gzip;              // 1 when the stream is gzip data, decided on the first read
  int decided;           // the first bytes have been looked at
  int at_end;            // the source holds no more bytes
  z_stream inflater;     // valid while gzip is 1
  int member_ended;      // the inflater finished a gzip member
  unsigned char *packed; // compressed bytes read from the stream, gzip only
  unsigned char *text;   // text not yet handed out: text[pos..len)
  std::size_t pos, len;
  char *line;            // the current line, without its line break
  std::size_t line_cap;
  long long line_number; // of the current line, from 1
  const char *problem;   // why the last next_line failed; null when at the end
};

// Starts reading `stream` from its current position. Returns 0 when memory
// is exhausted (nothing to release then).
int seq_input_open(seq_input *in, std::FILE *stream);

// Releases the buffers; the stream stays open.
void seq_input_close(seq_input *in);

// The next line without its "\n" or "\r\n": sets *line and *length (the line
// stays valid until the next call; it may hold NUL bytes) and returns 1.
// Returns 0 at the end of the text (in->problem null) or on a failure
// (in->problem says what failed: a read error, corrupt gzip data, memory).
int seq_input_next_line(seq_input *in, const char **line, std::size_t *length);

#endif
