// PAF: one alignment a line, tab-separated; the query is the second
// sequence, the target the first. Coordinates count from 0, half-open, on
// the forward strand of each sequence whatever the strand; cg:Z and cs:Z
// describe the columns along the target's forward strand.
#include "cigar.h"
#include "line_input.h"
#include "line_records.h"

namespace aliconv {

namespace {

// The value of the optional field TAG (such as "AS:i:") among fields[12...].
std::string_view tagValue(const std::vector<std::string_view> &fields, std::string_view tag) {
  for (size_t i = 12; i < fields.size(); ++i)
    if (startsWith(fields[i], tag)) return fields[i].substr(tag.size());
  return {};
}

// Reads a begin-end interval of a sequence of `length` into 1-based xb/xe.
void interval(std::string_view begin, std::string_view end, uint64_t length, const Place &place,
              const char *which, uint64_t &b, uint64_t &e) {
  const uint64_t start = unsignedField(begin, place, which);
  e = unsignedField(end, place, which);
  if (start >= e || e > length)
    place.fail(std::string(which) + " interval " + std::string(begin) + "-" + std::string(end) +
               " is empty or runs past the sequence's length " + std::to_string(length));
  b = start + 1;
}

void pafAlignment(const std::vector<std::string_view> &f, const Place &place, bool blocks,
                  Alignment &a) {
  if (f.size() < 12) place.fail("a PAF line has at least 12 tab-separated fields");
  if (f[4] != "+" && f[4] != "-") place.fail("the strand is neither + nor -");
  a.yName = f[0];
  a.yLength = unsignedField(f[1], place, "the query length");
  interval(f[2], f[3], a.yLength, place, "the query", a.yb, a.ye);
  a.strand = f[4][0];
  a.xName = f[5];
  a.xLength = unsignedField(f[6], place, "the target length");
  interval(f[7], f[8], a.xLength, place, "the target", a.xb, a.xe);
  a.identityNumerator = unsignedField(f[9], place, "the number of matches");
  a.identityDenominator = unsignedField(f[10], place, "the alignment block length");
  if (a.identityNumerator > a.identityDenominator)
    place.fail("more matches than the alignment block length");
  unsignedField(f[11], place, "the mapping quality");
  a.alignerScore = tagValue(f, "AS:i:");
  if (!a.alignerScore.empty()) signedField(a.alignerScore, place, "the AS:i tag");
  a.blocks.clear();
  if (!blocks) return;
  const std::string_view cigar = tagValue(f, "cg:Z:");
  const std::string_view differences = tagValue(f, "cs:Z:");
  if (cigar.empty() && differences.empty()) return;
  BlockWalker walker(a.blocks, a);
  if (!cigar.empty())
    walkCigar(cigar, walker, place);
  else
    walkDifferences(differences, walker, place);
  checkWalkEnd(walker, place, cigar.empty() ? "the cs:Z string" : "the cg:Z CIGAR");
}

}  // namespace

void readPaf(common::LineInput &input, RecordSink &sink, const ReadSettings &settings) {
  readLineRecords(
      input, sink, settings,
      [](std::string_view line, const Place &) { return OutsideLine{isBlankLine(line)}; },
      [&](const std::vector<std::string_view> &fields, const Place &place, Alignment &a) {
        pafAlignment(fields, place, settings.blocks, a);
      });
}

}  // namespace aliconv
