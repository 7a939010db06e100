// lastz's --format=general table: a "#" line naming the columns, then one
// alignment a line, tab-separated. name1 is the target (the first
// sequence), name2 the query. zstart counts from 0, start from 1, end is the
// last position, all on the row's own strand (the reverse complement for
// "-"); identity is "same/aligned".
#include "line_input.h"
#include "line_records.h"

namespace aliconv {

namespace {

constexpr size_t ABSENT = SIZE_MAX;

// One sequence's columns in the table.
struct SideColumns {
  size_t name = ABSENT, strand = ABSENT, size = ABSENT, zstart = ABSENT, start = ABSENT,
         end = ABSENT;
};

struct GeneralColumns {
  SideColumns side[2];
  size_t score = ABSENT, identity = ABSENT, count = 0;
};

GeneralColumns readColumnNames(std::string_view line, const Place &place,
                               std::vector<std::string_view> &fields) {
  splitFields(line.substr(1), '\t', fields);
  GeneralColumns c;
  c.count = fields.size();
  for (size_t i = 0; i < fields.size(); ++i) {
    const std::string_view name = fields[i];
    if (name == "score") c.score = i;
    if (name == "identity") c.identity = i;
    if (name.size() < 2 || (name.back() != '1' && name.back() != '2')) continue;
    SideColumns &s = c.side[name.back() - '1'];
    const std::string_view base = name.substr(0, name.size() - 1);
    size_t *slot = base == "name" ? &s.name : base == "strand" ? &s.strand : base == "size" ? &s.size
                 : base == "zstart" ? &s.zstart : base == "start" ? &s.start
                 : base == "end" ? &s.end : nullptr;
    if (slot) *slot = i;
  }
  for (const SideColumns &s : c.side)
    if (s.name == ABSENT || s.end == ABSENT || (s.zstart == ABSENT && s.start == ABSENT))
      place.fail("the column names lack name, zstart or start, or end of a sequence");
  return c;
}

// One sequence's forward interval; false for the minus strand.
bool side(const std::vector<std::string_view> &f, const SideColumns &s, const Place &place,
          uint64_t &b, uint64_t &e, uint64_t &length) {
  const bool minus = s.strand != ABSENT && f[s.strand] == "-";
  if (s.strand != ABSENT && !minus && f[s.strand] != "+") place.fail("a strand is neither + nor -");
  const uint64_t first = s.zstart != ABSENT ? unsignedField(f[s.zstart], place, "zstart") + 1
                                            : unsignedField(f[s.start], place, "start");
  const uint64_t last = unsignedField(f[s.end], place, "end");
  length = s.size == ABSENT ? 0 : unsignedField(f[s.size], place, "size");
  if (first == 0 || first > last || (length && last > length))
    place.fail("an interval is empty or runs past its sequence's size");
  if (minus && !length) place.fail("a minus-strand row needs its sequence's size");
  b = minus ? length - last + 1 : first;
  e = minus ? length - first + 1 : last;
  return !minus;
}

void generalAlignment(const std::vector<std::string_view> &f, const GeneralColumns &c,
                      const Place &place, Alignment &a) {
  if (f.size() != c.count) place.fail("expected " + std::to_string(c.count) + " columns");
  const bool xPlus = side(f, c.side[0], place, a.xb, a.xe, a.xLength);
  const bool yPlus = side(f, c.side[1], place, a.yb, a.ye, a.yLength);
  a.strand = xPlus == yPlus ? '+' : '-';
  a.xName = f[c.side[0].name];
  a.yName = f[c.side[1].name];
  a.alignerScore = c.score == ABSENT ? std::string_view() : f[c.score];
  if (!a.alignerScore.empty() && !isScore(a.alignerScore)) place.fail("the score is no number");
  a.identityNumerator = a.identityDenominator = 0;
  if (c.identity != ABSENT) {
    const std::string_view identity = f[c.identity];
    const size_t slash = identity.find('/');
    if (slash == std::string_view::npos ||
        !parseUnsigned(identity.substr(0, slash), a.identityNumerator) ||
        !parseUnsigned(identity.substr(slash + 1), a.identityDenominator) ||
        a.identityNumerator > a.identityDenominator)
      place.fail("the identity is not 'same/aligned'");
  }
  a.blocks.clear();
}

}  // namespace

void readGeneral(common::LineInput &input, RecordSink &sink, const ReadSettings &settings) {
  GeneralColumns columns;
  bool named = false;
  std::vector<std::string_view> names;
  readLineRecords(
      input, sink, settings,
      [&](std::string_view line, const Place &place) {
        if (!isBlankLine(line) && line.front() != '#') {
          if (!named) place.fail("a row before the line of column names");
          return OutsideLine{};
        }
        if (!named && !isBlankLine(line)) {
          columns = readColumnNames(line, place, names);
          named = true;
        }
        return OutsideLine{true};
      },
      [&](const std::vector<std::string_view> &fields, const Place &place, Alignment &a) {
        generalAlignment(fields, columns, place, a);
      });
}

}  // namespace aliconv
