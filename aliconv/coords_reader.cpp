// show-coords -T tables: two lines naming the inputs and the run, a blank
// line, the column names ("[S1]", "[E1]", ...; "[TAGS]" last, standing for
// the reference's and the query's names), then one alignment a line.
// Positions count from 1; a minus-strand alignment has S2 > E2. With -l the
// table also gives the sequences' lengths ("[LEN R]", "[LEN Q]").
#include "identity.h"
#include "line_input.h"
#include "line_records.h"

#include <algorithm>

namespace aliconv {

namespace {

constexpr size_t ABSENT = SIZE_MAX;

struct CoordsColumns {
  size_t s1 = ABSENT, e1 = ABSENT, s2 = ABSENT, e2 = ABSENT, identity = ABSENT;
  size_t referenceLength = ABSENT, queryLength = ABSENT;
  size_t count = 0;  // the columns of a data line: the names, TAGS counting twice
};

CoordsColumns readColumnNames(std::string_view line, const Place &place,
                              std::vector<std::string_view> &fields) {
  splitFields(line, '\t', fields);
  CoordsColumns c;
  for (size_t i = 0; i < fields.size(); ++i) {
    const std::string_view name = fields[i];
    size_t *slot = name == "[S1]" ? &c.s1 : name == "[E1]" ? &c.e1 : name == "[S2]" ? &c.s2
                 : name == "[E2]" ? &c.e2 : name == "[% IDY]" ? &c.identity
                 : name == "[LEN R]" ? &c.referenceLength : name == "[LEN Q]" ? &c.queryLength
                 : nullptr;
    if (slot) *slot = i;
  }
  if (c.s1 == ABSENT || c.e1 == ABSENT || c.s2 == ABSENT || c.e2 == ABSENT ||
      c.identity == ABSENT || fields.back() != "[TAGS]")
    place.fail("show-coords -T column names with [S1], [E1], [S2], [E2], [% IDY] and [TAGS] expected");
  c.count = fields.size() + 1;
  return c;
}

void coordsAlignment(const std::vector<std::string_view> &f, const CoordsColumns &c,
                     const Place &place, Alignment &a) {
  if (f.size() != c.count)
    place.fail("expected " + std::to_string(c.count) + " tab-separated columns");
  a.xb = unsignedField(f[c.s1], place, "S1");
  a.xe = unsignedField(f[c.e1], place, "E1");
  const uint64_t s2 = unsignedField(f[c.s2], place, "S2");
  const uint64_t e2 = unsignedField(f[c.e2], place, "E2");
  a.strand = s2 > e2 ? '-' : '+';
  a.yb = std::min(s2, e2);
  a.ye = std::max(s2, e2);
  if (a.xb == 0 || a.yb == 0 || a.xb > a.xe) place.fail("S1 must lie from 1 to E1, S2 and E2 from 1");
  if (!setPercentText(f[c.identity], a)) place.fail("[% IDY] is no percentage");
  a.xLength = c.referenceLength == ABSENT ? 0 : unsignedField(f[c.referenceLength], place, "[LEN R]");
  a.yLength = c.queryLength == ABSENT ? 0 : unsignedField(f[c.queryLength], place, "[LEN Q]");
  if ((a.xLength && a.xe > a.xLength) || (a.yLength && a.ye > a.yLength))
    place.fail("the alignment runs past its sequence's length");
  a.xName = f[f.size() - 2];
  a.yName = f.back();
  a.alignerScore = {};
  a.blocks.clear();
}

}  // namespace

void readCoords(common::LineInput &input, RecordSink &sink, const ReadSettings &settings) {
  CoordsColumns columns;
  std::vector<std::string_view> names;
  readLineRecords(
      input, sink, settings,
      [&](std::string_view line, const Place &place) {
        if (place.line > 4 && !isBlankLine(line)) return OutsideLine{};
        if (place.line == 2 && line != "NUCMER") place.fail("the second line of a coordinate table is NUCMER");
        if (place.line == 3 && !isBlankLine(line)) place.fail("the third line of a coordinate table is blank");
        if (place.line == 4) columns = readColumnNames(line, place, names);
        return OutsideLine{true};
      },
      [&](const std::vector<std::string_view> &fields, const Place &place, Alignment &a) {
        coordsAlignment(fields, columns, place, a);
      });
}

}  // namespace aliconv
