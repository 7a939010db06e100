#include "numbers.h"
#include "smooth.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A field of the line being parsed: [begin, begin + len).
struct TOKEN {
  const char *begin;
  size_t len;
};

// Finds the next field at or after *at and moves *at past it; returns a
// token of length 0 when the line holds no more fields.
TOKEN next_token(const char *text, size_t len, size_t *at) {
  size_t i = *at;
  while (i < len && is_field_space(static_cast<unsigned char>(text[i])))
    ++i;
  const size_t start = i;
  while (i < len && !is_field_space(static_cast<unsigned char>(text[i])))
    ++i;
  *at = i;
  return TOKEN{text + start, i - start};
}

// Converts a p-value field: the text "nan" stands for 0; anything else is
// read as atof reads it, in double precision, then rounded to float. The
// token is copied so that the conversion cannot run past its end.
float convert_pvalue(TOKEN tok) {
  if (tok.len == 3 && std::memcmp(tok.begin, "nan", 3) == 0)
    return 0.0f;
  char small[64];
  if (tok.len < sizeof small) {
    std::memcpy(small, tok.begin, tok.len);
    small[tok.len] = '\0';
    return static_cast<float>(std::strtod(small, nullptr));
  }
  const std::string whole(tok.begin, tok.len);
  return static_cast<float>(std::strtod(whole.c_str(), nullptr));
}

} // namespace

RECORD_STATUS parse_record(const char *text, size_t len, RECORD *rec) {
  size_t at = 0;
  const TOKEN dir = next_token(text, len, &at);
  if (dir.len == 0)
    return RECORD_BLANK;
  const TOKEN pos = next_token(text, len, &at);
  const TOKEN length = next_token(text, len, &at);
  const TOKEN pvalue = next_token(text, len, &at);
  RECORD r;
  if (!parse_int32(dir.begin, dir.len, &r.dir))
    return RECORD_BAD_DIR;
  if (!parse_int32(pos.begin, pos.len, &r.pos))
    return RECORD_BAD_POS;
  if (!parse_int32(length.begin, length.len, &r.len))
    return RECORD_BAD_LEN;
  if (pvalue.len == 0)
    return RECORD_NO_PVALUE;
  // The word (present for lengths 2 to 39) and any further fields are
  // never used, so the line is not read beyond the p-value.
  r.pval = convert_pvalue(pvalue);
  *rec = r;
  return RECORD_OK;
}

bool is_candidate(const RECORD &rec) {
  return rec.dir <= 1 && static_cast<double>(rec.pval) < 0.01 && rec.len <= 22;
}
