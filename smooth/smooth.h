// The window neighbour filter: keeps the significant short word hits of a
// hit table that have enough other such hits within a window of positions.
#ifndef SMOOTH_SMOOTH_H
#define SMOOTH_SMOOTH_H

#include <cstddef>
#include <cstdint>

// One candidate hit. bs is 1 once the neighbour count found enough
// neighbours (and the hit was written), 0 otherwise; dir is kept for
// completeness but candidates never use it.
struct LINE {
  int32_t pos;
  int32_t bs;
  int32_t len;
  int32_t dir;
  float pval;
};

// What parse_record made of one line of the hit table.
enum RECORD_STATUS {
  RECORD_OK,          // dir, pos, len and pval are set
  RECORD_BLANK,       // nothing but white space: not a record, no warning
  RECORD_BAD_DIR,     // direction code missing or not a 32-bit decimal integer
  RECORD_BAD_POS,     // position missing or not a 32-bit decimal integer
  RECORD_BAD_LEN,     // length missing or not a 32-bit decimal integer
  RECORD_NO_PVALUE    // the p-value field is missing
};

// Fields of one parsed record.
struct RECORD {
  int32_t dir;
  int32_t pos;
  int32_t len;
  float pval;
};

// Parses one line of the hit table (without its line break): direction
// code, position, length, p-value text, then a word and anything further,
// which are ignored. Fields are separated by runs of C white space. Accepts
// any bytes; text may be null only when len is 0. rec is written only when
// the result is RECORD_OK.
RECORD_STATUS parse_record(const char *text, size_t len, RECORD *rec);

// True when a record is a candidate: direction code at most 1, p-value
// below 0.01 (compared in double precision) and length at most 22.
bool is_candidate(const RECORD &rec);

// Runs the whole program on its command line
// (smooth <infile> windowsize <outfile> threshold) and returns the exit
// status: 0 on success, also when some lines were skipped with a warning;
// 1 when a file cannot be opened, read or written or memory runs out.
// Never exits the process and releases everything it allocated. Writes to
// a closed pipe are reported as write errors only when the caller ignores
// SIGPIPE, as the program's main does.
int smoothMain(int argc, char **argv);

#endif
