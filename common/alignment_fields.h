// Field scanning and checking of the lines of an alignment file: a line
// whose third word is "alignment" or "hsp:hsp" is an alignment,
//   name source feature xb:yb xe:ye score strand [attributes]
// Shared by every program that reads the format, so that all of them take
// and refuse exactly the same lines.
#ifndef COMMON_ALIGNMENT_FIELDS_H
#define COMMON_ALIGNMENT_FIELDS_H

#include <cstddef>
#include <cstdint>

// The values of an alignment line's first eight fields (the strand is not
// scanned here: it is the eighth word and optional to the chainer).
struct ALIGNMENT_FIELDS {
  const char *feature;
  size_t featureLength;
  bool coordinateOverflow;
  int64_t xb, yb, xe, ye;
  float score;
  bool scoreBeyondBound;  // the score as written lies beyond +-10^15
  // Where the score's number ends (within the score's word, which may go
  // on: "5x" gives 5).
  const char *scoreEnd;
};

// Scans "word word word int:int int:int float" from [p, end) with the rules
// of the conversion "%s %s %s %ld:%ld %ld:%ld %f"; returns how many of
// those 8 values were taken.
int scanAlignmentFields(const char *p, const char *end, ALIGNMENT_FIELDS &f);
// Scans the score at p (after white space) into f's score fields as
// scanAlignmentFields does; returns the characters taken, 0: no number.
size_t scanScore(const char *p, const char *end, ALIGNMENT_FIELDS &f);
// Parses a float at p as strtof would (after white space), correctly rounded.
// Returns the number of characters consumed, 0 when there is no number.
size_t parseFloat(const char *p, const char *end, float &value);
// Whether the number written in [p, p + length) (as parseFloat took it)
// has a magnitude above 10^15, judged on the digits, not a rounded value.
bool beyondScoreBound(const char *p, size_t length);
// Score in integer tenths: +0.05 in double, rounded to float, times 10 in
// float, truncated toward zero.
int64_t scaleScore(float value);

// Whether the scanned feature makes the line an alignment line.
bool isAlignmentFeature(const ALIGNMENT_FIELDS &f);
// Why a fully scanned alignment line (8 values) is refused, or nullptr when
// it is taken: a coordinate out of range, xe below xb, a score that is not
// finite or too large.
const char *alignmentFault(const ALIGNMENT_FIELDS &f);

#endif
