// Field scanning shared by the readers of the text formats: splitting a
// line, whole numbers with overflow checks, decimal fractions, and the one
// way a reader refuses a record (naming the file and the line).
#ifndef ALICONV_FIELDS_H
#define ALICONV_FIELDS_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace aliconv {

// Where a record stands, for messages.
struct Place {
  const std::string &file;
  uint64_t line;
  bool binaryRecord = false;  // line counts BAM or CRAM records
  [[noreturn]] void fail(const std::string &what) const;
};

// Splits at every `separator` (tab-separated formats) or, with ' ', at runs
// of blanks and tabs; fields are views into line.
void splitFields(std::string_view line, char separator, std::vector<std::string_view> &fields);

bool parseUnsigned(std::string_view text, uint64_t &value);
// The field as a whole number, or a refusal naming `what`.
uint64_t unsignedField(std::string_view text, const Place &place, const char *what);
// A signed whole number (delta's indel distances).
int64_t signedField(std::string_view text, const Place &place, const char *what);
// A decimal "85.437" as numerator / denominator (85437 / 1000); false when
// the text is no plain decimal or too long to be exact.
bool decimalFraction(std::string_view text, uint64_t &numerator, uint64_t &denominator);
// Whether the text is a finite number that the chainer takes as a score.
bool isScore(std::string_view text);

bool startsWith(std::string_view text, std::string_view prefix);
// Whether the line holds nothing but blanks and tabs: such lines are skipped
// in every text format (MAF ends a block at one).
bool isBlankLine(std::string_view line);

}  // namespace aliconv

#endif
