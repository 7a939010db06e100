// BLAST tabular output, -outfmt 6 and 7, with the default twelve columns:
// query, subject, % identity, length, mismatches, gap opens, q. start,
// q. end, s. start, s. end, evalue, bit score. Positions count from 1; a
// minus-strand hit runs backwards in one sequence (for blastn, the subject).
// Format 7 adds comment lines, among them the column names and the number
// of hits of each query.
#include "identity.h"
#include "line_input.h"
#include "line_records.h"

#include <algorithm>

namespace aliconv {

namespace {

// The column names BLAST writes for the default columns (both spellings of
// the sequence identifiers that its versions use).
bool defaultColumns(std::string_view fields) {
  static const char *const DEFAULTS[] = {
      "query acc.ver, subject acc.ver, % identity, alignment length, mismatches, gap opens, q. "
      "start, q. end, s. start, s. end, evalue, bit score",
      "query id, subject id, % identity, alignment length, mismatches, gap opens, q. start, q. "
      "end, s. start, s. end, evalue, bit score"};
  return std::find(std::begin(DEFAULTS), std::end(DEFAULTS), fields) != std::end(DEFAULTS);
}

// The N of "# N hits found", or false for another comment.
bool hitCount(std::string_view line, uint64_t &hits) {
  const size_t end = line.find(" hits found");
  return startsWith(line, "# ") && end != std::string_view::npos && end + 11 == line.size() &&
         parseUnsigned(line.substr(2, end - 2), hits);
}

void blastAlignment(const std::vector<std::string_view> &f, const Place &place, Alignment &a) {
  if (f.size() != 12) place.fail("a BLAST tabular line has the 12 default columns");
  a.yName = f[0];
  a.xName = f[1];
  if (!setPercentText(f[2], a)) place.fail("the % identity is no percentage");
  unsignedField(f[3], place, "the alignment length");
  const uint64_t qStart = unsignedField(f[6], place, "q. start");
  const uint64_t qEnd = unsignedField(f[7], place, "q. end");
  const uint64_t sStart = unsignedField(f[8], place, "s. start");
  const uint64_t sEnd = unsignedField(f[9], place, "s. end");
  if (qStart == 0 || qEnd == 0 || sStart == 0 || sEnd == 0) place.fail("a position is 0");
  a.yb = std::min(qStart, qEnd);
  a.ye = std::max(qStart, qEnd);
  a.xb = std::min(sStart, sEnd);
  a.xe = std::max(sStart, sEnd);
  a.strand = (qStart > qEnd) != (sStart > sEnd) ? '-' : '+';
  a.xLength = a.yLength = 0;
  a.alignerScore = f[11];
  if (!isScore(a.alignerScore)) place.fail("the bit score is no number");
  a.blocks.clear();
}

}  // namespace

void readBlast(common::LineInput &input, RecordSink &sink, const ReadSettings &settings) {
  readLineRecords(
      input, sink, settings,
      [](std::string_view line, const Place &place) {
        if (!isBlankLine(line) && line.front() != '#') return OutsideLine{};
        if (startsWith(line, "# Fields: ") && !defaultColumns(line.substr(10)))
          place.fail("only BLAST's default twelve columns can be read");
        uint64_t hits = 0;
        if (hitCount(line, hits)) return OutsideLine{true, LineRole::HIT_COUNT, hits};
        return OutsideLine{true};
      },
      blastAlignment);
}

}  // namespace aliconv
