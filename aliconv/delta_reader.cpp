// MUMmer's delta format: two lines naming the inputs and the kind of run,
// then for each sequence pair a ">REF QUERY REFLEN QUERYLEN" line and its
// alignments, each "S1 E1 S2 E2 errors similarity-errors stops" followed by
// its indel distances ending in 0. Positions count from 1; a minus-strand
// alignment has S2 > E2. A distance d walks |d|-1 aligned bases, then one
// base of the reference only (d > 0) or of the query only (d < 0).
#include "cigar.h"
#include "identity.h"
#include "line_input.h"
#include "readers.h"

#include <algorithm>

namespace aliconv {

namespace {

struct DeltaPair {
  std::string reference, query;
  uint64_t referenceLength = 0, queryLength = 0;
};

void readPairLine(std::string_view line, const Place &place, DeltaPair &pair,
                  std::vector<std::string_view> &fields) {
  splitFields(line.substr(1), ' ', fields);
  if (fields.size() != 4) place.fail("a '>' line names two sequences and their lengths");
  pair.reference = std::string(fields[0]);
  pair.query = std::string(fields[1]);
  pair.referenceLength = unsignedField(fields[2], place, "the reference length");
  pair.queryLength = unsignedField(fields[3], place, "the query length");
}

void readHeader(std::string_view line, const Place &place, const DeltaPair &pair,
                std::vector<std::string_view> &fields, Alignment &a, uint64_t &errors) {
  splitFields(line, ' ', fields);
  if (fields.size() != 7) place.fail("an alignment line of a delta file has 7 numbers");
  a.xb = unsignedField(fields[0], place, "the reference begin");
  a.xe = unsignedField(fields[1], place, "the reference end");
  const uint64_t s2 = unsignedField(fields[2], place, "the query begin");
  const uint64_t e2 = unsignedField(fields[3], place, "the query end");
  errors = unsignedField(fields[4], place, "the number of errors");
  unsignedField(fields[5], place, "the number of similarity errors");
  unsignedField(fields[6], place, "the number of stop codons");
  a.strand = s2 > e2 ? '-' : '+';
  a.yb = std::min(s2, e2);
  a.ye = std::max(s2, e2);
  if (a.xb > a.xe) place.fail("the reference begin lies above its end");
  if (a.xb == 0 || a.yb == 0 || a.xe > pair.referenceLength ||
      a.ye > pair.queryLength)
    place.fail("the alignment lies outside its sequences");
  a.xName = pair.reference;
  a.yName = pair.query;
  a.xLength = pair.referenceLength;
  a.yLength = pair.queryLength;
  a.alignerScore = {};
}

}  // namespace

void readDelta(common::LineInput &input, RecordSink &sink, const ReadSettings &settings) {
  std::vector<std::string_view> fields;
  std::vector<Block> walkBlocks;
  DeltaPair pair;
  Alignment a;
  std::string_view line;
  uint64_t record = 0;
  bool inRecord = false, havePair = false;
  uint64_t errors = 0, queryOnly = 0;
  BlockWalker walker(walkBlocks, a);
  while (input.next(line)) {
    const Place place{input.name(), input.lineNumber()};
    if (input.lineNumber() <= 2) {
      if (input.lineNumber() == 2 && line != "NUCMER")
        place.fail(line == "PROMER" ? "PROMER delta files count in amino acids: not supported"
                                    : "the second line of a delta file is NUCMER");
      if (settings.lines) sink.line(line, 0, LineRole::OTHER);
      continue;
    }
    if (isBlankLine(line)) {
      if (settings.lines)
        sink.line(line, inRecord ? record : 0, inRecord ? LineRole::RECORD : LineRole::OTHER);
      continue;
    }
    if (!inRecord && line.front() == '>') {
      readPairLine(line, place, pair, fields);
      havePair = true;
      if (settings.lines) sink.line(line, 0, LineRole::OTHER);
      continue;
    }
    if (!inRecord) {
      if (!havePair) place.fail("an alignment before the first '>' line");
      ++record;
      if (settings.lines) sink.line(line, record, LineRole::RECORD);
      readHeader(line, place, pair, fields, a, errors);
      a.record = record;
      a.lineNumber = input.lineNumber();
      walker = BlockWalker(walkBlocks, a);
      queryOnly = 0;
      inRecord = true;
      continue;
    }
    if (settings.lines) sink.line(line, record, LineRole::RECORD);
    const int64_t distance = signedField(line, place, "an indel distance");
    if (distance != 0) {
      // Negated as unsigned: the lowest distance has no positive twin.
      const uint64_t magnitude = distance > 0 ? static_cast<uint64_t>(distance)
                                              : 0 - static_cast<uint64_t>(distance);
      const uint64_t run = magnitude - 1;
      walker.aligned(run);
      distance > 0 ? walker.xOnly(1) : walker.yOnly(1);
      queryOnly += distance < 0;
      if (walker.overrun()) place.fail("the indels run past the alignment's end");
      continue;
    }
    inRecord = false;
    walker.aligned(walker.xLeft());
    checkWalkEnd(walker, place, "the indel list");
    const uint64_t columns = a.xe - a.xb + 1 + queryOnly;
    if (errors > columns) place.fail("more errors than alignment columns");
    setPercentIdentity(columns - errors, columns, a);
    if (settings.blocks) a.blocks = walkBlocks;
    else a.blocks.clear();
    sink.alignment(a);
  }
  if (inRecord) {
    const Place place{input.name(), input.lineNumber()};
    place.fail("the file ends inside an alignment's indel list");
  }
}

}  // namespace aliconv
